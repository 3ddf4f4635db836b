#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "panel/input_panel.h"
#include "platform/clock.h"
#include "platform/dos_path.h"
#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "platform/work_area_lock.h"
#include "post/login/entity_choices.h"
#include "post/login/file_registry.h"
#include "post/login/login_values.h"
#include "post/login/report_requests.h"
#include "post/login/window_host.h"
#include "post/login/window_table.h"

namespace lum {

// What a subsystem does when its window is shown and when it closes.
struct WindowActions {
  std::function<void()> prepare;   // open the window's files, fill it
  std::function<void()> release;   // close the window's files
  std::function<bool()> mayLeave;  // false keeps the window open (unsaved work)
  std::function<bool()> accept;    // the window's OK; false keeps it open
};

// Everything a running LumPost knows: its services, the log-in values, the
// open files, the window stack and the panels of the input windows. There
// is one per program (tests make several), passed by reference.
class Session {
 public:
  Session(FileOps& ops, const DosPath& paths, Prompter& prompter, const Clock& clock,
          Waiter& waiter);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

  FileOps& ops() { return *mOps; }
  const DosPath& paths() const { return *mPaths; }
  Prompter& prompter() { return *mPrompter; }
  const Clock& clock() const { return *mClock; }
  FileRegistry& registry() { return mRegistry; }
  WorkAreaLock& lock() { return mLock; }

  void setHost(WindowHost& host) { mHost = &host; }
  WindowHost& host();

  LoginValues login;
  int currentWindow = kJournalsList;
  std::array<int, kWindowCount> backLinks{};
  ReportRequests reportRequests;
  PanelShared panelShared;
  // What F2 to F5 do; each acts only where its window allows (see functionKey).
  std::array<std::function<void()>, 4> functionKeyActions;
  // What the entity details window shows in its option buttons and check box.
  EntityChoices entityChoices;
  // The entity the configuration list left to show another one's set-up.
  int entityBeforeConfiguration = 0;
  // The first input column of the journal grid: 4, or 6 in posting mode 3.
  int firstAnalysisColumn = 4;

  void setWindowActions(int index, WindowActions actions);
  const WindowActions& windowActions(int index) const;

  // The input panel of a window and the hooks that feed it; the panel is
  // created on first use and kept for the life of the log-in.
  void setPanelHooks(int index, std::unique_ptr<PanelHooks> hooks);
  InputPanel* panel(int index);
  // The selected line of a window's list (0 when it has no panel yet).
  int currentLine(int index) const;

  // The parts of file names, as they stand now.
  FileNaming naming() const;
  // Opens the file of a logical name for the current log-in.
  RecordFile* open(std::string_view logicalName);
  RecordFile& file(std::string_view logicalName) { return mRegistry.file(logicalName); }
  bool workingFromFloppy() const;
  // Where the work area's transactions keep what they may have to put back.
  std::filesystem::path rollbackFolder() const;

 private:
  FileOps* mOps;
  const DosPath* mPaths;
  Prompter* mPrompter;
  const Clock* mClock;
  FileRegistry mRegistry;
  WorkAreaLock mLock;
  WindowHost* mHost = nullptr;
  std::array<WindowActions, kWindowCount> mActions;
  std::array<std::unique_ptr<PanelHooks>, kWindowCount> mHooks;
  std::array<std::unique_ptr<InputPanel>, kWindowCount> mPanels;
  // Panels replaced by a new log-in (a peek) live on with their hooks until
  // the session ends: the windows showing them are deleted only later.
  std::vector<std::pair<std::unique_ptr<PanelHooks>, std::unique_ptr<InputPanel>>> mRetired;
};

}  // namespace lum
