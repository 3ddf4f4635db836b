#pragma once

// Tests of writers that must complete or change nothing: the writer is
// stopped at each of its file operations in turn (the process ends there,
// as on a power cut or a kill), or fails there with a full disk or an I/O
// error, and the files it works on are compared with what they were before
// and what a whole run leaves.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_ops.h"

namespace lum::test {

// Every regular file below a folder by its path relative to it, with its
// bytes; the names in `ignored` (a lock file) and the work area's
// "Rollback" folder are left out.
using TreeFiles = std::map<std::string, std::vector<std::byte>>;
TreeFiles treeFiles(const std::filesystem::path& root, const std::set<std::string>& ignored = {});
// The same of several folders, their paths prefixed by their index.
TreeFiles treesFiles(const std::vector<std::filesystem::path>& roots);

// What a writer is tried with.
struct CutWriter {
  std::function<void()> reset;    // puts the files back as they were before
  std::function<void()> write;    // runs the writer (in a child process for stops)
  std::function<void()> recover;  // what the next opening does after a cut
  std::function<TreeFiles()> files;
};

// A writer over a work area. reset() puts back the area's files as they
// are now (removing any file made since, and the rollback folder); recover()
// is what opening the area does after a cut; files() leaves out the lock.
CutWriter workAreaWriter(FileOps& ops, const std::filesystem::path& area,
                         std::function<void()> write);

// What the cuts found: how many there were, and the operations after which
// the files were neither as before nor as after a whole run.
struct CutOutcome {
  int cuts = 0;
  std::vector<std::uint64_t> torn;
  TreeFiles before;
  TreeFiles after;
};

// Stops the writer at its first, second, ... file operation (in a forked
// child) until a run completes; after each stop runs recover() and
// compares the files.
CutOutcome stopAtEveryOperation(FileOps& ops, const CutWriter& writer);

// Makes the first, second, ... file operation fail (in this process) until
// a run completes; a run that fails (with a FileError) must leave the files
// as before once recover() has run, and one that completes as after.
CutOutcome failAtEveryOperation(FileOps& ops, Failure failure, const CutWriter& writer);

}  // namespace lum::test
