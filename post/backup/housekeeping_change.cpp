#include "post/backup/housekeeping_change.h"

#include <fmt/core.h>

#include <cmath>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/backup/snapshots.h"
#include "post/login/work_area.h"

namespace lum {

std::filesystem::path workAreaOf(const Session& session) {
  return session.paths().resolve(session.login.workArea);
}

namespace {

// Reads the set-up again after a change was put back.
void readSetupAgain(Session& session) {
  try {
    refreshLogin(session);
  } catch (const std::exception& error) {
    session.prompter().message(fmt::format("The set-up could not be read again: {}", error.what()),
                               Icon::Exclamation);
  }
}

}  // namespace

bool housekeepingAllowed(Session& session) {
  const int current = session.currentWindow;
  if (current != kJournalGrid && current != kInvoice && current != kBudget) {
    return true;
  }
  session.prompter().message(
      "Close the journal, invoice or budget window first. Nothing was changed.", Icon::Exclamation);
  return false;
}

bool runHousekeeping(Session& session, const HousekeepingChange& change) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  FileOps& ops = session.ops();
  session.registry().closeAll();
  bool done = false;
  try {
    WorkAreaTransaction transaction(ops, session.rollbackFolder());
    takeSnapshot(ops, workAreaOf(session), change.operation, session.clock().now(), change.scope);
    change.change();
    refreshLogin(session);  // what it opens and makes is part of the change
    transaction.commit();
    done = true;
  } catch (const SnapshotError& error) {
    session.prompter().message(error.what(), Icon::Critical);
  } catch (const std::exception& error) {
    session.prompter().message(
        fmt::format("The files could not be changed: {}. Nothing was changed.", error.what()),
        Icon::Critical);
  }
  if (!done) {
    readSetupAgain(session);
  }
  return done;
}

bool undoHousekeeping(Session& session, const std::string& name) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  FileOps& ops = session.ops();
  std::string what = name;
  for (const SnapshotInfo& snapshot : listSnapshots(ops, workAreaOf(session))) {
    if (snapshot.name == name) {
      what = fmt::format("the {} of {}", snapshot.operation, snapshot.taken);
    }
  }
  if (!session.prompter().confirm(
          fmt::format("The files will be put back as they were before {}. Any change made to them "
                      "since will be lost.  Are you sure?",
                      what),
          Icon::Critical)) {
    return false;
  }
  session.registry().closeAll();
  bool done = false;
  try {
    WorkAreaTransaction transaction(ops, session.rollbackFolder());
    // The snapshot is extracted there first; its files move out of it.
    transaction.leaveOut(WorkAreaTransaction::stagingFolder(session.rollbackFolder()));
    bringBackSnapshot(ops, workAreaOf(session),
                      WorkAreaTransaction::stagingFolder(session.rollbackFolder()), name);
    refreshLogin(session);
    transaction.commit();
    done = true;
  } catch (const SnapshotError& error) {
    session.prompter().message(error.what(), Icon::Critical);
  } catch (const std::exception& error) {
    session.prompter().message(
        fmt::format("The snapshot could not be brought back: {}. Nothing was changed.",
                    error.what()),
        Icon::Critical);
  }
  if (!done) {
    readSetupAgain(session);
  }
  return done;
}

bool undoLastHousekeeping(Session& session) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  const auto snapshots = listSnapshots(session.ops(), workAreaOf(session));
  if (snapshots.empty()) {
    session.prompter().message("There is no housekeeping to undo.");
    return false;
  }
  std::string list = "Housekeeping that can be undone, newest first:\n";
  for (std::size_t i = 0; i < snapshots.size(); ++i) {
    list += fmt::format("{}  {}  {}\n", i + 1, snapshots[i].operation, snapshots[i].taken);
  }
  list += "Enter the number of the one to undo";
  const auto typed = session.prompter().input({list, "Undo Last Housekeeping", "1"});
  if (!typed) {
    return false;
  }
  const double number = std::trunc(leadingNumber(*typed));
  if (number < 1 || number > static_cast<double>(snapshots.size())) {
    session.prompter().message(fmt::format("There is no number {} in the list.", trim(*typed)));
    return false;
  }
  return undoHousekeeping(session, snapshots[static_cast<std::size_t>(number) - 1].name);
}

}  // namespace lum
