#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/file_ops.h"

namespace lum {

// Copies of what a housekeeping command is about to change, so that it can
// be undone: one zip archive per command in the work area's
// "backup\snapshots" folder, named after the command and the local date and
// time ("close-year-2026-12-07-112033.zip"; "-2", "-3" ... for more in the
// same second). Besides the files it holds "Snapshot.lst": the scope, the
// DOS patterns of the area's files the command may change ("*" every file
// of the area but its lock files), so that undoing it also removes files
// the command made.

inline constexpr std::size_t kSnapshotsKept = 10;
inline constexpr const char* kSnapshotManifest = "Snapshot.lst";

struct SnapshotInfo {
  std::string name;       // the archive's file name
  std::string operation;  // "close-year"
  std::string taken;      // "2026-12-07 11:20:33"
};

// A snapshot that cannot be taken or brought back; the text says why and
// that nothing was changed.
class SnapshotError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::filesystem::path snapshotFolder(const std::filesystem::path& area);

// The files of the area (not folders, not the lock files) that the scope's
// patterns match, sorted.
std::vector<std::filesystem::path> filesInScope(FileOps& ops, const std::filesystem::path& area,
                                                const std::vector<std::string>& scope);

// Stores the files of the scope as a new snapshot and deletes all but the
// newest kSnapshotsKept; returns its name. Throws SnapshotError when it
// cannot be written (a full disk), having written nothing that stays.
std::string takeSnapshot(FileOps& ops, const std::filesystem::path& area,
                         std::string_view operation, const DateTime& when,
                         const std::vector<std::string>& scope);

// The snapshots of the area, newest first.
std::vector<SnapshotInfo> listSnapshots(FileOps& ops, const std::filesystem::path& area);

// Puts the files of the snapshot back: the area's files in its scope that
// it does not hold are deleted, the others get their bytes back. The whole
// archive is tested and extracted into the staging folder first; a snapshot
// that is missing or damaged throws SnapshotError with nothing changed.
// The caller runs it under a work-area transaction.
void bringBackSnapshot(FileOps& ops, const std::filesystem::path& area,
                       const std::filesystem::path& stagingFolder, std::string_view name);

}  // namespace lum
