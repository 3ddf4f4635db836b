#include "post/backup/snapshots.h"

#include <fmt/core.h>

#include <algorithm>
#include <ctime>
#include <regex>
#include <set>
#include <tuple>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/work_area_lock.h"
#include "utils/zip_archive.h"

namespace lum {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWholeArea = "*";

struct Parsed {
  SnapshotInfo info;
  std::string stamp;  // "20261207112033", for ordering
  int sequence = 1;   // within the same second
};

std::optional<Parsed> parseName(const std::string& name) {
  static const std::regex kName(
      R"(^(.+)-(\d{4})-(\d{2})-(\d{2})-(\d{2})(\d{2})(\d{2})(?:-(\d{1,4}))?\.zip$)",
      std::regex::icase);
  std::smatch m;
  if (!std::regex_match(name, m, kName)) {
    return std::nullopt;
  }
  Parsed parsed;
  parsed.info.name = name;
  parsed.info.operation = m[1];
  parsed.info.taken =
      fmt::format("{}-{}-{} {}:{}:{}", m.str(2), m.str(3), m.str(4), m.str(5), m.str(6), m.str(7));
  parsed.stamp = m.str(2) + m.str(3) + m.str(4) + m.str(5) + m.str(6) + m.str(7);
  parsed.sequence = m[8].matched ? std::stoi(m.str(8)) : 1;
  return parsed;
}

std::vector<Parsed> parsedSnapshots(FileOps& ops, const fs::path& area) {
  std::vector<Parsed> found;
  const fs::path folder = snapshotFolder(area);
  if (!ops.isDirectory(folder)) {
    return found;
  }
  for (const std::string& name : ops.list(folder)) {
    if (auto parsed = parseName(name); parsed && !ops.isDirectory(folder / name)) {
      found.push_back(std::move(*parsed));
    }
  }
  std::sort(found.begin(), found.end(), [](const Parsed& a, const Parsed& b) {
    return std::tie(a.stamp, a.sequence) > std::tie(b.stamp, b.sequence);
  });
  return found;
}

bool isLockFile(std::string_view name) {
  return equalsIgnoreCase(name, WorkAreaLock::kLockFile) ||
         equalsIgnoreCase(name, WorkAreaLock::kProbeFile);
}

std::time_t timeOf(const DateTime& when) {
  std::tm local{};
  local.tm_year = when.date.year() - 1900;
  local.tm_mon = when.date.month() - 1;
  local.tm_mday = when.date.day();
  local.tm_hour = when.hour;
  local.tm_min = when.minute;
  local.tm_sec = when.second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

std::vector<std::byte> bytesOf(const std::string& text) {
  std::vector<std::byte> bytes(text.size());
  std::transform(text.begin(), text.end(), bytes.begin(),
                 [](char c) { return static_cast<std::byte>(c); });
  return bytes;
}

std::vector<std::string> scopeOf(const std::vector<std::byte>& manifest) {
  std::string text(manifest.size(), ' ');
  std::transform(manifest.begin(), manifest.end(), text.begin(),
                 [](std::byte b) { return static_cast<char>(b); });
  std::vector<std::string> scope;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line = text.substr(start, end - start);
    if (!line.empty()) {
      scope.push_back(std::move(line));
    }
    start = end + 1;
  }
  return scope;
}

}  // namespace

fs::path snapshotFolder(const fs::path& area) {
  return area / "backup" / "snapshots";
}

std::vector<fs::path> filesInScope(FileOps& ops, const fs::path& area,
                                   const std::vector<std::string>& scope) {
  std::vector<fs::path> files;
  for (const std::string& name : ops.list(area)) {
    if (isLockFile(name) || ops.isDirectory(area / name)) {
      continue;
    }
    if (std::any_of(scope.begin(), scope.end(), [&](const std::string& pattern) {
          return pattern == kWholeArea || wildcardMatch(pattern, name);
        })) {
      files.push_back(area / name);
    }
  }
  return files;
}

