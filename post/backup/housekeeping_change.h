#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "post/login/session.h"

namespace lum {

// What every destructive housekeeping command does around its change:
// closes the entity's files, stores the files of the scope as a snapshot
// (see snapshots.h), then makes the change; the snapshot and the change are
// one work-area transaction, so a failure or a kill anywhere leaves the
// area as before (without the snapshot) or as after. When the snapshot
// cannot be written nothing is changed. Failures are told through the
// prompter. Afterwards the set-up is read again. True when the change was
// made.
struct HousekeepingChange {
  std::string operation;           // the snapshot's name: "close-year"
  std::vector<std::string> scope;  // the area's files the change may touch (see snapshots.h)
  std::function<void()> change;
};

bool runHousekeeping(Session& session, const HousekeepingChange& change);

// False, after telling the user, while a window that holds the entity's
// files in memory is current (the journal grid, an invoice, the budget):
// leaving it would write back what a housekeeping change deleted.
bool housekeepingAllowed(Session& session);

// The hard-disk work area of the session.
std::filesystem::path workAreaOf(const Session& session);

// Brings back a snapshot of the work area after asking; true when done.
bool undoHousekeeping(Session& session, const std::string& name);

// "Undo Last Housekeeping": lists the snapshots newest first, asks for the
// one to bring back (the newest unless another is typed), then brings it
// back as undoHousekeeping does.
bool undoLastHousekeeping(Session& session);

}  // namespace lum
