#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "panel/input_panel.h"
#include "utils/storage.h"
#include "utils/utils_session.h"

namespace lum {

// A command button of the main window.
struct UtilsCommand {
  const char* name;     // the button's object name, "Command4"
  const char* caption;  // "&Store Away"
  bool restricted;      // disabled for operators of class "Y" and "A"
};

// Every button of the main window, in the order they are laid out.
std::span<const UtilsCommand> utilsCommands();
bool commandEnabled(const UtilsSession& session, const UtilsCommand& command);

// The caption of a window code, and the label of the folder windows.
std::string windowCaption(UtilsWindow window);
std::string folderLabel(UtilsWindow window);
// The size of a window code, in twips.
std::pair<int, int> windowSizeTwips(UtilsWindow window);

// What the dispatcher asks of the program's windows.
class UtilsWindowHost {
 public:
  virtual ~UtilsWindowHost() = default;
  // Shows the window of the code (prepared and at its saved place, in
  // twips; nothing: where the system puts it).
  virtual void showWindow(UtilsWindow window, std::optional<std::pair<float, float>> position) = 0;
  // Hides the window; returns where it stood, in twips.
  virtual std::pair<float, float> hideWindow(UtilsWindow window) = 0;
  // Ends the program.
  virtual void endProgram() = 0;
};

// Opens and closes the data manager's windows along their back links and
// keeps their places in ScrLoc.Dat.
class UtilsDispatch {
 public:
  UtilsDispatch(UtilsSession& session, UtilsWindowHost& host) : mSession(&session), mHost(&host) {}

  // Opens the window from the current one. The mail window opens only from
  // a window whose code is below its own; false when nothing opened.
  bool open(UtilsWindow window);
  // Closes the window, saving its place, and shows the one it came from;
  // closing the main window ends the program.
  void close(UtilsWindow window);
  // The main window at start-up.
  void showMain();

 private:
  UtilsSession* mSession;
  UtilsWindowHost* mHost;
};

// The main window's "Stored Entities List": the records of EnList.Dat in
// an input panel of ten rows; the list is read, never typed into.
class StoredList final : public PanelHooks {
 public:
  static constexpr int kVisibleRows = 10;

  explicit StoredList(Storage& storage) : mStorage(&storage) {}

  static PanelSpec shape() { return PanelSpec{0, 1, kVisibleRows, true, 600, false}; }

  // Rereads the list (after every command that changes it).
  void reload() { mTexts = mStorage->entries(); }

  int lineCount() const override { return static_cast<int>(mTexts.size()); }
  std::vector<std::string> fillListLine(int record) override;
  void fillDetail(std::vector<std::string>&) override {}
  std::string detailLabel(int) const override { return {}; }
  void storeListLine(int, const std::vector<std::string>&) override {}
  void addListLine(const std::vector<std::string>&) override {}
  bool checkLine(int) override { return true; }
  void closeWindow() override {}
  void functionKey(PanelKey) override {}

 private:
  Storage* mStorage;
  std::vector<std::string> mTexts;
};

}  // namespace lum
