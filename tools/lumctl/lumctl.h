#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lum {

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
};

// Runs lumctl with the arguments after the program name.
int runLumctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace lum
