#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lum {

// The launcher's command line: operator, a field that is skipped, ledgers
// number and group, separated by single blanks.
struct CommandLine {
  int operatorNumber = 1;
  int ledgersNumber = 0;
  int groupNumber = 0;
  // Set when the line names a group: "..\System\Ent-" + group.
  std::string systemDirectory;
  // True when the line has more than the operator number: the operator's
  // class is then read from the suite's operator file.
  bool readsOperatorFile = false;
  std::string helpFile;
};

// The highest operator and group numbers: file names carry them as four digits.
inline constexpr int kMaxOperatorNumber = 9999;
inline constexpr int kMaxGroupNumber = 9999;

CommandLine parseCommandLine(std::string_view line);

// Why the numbers of a command line cannot be used, or nothing when they can.
std::optional<std::string> commandLineProblem(const CommandLine& commandLine,
                                              std::string_view line);

}  // namespace lum
