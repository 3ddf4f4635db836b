#include "utils/work_area_change.h"

#include <fmt/core.h>

#include "platform/errors.h"
#include "platform/text.h"
#include "utils/zip_archive.h"

namespace lum {
namespace {

constexpr const char* kRollback = "Rollback";
// What a write beside its final name leaves when it is cut short: the
// archives of the store folders, the files of an older bring-back.
constexpr const char* kTemporary = "~*.part";

}  // namespace

WorkAreaChange::WorkAreaChange(UtilsSession& session, bool tellWhenInUse)
    : mSession(&session), mArea(session.resolve(session.folders().workArea)) {
  bool acquired = false;
  try {
    acquired = session.lock().acquire(mArea);
  } catch (const FileError& error) {
    // The probe could not be written: the area is not taken, nothing changed.
    if (tellWhenInUse) {
      session.prompter().message(
          fmt::format("The work area cannot be taken ({}). Nothing was changed.", error.what()),
          Icon::Critical);
    }
    return;
  }
  if (!acquired) {
    if (tellWhenInUse) {
      session.prompter().message(kInUse, Icon::Exclamation);
    }
    return;
  }
  try {
    tidy();
  } catch (const FileError& error) {
    session.lock().release();
    if (tellWhenInUse) {
      session.prompter().message(
          fmt::format("The work area cannot be taken ({}). Nothing was changed.", error.what()),
          Icon::Critical);
    }
    return;
  }
  mTaken = true;
}

WorkAreaChange::~WorkAreaChange() {
  if (!mTaken) {
    return;
  }
  abandon();
  mSession->lock().release();
}

void WorkAreaChange::tidy() {
  FileOps& ops = mSession->ops();
  if (WorkAreaTransaction::recover(ops, mArea / kRollback)) {
    mSession->prompter().message(kPutBack, Icon::Exclamation);
  }
  removeStaging();
  const auto& folders = mSession->folders();
  for (const std::string& folder :
       {folders.workArea + "\\", folders.currentYearFolder, folders.previousYearFolder}) {
    const auto path = mSession->resolve(folder);
    if (ops.isDirectory(path)) {
      for (const auto& file : matchingFiles(ops, path, kTemporary)) {
        ops.remove(file);
      }
    }
  }
}

void WorkAreaChange::removeStaging() {
  WorkAreaTransaction::removeStaging(mSession->ops(), mArea / kRollback);
}

void WorkAreaChange::begin() {
  mTransaction = std::make_unique<WorkAreaTransaction>(mSession->ops(), mArea / kRollback);
  mTransaction->leaveOut(WorkAreaTransaction::stagingFolder(mArea / kRollback));
}

void WorkAreaChange::commit() {
  mTransaction->commit();
  mTransaction.reset();
  try {
    removeStaging();
  } catch (const FileError&) {
    // Removed when the work area is next changed.
  }
}

bool WorkAreaChange::abandon() {
  mTransaction.reset();  // puts the files back, or leaves its marker
  try {
    // Once more for a marker left by a transaction that failed to start or
    // to put everything back: the lock is still held.
    WorkAreaTransaction::recover(mSession->ops(), mArea / kRollback);
    removeStaging();
  } catch (const FileError&) {
    // The marker stays for the next opening of the work area.
  }
  return !WorkAreaTransaction::pending(mSession->ops(), mArea / kRollback);
}

std::filesystem::path WorkAreaChange::freshStagingFolder() {
  removeStaging();
  const auto staging = WorkAreaTransaction::stagingFolder(mArea / kRollback);
  mSession->ops().makeDirectory(staging);
  return staging;
}

void WorkAreaChange::recoverAtStart(UtilsSession& session) {
  // A program that holds the area puts back its own changes.
  if (session.ops().isDirectory(session.resolve(session.folders().workArea))) {
    const WorkAreaChange change(session, false);
  }
}

}  // namespace lum
