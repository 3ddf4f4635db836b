#include "utils/previous_year_copy.h"

#include <fmt/core.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/record_file.h"
#include "platform/suite_records.h"
#include "platform/text.h"

namespace lum {
namespace {

constexpr const char* kList = "ENLIST.DAT";
constexpr const char* kCount = "UTCOUNT.DAT";

// The files of a folder by their names in upper case, as Windows finds them.
std::map<std::string, std::string> filesByUpperName(FileOps& ops,
                                                    const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& name : ops.list(folder)) {
    if (!ops.isDirectory(folder / name)) {
      files.emplace(toUpper(name), name);
    }
  }
  return files;
}

// "LUM-" + slot number + ".Zip", whatever the case.
bool isSlotArchive(std::string_view upperName) {
  constexpr std::string_view prefix = "LUM-";
  constexpr std::string_view suffix = ".ZIP";
  if (upperName.size() <= prefix.size() + suffix.size() || !upperName.starts_with(prefix) ||
      !upperName.ends_with(suffix)) {
    return false;
  }
  const auto digits =
      upperName.substr(prefix.size(), upperName.size() - prefix.size() - suffix.size());
  return std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

void copyCurrentYearToPrevious(FileOps& ops, const std::filesystem::path& current,
                               const std::filesystem::path& previous) {
  const auto currentFiles = filesByUpperName(ops, current);
  const auto previousFiles = filesByUpperName(ops, previous);
  // A file already in the previous year keeps its own name's case.
  const auto targetName = [&](const std::string& upper, const std::string& name) {
    const auto old = previousFiles.find(upper);
    return old != previousFiles.end() ? old->second : name;
  };

  int used = 0;
  if (const auto count = currentFiles.find(kCount); count != currentFiles.end()) {
    used =
        RecordFile(ops, current / count->second, CounterRecord::kSize, RecordFile::Access::ReadOnly)
            .get<CounterRecord>(1)
            .value;
  }

  // Each file is copied over its old self or deleted; the transaction
  // keeps what it was.
  const auto copyIn = [&](const std::string& name, const std::string& upper) {
    ops.copy(current / name, previous / targetName(upper, name));
  };
  std::set<std::string> archivesIn;
  for (int slot = 1; slot <= used; ++slot) {
    const std::string upper = fmt::format("LUM-{}.ZIP", slot);
    if (const auto archive = currentFiles.find(upper); archive != currentFiles.end()) {
      copyIn(archive->second, upper);
      archivesIn.insert(upper);
    }
  }
  for (const auto& [upper, name] : previousFiles) {
    if (isSlotArchive(upper) && archivesIn.count(upper) == 0) {
      ops.remove(previous / name);
    }
  }
  for (const auto& [upper, name] : currentFiles) {
    if (upper != kList && upper != kCount && wildcardMatch("*.dat", name)) {
      copyIn(name, upper);
    }
  }
  // The list and its count last; without them in the current year, the
  // previous year's go too, since they name archives that are gone.
  for (const char* upper : {kList, kCount}) {
    if (const auto file = currentFiles.find(upper); file != currentFiles.end()) {
      copyIn(file->second, upper);
    } else if (const auto old = previousFiles.find(upper); old != previousFiles.end()) {
      ops.remove(previous / old->second);
    }
  }
}

}  // namespace lum
