#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>

#include "platform/file_ops.h"
#include "tools/lumctl/work_area_snapshot.h"

namespace lum {

// One reading of a command that only reads.
struct Reading {
  FileOps& ops;
  WorkAreaSnapshot& files;
  std::filesystem::path scratch;  // an empty private folder, for what the command makes
  std::ostream& err;              // the messages of this reading
  std::string output;             // the command's answer
  // The answer is given even though the status is not success: it holds
  // what could be done (lumctl report --keep-going).
  bool keepOutput = false;
};

// Runs a command that only reads the files of a work area, without its
// lock: each reading goes through a snapshot of the area, and a reading
// during which something it read changed is thrown away and done again, a
// few times at most, so the answer never mixes the states before and after
// a save. Only the settled reading's messages are told and its output
// given: to the standard output when outName is empty or "-", else (when
// it succeeded, or the reading keeps its output) to that file. Returns the command's exit status.
int readSettled(FileOps& ops, const std::filesystem::path& area, const std::string& outName,
                std::ostream& out, std::ostream& err, const std::function<int(Reading&)>& attempt);

// Writes bytes to the standard output for "-", else to the named file.
void deliver(FileOps& ops, const std::string& outName, const std::string& bytes, std::ostream& out);

}  // namespace lum
