#include "post/backup/data_copies.h"

#include <fmt/core.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/backup/housekeeping_change.h"
#include "post/backup/working_data.h"
#include "post/login/work_area.h"

namespace lum {

namespace fs = std::filesystem;

namespace {

constexpr const char* kInsertBlank = "Insert a blank disk into drive A:";
constexpr const char* kNotBlank = "Disk is not blank, do you wish to clear it?";
constexpr const char* kInsertData = "Insert data disk into drive A:";

// The files of a folder whose names match any of the patterns, sorted.
std::vector<fs::path> filesMatching(FileOps& ops, const fs::path& folder,
                                    const std::vector<std::string>& patterns) {
  std::vector<fs::path> files;
  if (!ops.isDirectory(folder)) {
    return files;
  }
  for (const std::string& name : ops.list(folder)) {
    if (ops.isDirectory(folder / name)) {
      continue;
    }
    for (const std::string& pattern : patterns) {
      if (wildcardMatch(pattern, name)) {
        files.push_back(folder / name);
        break;
      }
    }
  }
  return files;
}

// False, after telling the user, when drive A:'s folder is a file.
bool floppyFolderUsable(Session& session) {
  const fs::path floppy = session.paths().floppyDirectory();
  if (session.ops().exists(floppy) && !session.ops().isDirectory(floppy)) {
    session.prompter().message(
        fmt::format("Drive A: is the folder {}, but that is a file. Nothing was copied.",
                    floppy.string()),
        Icon::Critical);
    return false;
  }
  return true;
}

// The open entity's files that go onto a disk: each journal's analysis and
// period files, then the entity's own files.
std::vector<fs::path> entityFiles(Session& session, const fs::path& area) {
  const std::string code = fmt::format("{:04}", session.login.entityNumber);
  std::vector<fs::path> files;
  for (const std::string& name : session.ops().list(area)) {
    const bool journalFile = (isJournalPeriodFile(name) && name.substr(4, 4) == code) ||
                             wildcardMatch("An??" + code + ".dat", name) ||
                             wildcardMatch("Ax??" + code + ".dat", name);
    if (journalFile && !session.ops().isDirectory(area / name)) {
      files.push_back(area / name);
    }
  }
  std::vector<std::string> own = {"Entcoun.dat", "Ent.dat"};
  for (const char* prefix : {"Bdg-", "Ini-", "Lcn-", "Jnl-", "Inv-", "InD-", "Cus-", "Prd-"}) {
    own.push_back(prefix + code + ".dat");
  }
  for (const fs::path& file : filesMatching(session.ops(), area, own)) {
    files.push_back(file);
  }
  return files;
}

void copyInto(FileOps& ops, const std::vector<fs::path>& files, const fs::path& folder) {
  for (const fs::path& file : files) {
    ops.copy(file, folder / file.filename());
  }
}

void tellFailure(Session& session, const std::exception& error) {
  session.prompter().message(
      fmt::format("The files could not be copied: {}. Nothing was changed.", error.what()),
      Icon::Critical);
}

// Copies the files matching the patterns from a folder into the work area,
// after asking, as one undoable change.
bool copyIntoWorkArea(Session& session, const char* operation, const std::string& question,
                      const fs::path& from) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  if (!session.prompter().confirm(question)) {
    return false;
  }
  const auto files = filesMatching(session.ops(), from, {"*.dat"});
  if (files.empty()) {
    session.prompter().message(
        fmt::format("There is no data to copy in {}. Nothing was changed.", from.string()),
        Icon::Exclamation);
    return false;
  }
  const fs::path area = workAreaOf(session);
  return runHousekeeping(session,
                         {operation, {"*"}, [&] { copyInto(session.ops(), files, area); }});
}

}  // namespace

bool backUpToFloppy(Session& session) {
  FileOps& ops = session.ops();
  Prompter& prompter = session.prompter();
  const fs::path floppy = session.paths().floppyDirectory();
  bool clearDisk = false;
  for (;;) {
    if (prompter.ask({kInsertBlank, Buttons::OkCancel, Icon::None, {}, {}}) != Answer::Ok ||
        !floppyFolderUsable(session)) {
      return false;
    }
    if (filesMatching(ops, floppy, {"*.*"}).empty()) {
      break;
    }
    const Answer answer = prompter.ask({kNotBlank, Buttons::YesNoCancel, Icon::Question, {}, {}});
    if (answer == Answer::Yes) {
      clearDisk = true;
      break;
    }
    if (answer != Answer::No) {
      return false;
    }
  }

  session.registry().closeAll();
  try {
    WorkAreaTransaction transaction(ops, session.rollbackFolder());
    if (clearDisk) {
      for (const fs::path& file : filesMatching(ops, floppy, {"*.*"})) {
        ops.remove(file);
      }
    }
    ops.makeDirectories(floppy);
    copyInto(ops, entityFiles(session, workAreaOf(session)), floppy);
    refreshLogin(session);
    transaction.commit();
  } catch (const std::exception& error) {
    tellFailure(session, error);
    refreshLogin(session);
    return false;
  }
  return true;
}

bool restoreFromFloppy(Session& session) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  FileOps& ops = session.ops();
  Prompter& prompter = session.prompter();
  if (!prompter.confirm(
          "The existing data on your computer will be replaced by the data in the floppy disk.  "
          "The existing data can no longer be recovered.  Are you sure?")) {
    return false;
  }
  if (prompter.ask({kInsertData, Buttons::OkCancel, Icon::None, {}, {}}) != Answer::Ok ||
      !floppyFolderUsable(session)) {
    return false;
  }
  const fs::path floppy = session.paths().floppyDirectory();
  if (filesMatching(ops, floppy, {"*.*"}).empty()) {
    prompter.message("The inserted disk is blank");
    return false;
  }
  if (filesMatching(ops, floppy, {"An*.dat"}).empty()) {
    prompter.message("Inserted disk does not contain valid data");
    return false;
  }
  const bool keep = prompter.yes("Do you want to keep the existing data in the working area?");
  const auto incoming = filesMatching(ops, floppy, {"*.dat", "*.ini"});
  const fs::path area = workAreaOf(session);
  return runHousekeeping(session, {"restore-floppy", {"*"}, [&] {
                                     const fs::path backup = area / "backup";
                                     ops.makeDirectories(backup);
                                     copyInto(ops, filesMatching(ops, area, {"*.dat"}), backup);
                                     if (!keep) {
                                       clearWorkingData(ops, area);
                                     }
                                     copyInto(ops, incoming, area);
                                   }});
}

bool restoreFromBackupFolder(Session& session) {
  return copyIntoWorkArea(session, "restore-backup",
                          "The existing data will be replaced by previously backed up data which "
                          "may be out of date.  Are you sure you want to continue",
                          workAreaOf(session) / "backup");
}

bool takeOverOlderData(Session& session) {
  return copyIntoWorkArea(session, "take-over",
                          "The existing data will be replaced by last data existed in V3.  Are you "
                          "sure you want to continue",
                          session.paths().programDirectory());
}

}  // namespace lum
