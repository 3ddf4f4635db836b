#pragma once

#include <filesystem>
#include <string>

#include "platform/dos_path.h"
#include "platform/file_ops.h"

namespace lum {

// A work area that does not exist yet is built whole in a folder of its own,
// "Rollback\~Ent-G-Op-N" of the program directory, and renamed into place
// in one step: a cut leaves no work area or a whole one, never an area
// folder without its lum.ini or with its first entity half made.
//
// What is renamed is the topmost folder that was missing: the area folder,
// or the group folder with the area in it when the group has none yet.
struct NewWorkArea {
  std::filesystem::path staging;  // the builder's own folder
  std::filesystem::path built;    // in it, the folder that is renamed into place
  std::filesystem::path target;   // where that folder goes
  std::string areaName;           // the area's DOS name while it is built
};

// Where the area of the group and operator is built (nothing is made yet).
NewWorkArea planNewWorkArea(FileOps& ops, const DosPath& paths, int group, int operatorNumber);

// Makes the area's folders in the staging folder, with the program's lum.ini
// copied in; whatever a builder before left there goes first.
void buildNewWorkArea(FileOps& ops, const DosPath& paths, const NewWorkArea& area);

// Says that the change made in the area is whole: from here on a cut
// leaves the area to be placed, not removed. Called just before the
// change's transaction commits.
void markNewWorkAreaComplete(FileOps& ops, const NewWorkArea& area);

// Renames the built folder into place and removes the staging folder.
// Throws FileError when the target exists by now (another copy made the
// area first).
void placeNewWorkArea(FileOps& ops, const NewWorkArea& area);

// Settles an area whose building was cut short (a kill, a power cut): one
// marked complete is placed; any other is removed, after what its change
// reached outside it has been put back. A build under way in another copy
// (it holds the area's lock) is left alone.
void settleNewWorkArea(FileOps& ops, const DosPath& paths, int group, int operatorNumber);

}  // namespace lum
