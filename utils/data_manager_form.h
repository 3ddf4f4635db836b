#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace lum {

class HelpWindow;
class InputPanel;
class InputPanelWidget;
class Storage;
class StoredList;
class UtilsDispatch;
class UtilsSession;
struct PanelShared;

// The data manager's main window (window code 0): the stored entities list
// in an input panel with "VScroll1", the search box "Text1", the drive
// lists and the command buttons, which call into Storage and the dispatcher.
class DataManagerForm final : public QWidget {
  Q_OBJECT

 public:
  DataManagerForm(UtilsSession& session, Storage& storage, UtilsDispatch& dispatch,
                  QWidget* parent = nullptr);
  ~DataManagerForm() override;

  // Prepares the window as the dispatcher shows it: enabled buttons, the
  // store folder label, the list on the current entity's slot.
  void prepare();
  // The slot of the list row the user is on (0 when the list is empty).
  int selectedSlot() const;
  // Rereads the list and shows it from the given slot.
  void redrawList(int topSlot = 0);
  // The manual at the section of the window on top (Help, and F1 in any window).
  void help();
  // Says in the status bar what a command has done.
  void showStatus(const std::string& text);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QPushButton* addButton(const char* name, const char* caption, std::function<void()> action);
  // Runs a storage command with the hourglass, then redraws the list.
  void busy(const std::function<void()>& action);
  void search();

  UtilsSession& mSession;
  Storage& mStorage;
  UtilsDispatch& mDispatch;
  std::unique_ptr<StoredList> mList;
  std::unique_ptr<PanelShared> mShared;
  std::unique_ptr<InputPanel> mPanel;
  InputPanelWidget* mPanelWidget;
  QLabel* mFolderLabel;
  QLineEdit* mSearchText;
  QComboBox* mDrive1;
  QComboBox* mDrive2;
  QStatusBar* mStatus;
  bool mClosing = false;
  // A window of its own: it stays usable while this one waits for another.
  std::unique_ptr<HelpWindow> mHelp;
};

}  // namespace lum