std::string takeSnapshot(FileOps& ops, const fs::path& area, std::string_view operation,
                         const DateTime& when, const std::vector<std::string>& scope) {
  const std::string stamp =
      fmt::format("{:04}-{:02}-{:02}-{:02}{:02}{:02}", when.date.year(), when.date.month(),
                  when.date.day(), when.hour, when.minute, when.second);
  const std::vector<Parsed> existing = parsedSnapshots(ops, area);
  std::string name = fmt::format("{}-{}.zip", operation, stamp);
  const std::string compact =
      stamp.substr(0, 4) + stamp.substr(5, 2) + stamp.substr(8, 2) + stamp.substr(11);
  int sequence = 1;
  for (const Parsed& other : existing) {
    if (other.stamp == compact) {
      sequence = std::max(sequence, other.sequence + 1);
    }
  }
  if (sequence > 1) {
    name = fmt::format("{}-{}-{}.zip", operation, stamp, sequence);
  }

  const fs::path folder = snapshotFolder(area);
  try {
    std::vector<ZipEntry> entries = zipEntriesOf(ops, filesInScope(ops, area, scope));
    std::string manifest;
    for (const std::string& pattern : scope) {
      manifest += pattern + "\n";
    }
    entries.push_back({kSnapshotManifest, bytesOf(manifest), 0});
    const std::time_t modified = timeOf(when);
    for (ZipEntry& entry : entries) {
      entry.modified = modified;
    }
    ops.makeDirectories(folder);
    if (zipEntries(ops, folder / name, entries) != ZipStatus::Ok) {
      throw SnapshotError(fmt::format(
          "The copy to undo this with could not be written to {} (is the disk full?). Nothing "
          "was changed.",
          folder.string()));
    }
    for (std::size_t i = kSnapshotsKept - 1; i < existing.size(); ++i) {
      ops.remove(folder / existing[i].info.name);
    }
  } catch (const FileError& error) {
    throw SnapshotError(
        fmt::format("The copy to undo this with could not be written to {}: {}. Nothing was "
                    "changed.",
                    folder.string(), error.what()));
  }
  return name;
}

std::vector<SnapshotInfo> listSnapshots(FileOps& ops, const fs::path& area) {
  std::vector<SnapshotInfo> infos;
  for (Parsed& parsed : parsedSnapshots(ops, area)) {
    infos.push_back(std::move(parsed.info));
  }
  return infos;
}

void bringBackSnapshot(FileOps& ops, const fs::path& area, const fs::path& stagingFolder,
                       std::string_view name) {
  const fs::path archive = snapshotFolder(area) / std::string(name);
  if (name.empty() || !unsafeEntryName(name).empty() || !ops.exists(archive) ||
      ops.isDirectory(archive)) {
    throw SnapshotError(fmt::format("There is no snapshot {}. Nothing was changed.", name));
  }
  const UnzipOutcome tested = testArchive(ops, archive, "*");
  const bool hasManifest =
      std::any_of(tested.extracted.begin(), tested.extracted.end(),
                  [](const std::string& entry) { return entry == kSnapshotManifest; });
  if (tested.status != ZipStatus::Ok || !tested.refused.empty() || !hasManifest) {
    throw SnapshotError(fmt::format(
        "The snapshot {} is damaged and cannot be brought back. Nothing was changed.", name));
  }

  if (ops.exists(stagingFolder)) {
    for (const std::string& leftover : ops.list(stagingFolder)) {
      ops.remove(stagingFolder / leftover);
    }
  }
  ops.makeDirectories(stagingFolder);
  const UnzipOutcome extracted = extractWhole(ops, archive, stagingFolder, "*");
  if (extracted.status != ZipStatus::Ok || !extracted.refused.empty()) {
    throw SnapshotError(fmt::format(
        "The snapshot {} is damaged and cannot be brought back. Nothing was changed.", name));
  }
  const std::vector<std::string> scope = scopeOf(ops.readFile(stagingFolder / kSnapshotManifest));
  ops.remove(stagingFolder / kSnapshotManifest);

  std::set<std::string> held;
  for (const std::string& entry : extracted.extracted) {
    held.insert(std::string(entryBaseName(entry)));
  }
  for (const fs::path& file : filesInScope(ops, area, scope)) {
    if (held.count(file.filename().string()) == 0) {
      ops.remove(file);
    }
  }
  for (const std::string& entry : held) {
    if (entry == kSnapshotManifest) {
      continue;
    }
    // An existing file of the same name in another case is the one replaced.
    fs::path target = area / entry;
    for (const std::string& existing : ops.list(area)) {
      if (equalsIgnoreCase(existing, entry)) {
        target = area / existing;
      }
    }
    ops.rename(stagingFolder / entry, target);
  }
  ops.removeEmptyDirectory(stagingFolder);
}

}  // namespace lum
