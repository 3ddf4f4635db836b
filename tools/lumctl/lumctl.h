#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lum {

class WorkAreaLock;

// Exit statuses of lumctl.
enum ExitStatus : int {
  kExitSuccess = 0,
  kExitRefused = 1,  // the data refuses the operation
  kExitUsage = 2,    // the command line is wrong
};

// The options that come before the command.
struct GlobalOptions {
  std::filesystem::path root = ".";  // the program directory
  int operatorNumber = 1;
  int groupNumber = 0;
  std::optional<int> entityNumber;  // default: the work area's current entity
  // Set by batch: the lock its lines borrow, taken by the first that changes
  // the area and kept for the rest.
  WorkAreaLock* batchLock = nullptr;
};

// Runs lumctl with the arguments after the program name; in is what
// "batch -" reads.
int runLumctl(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err);
int runLumctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lum
