#include "post/login/command_line.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>

#include "platform/text.h"

namespace lum {
namespace {

constexpr const char* kLocalHelpFile = "c:\\orvlocal\\OrvCashBooks.chm";
constexpr const char* kHelpFile = "OrvCashBooks.chm";

// The numeric value of a field, kept within the range of a 16-bit integer
// so that nonsense cannot overflow.
int fieldValue(std::string_view text) {
  const double value = leadingNumber(text);
  return static_cast<int>(std::clamp(std::trunc(value), -32768.0, 32767.0));
}

}  // namespace

CommandLine parseCommandLine(std::string_view line) {
  CommandLine result;
  if (line.empty()) {
    result.helpFile = kHelpFile;
    return result;
  }
  result.operatorNumber = fieldValue(line);
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) {
    return result;
  }
  result.readsOperatorFile = true;
  result.helpFile = kLocalHelpFile;
  std::string_view rest = line.substr(blank + 1);
  if (blank = rest.find(' '); blank != std::string_view::npos) {
    rest = rest.substr(blank + 1);  // the skipped field
  }
  if (blank = rest.find(' '); blank != std::string_view::npos) {
    result.ledgersNumber = fieldValue(rest.substr(0, blank));
    result.groupNumber = fieldValue(rest.substr(blank + 1));
    result.systemDirectory = fmt::format("..\\System\\Ent-{}", result.groupNumber);
  }
  return result;
}

std::optional<std::string> commandLineProblem(const CommandLine& commandLine,
                                              std::string_view line) {
  if (commandLine.operatorNumber < 1 || commandLine.operatorNumber > kMaxOperatorNumber) {
    return fmt::format(
        "The command line \"{}\" names no operator: the operator number must be 1 to {}.", line,
        kMaxOperatorNumber);
  }
  if (commandLine.groupNumber < 0 || commandLine.groupNumber > kMaxGroupNumber) {
    return fmt::format("The command line \"{}\" names no group: the group number must be 0 to {}.",
                       line, kMaxGroupNumber);
  }
  return std::nullopt;
}

}  // namespace lum
