#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/dos_path.h"
#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "platform/record_file.h"
#include "platform/work_area_lock.h"

namespace lum {

// The command line the main program starts the data manager with: the
// operator, a field that is skipped, the ledgers number and the group.
struct UtilsCommandLine {
  int operatorNumber = 1;
  int ledgersNumber = 0;
  int groupNumber = 0;
};

// An empty line is operator 1 of group 0. Nothing when a number is out of
// range (operators 1 to 9999, groups 0 to 9999).
std::optional<UtilsCommandLine> parseUtilsCommandLine(std::string_view line);

// The operator's class, one letter in the suite: "O", "Y", "A" or none.
enum class OperatorClass {
  Full,            // none: every command
  GroupZero,       // "O": started for group 0; every command
  Restricted,      // "Y": access level 99 in Oper.dat
  ExtendedRights,  // "A": restricted, with the extended rights of its profile
};

// The records of ZipPath.Cfg: the folders the user has set.
enum class SavedFolder { CurrentYear = 1, Email = 2, PreviousYear = 3 };

// The window codes of the data manager's dispatcher.
enum class UtilsWindow : int {
  Main = 0,
  Store = 1,
  Restore = 2,
  StoreFolder = 3,
  EmailFolder = 4,
  PreviousFolder = 5,
  Mail = 6,
};
inline constexpr int kUtilsWindowCount = 7;

// The folders of the data manager, as Windows-style names that end with
// "\" (the work area and the system directory without).
struct UtilsFolders {
  std::string workArea;            // ".\Ent-G\Op-O"
  std::string systemDirectory;     // "..\System\Ent-G"
  std::string currentYearFolder;   // the saved one, else ".\Ent-G\zip\"
  std::string previousYearFolder;  // the saved one, else ".\Ent-G\zip\pyear\"
  std::string emailFolder;         // the saved one, else ".\Ent-G\Email\"
  std::string storeFolder;         // the one of the two storage folders in use
};

// What a running data manager knows, passed by reference (no globals).
class UtilsSession {
 public:
  UtilsSession(FileOps& ops, const DosPath& paths, Prompter& prompter, const Clock& clock,
               Waiter& waiter, UtilsCommandLine commandLine);

  // Creates the group's storage and e-mail folders when missing, finds the
  // help file, works out the operator's class and reads the saved folders.
  // Throws FileError when the suite's operator file cannot be read.
  void start();

  FileOps& ops() { return *mOps; }
  const DosPath& paths() const { return *mPaths; }
  Prompter& prompter() { return *mPrompter; }
  const Clock& clock() const { return *mClock; }
  const UtilsCommandLine& commandLine() const { return mCommandLine; }
  // The work area's lock, the one LumPost holds: taken by each command that
  // changes the work area, for that command only.
  WorkAreaLock& lock() { return mLock; }

  OperatorClass operatorClass() const { return mOperatorClass; }
  bool isRestricted() const {
    return mOperatorClass == OperatorClass::Restricted ||
           mOperatorClass == OperatorClass::ExtendedRights;
  }
  const std::string& helpFile() const { return mHelpFile; }
  UtilsFolders& folders() { return mFolders; }
  const UtilsFolders& folders() const { return mFolders; }
  bool usingPreviousYear() const { return mPreviousYear; }
  void setUsingPreviousYear(bool previous) { mPreviousYear = previous; }

  // The defaults of the three folders.
  std::string defaultCurrentYearFolder() const;
  std::string defaultPreviousYearFolder() const;
  std::string defaultEmailFolder() const;
  // ".\Ent-G" and ".\work\".
  std::string groupFolder() const;
  std::string scratchFolder() const { return ".\\work\\"; }

  // The native path of a Windows-style name.
  std::filesystem::path resolve(std::string_view dosName) const { return mPaths->resolve(dosName); }
  // The native path of a logical file name; nothing (after telling the
  // user "The file NAME cannot be found") for a name the program does not have.
  std::optional<std::filesystem::path> filePath(std::string_view logicalName);
  // Opens the record file of a logical name (created when missing, unless read only).
  std::optional<RecordFile> open(std::string_view logicalName,
                                 RecordFile::Access access = RecordFile::Access::ReadWrite);
  // Writes the folder's record of ZipPath.Cfg.
  void saveFolder(SavedFolder which, const std::string& folder);

  // The mail window opens to send ("Emai&l to Accountant") or to keep the settings ("Set &Email").
  bool mailSending() const { return mMailSending; }
  void setMailSending(bool sending) { mMailSending = sending; }

  // The dispatcher: the current window code and each window's opener.
  UtilsWindow currentWindow() const { return mCurrent; }
  void setCurrentWindow(UtilsWindow window) { mCurrent = window; }
  UtilsWindow openerOf(UtilsWindow window) const { return mOpener[index(window)]; }
  void setOpener(UtilsWindow window, UtilsWindow opener) { mOpener[index(window)] = opener; }
  // ScrLoc.Dat record code + 1, in twips; nothing when never saved.
  std::optional<std::pair<float, float>> savedPosition(UtilsWindow window);
  void savePosition(UtilsWindow window, float left, float top);

 private:
  static std::size_t index(UtilsWindow window) { return static_cast<std::size_t>(window); }
  void readOperatorClass();
  void readSavedFolders();

  FileOps* mOps;
  const DosPath* mPaths;
  Prompter* mPrompter;
  const Clock* mClock;
  UtilsCommandLine mCommandLine;
  WorkAreaLock mLock;
  OperatorClass mOperatorClass = OperatorClass::Full;
  std::string mHelpFile;
  UtilsFolders mFolders;
  bool mPreviousYear = false;
  bool mMailSending = false;
  UtilsWindow mCurrent = UtilsWindow::Main;
  std::array<UtilsWindow, kUtilsWindowCount> mOpener{};
};

}  // namespace lum
