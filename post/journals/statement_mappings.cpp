#include "post/journals/statement_mappings.h"

#include <fmt/core.h>

#include <array>

#include "platform/text.h"

namespace lum {
namespace {

constexpr std::string_view kHeading =
    "# name | date | description | amount | debit | credit | balance\n";

// The name of a mapping's line; nothing for a comment or another line.
std::optional<std::string_view> mappingName(std::string_view line) {
  line = trim(line);
  if (line.empty() || line.front() == '#') {
    return std::nullopt;
  }
  const std::vector<std::string_view> fields = splitTrimmed(line, '|');
  return fields.size() == 7 ? std::optional(fields.front()) : std::nullopt;
}

}  // namespace

std::optional<StatementMapping> findMapping(std::string_view text, std::string_view name) {
  for (const std::string_view line : splitTrimmed(text, '\n')) {
    const auto found = mappingName(line);
    if (!found || !equalsIgnoreCase(*found, trim(name))) {
      continue;
    }
    const std::vector<std::string_view> fields = splitTrimmed(line, '|');
    std::array<int, 6> columns{};
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const double value = leadingNumber(fields[i + 1]);
      if (value < 0 || value > 1000) {
        return std::nullopt;
      }
      columns[i] = static_cast<int>(value);
    }
    return StatementMapping{columns[0], columns[1], columns[2], columns[3], columns[4], columns[5]};
  }
  return std::nullopt;
}

std::vector<std::string> mappingNames(std::string_view text) {
  std::vector<std::string> names;
  for (const std::string_view line : splitTrimmed(text, '\n')) {
    if (const auto name = mappingName(line)) {
      names.emplace_back(*name);
    }
  }
  return names;
}

std::string withMapping(std::string_view text, std::string_view name,
                        const StatementMapping& mapping) {
  std::string line(trim(name));
  for (const int number : {mapping.date, mapping.description, mapping.amount, mapping.debit,
                           mapping.credit, mapping.balance}) {
    line += number > 0 ? fmt::format(" | {}", number) : " |";
  }
  std::string out;
  bool set = false;
  for (const std::string_view old : splitTrimmed(text, '\n')) {
    const auto found = mappingName(old);
    if (found && equalsIgnoreCase(*found, trim(name))) {
      if (!set) {
        out += line + "\n";
      }
      set = true;
    } else if (!old.empty()) {
      out += std::string(old) + "\n";
    }
  }
  if (out.empty()) {
    out = kHeading;
  }
  if (!set) {
    out += line + "\n";
  }
  return out;
}

std::string mappingProblem(const StatementMapping& mapping) {
  if (mapping.date == 0) {
    return "The statement's date column is needed.";
  }
  if (mapping.amount == 0 && mapping.debit == 0 && mapping.credit == 0) {
    return "An amount column, or debit and credit columns, are needed.";
  }
  return "";
}

std::string mappingNameProblem(std::string_view name) {
  if (trim(name).empty()) {
    return "A bank account's name is needed.";
  }
  if (name.find('|') != std::string_view::npos || name.find('\n') != std::string_view::npos) {
    return "A bank account's name cannot hold \"|\".";
  }
  return "";
}

}  // namespace lum
