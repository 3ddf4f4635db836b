#pragma once

#include "post/login/session.h"

namespace lum {

// The copies of the open entity's data to and from drive A: (the floppy
// folder) and the work area's backup folder. Every question answered No
// or Cancel stops before any file changes; the restores take a snapshot
// to undo them with and change the work area as one transaction; the set-up
// is read again after each. True when files were copied.

// "Export": the entity's journal, budget, set-up, counters, journal list
// and invoicing files and the entity list, onto a blank disk (a disk that
// is not blank may be cleared or swapped).
bool backUpToFloppy(Session& session);

// "Import": the "*.dat" and "*.ini" files of a disk holding analysis
// files, into the work area, after copying the area's "*.dat" files into
// the backup folder; the working data is cleared first unless kept.
bool restoreFromFloppy(Session& session);

// The "*.dat" files of the backup folder, into the work area.
bool restoreFromBackupFolder(Session& session);

// The "*.dat" files of the older version kept in the program directory,
// into the work area.
bool takeOverOlderData(Session& session);

}  // namespace lum
