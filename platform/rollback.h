#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// Makes a change to several files all-or-nothing across crashes. Before the
// first write, begin() copies the files into a rollback folder and flushes
// the copies, then writes a marker; commit() flushes every changed file and
// only then removes the marker. A marker found later (recover(), when the
// work area is opened again) means the change was cut short: the files are
// put back as they were.
class Rollback {
 public:
  Rollback(FileOps& ops, std::filesystem::path folder);

  // Keeps copies of these files (noting the ones that do not exist yet).
  void begin(const std::vector<std::filesystem::path>& files);
  // Every change is on disk: the copies are no longer needed.
  void commit();

  // Undoes an interrupted change; returns true when there was one.
  static bool recover(FileOps& ops, const std::filesystem::path& folder);

  // A file of a change that is under way (or was cut short) and the copy
  // that holds it as it was before; no copy for a file that did not exist.
  struct Kept {
    std::filesystem::path file;
    std::optional<std::filesystem::path> copy;
  };
  // The files the folder's marker names, in its order; nothing when there
  // is no marker. Throws FormatError for a damaged marker.
  static std::optional<std::vector<Kept>> pending(FileOps& ops,
                                                  const std::filesystem::path& folder);

 private:
  FileOps* mOps;
  std::filesystem::path mFolder;
  std::vector<std::filesystem::path> mFiles;
};

}  // namespace lum
