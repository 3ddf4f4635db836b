#include "tools/lumctl/work_area_snapshot.h"

#include <fmt/core.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <string_view>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"

namespace lum {
namespace {

// Coarser than the clock of any file system a work area may sit on (FAT
// keeps two seconds): a file changed within it of being read may change
// again without a new stamp.
constexpr std::chrono::seconds kTimestampGrain{2};

std::int64_t nanoseconds(const timespec& time) {
  return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

// Names are Windows names: one file whatever the case.
std::string keyOf(const std::filesystem::path& file) {
  return toUpper(std::filesystem::absolute(file).lexically_normal().generic_string());
}

bool isPageFile(std::string_view logicalName) {
  return logicalName == "DosyaYaz" || logicalName == "Kelam";
}

}  // namespace

FileStamp stampOf(const std::filesystem::path& file) {
  // A status query, like FileOps::exists: it reads nothing of the file.
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) {
    return {};
  }
  return {true,
          static_cast<std::uint64_t>(status.st_dev),
          static_cast<std::uint64_t>(status.st_ino),
          static_cast<std::uint64_t>(status.st_size),
          nanoseconds(status.st_mtim),
          nanoseconds(status.st_ctim)};
}

WorkAreaSnapshot::WorkAreaSnapshot(FileOps& ops, const std::filesystem::path& area,
                                   std::filesystem::path privateFolder)
    : mOps(&ops), mPrivateFolder(std::move(privateFolder)) {
  const auto rollbackFolder = area / "Rollback";
  // The marker first: a save that starts after this point shows in its stamp.
  note(rollbackFolder / "marker");
  if (const auto kept = WorkAreaTransaction::pending(ops, rollbackFolder)) {
    for (const WorkAreaTransaction::Kept& entry : *kept) {
      mKept[keyOf(entry.file)] = entry.copy;
    }
  }
}

std::filesystem::path WorkAreaSnapshot::readPath(const std::filesystem::path& live) {
  const auto kept = mKept.find(keyOf(live));
  if (kept == mKept.end()) {
    note(live);
    return live;
  }
  if (!kept->second) {
    // Not there before the save: a path in a folder that is never made.
    return mPrivateFolder / "absent" / live.filename();
  }
  note(*kept->second);
  return *kept->second;
}

std::filesystem::path WorkAreaSnapshot::privateFile(std::string_view logicalName,
                                                    const std::filesystem::path& live) {
  const std::string key = keyOf(live);
  if (const auto known = mPrivateFiles.find(key); known != mPrivateFiles.end()) {
    return known->second;
  }
  // A folder each, so the file keeps its name.
  const auto folder = mPrivateFolder / fmt::format("{}", mPrivateFiles.size() + 1);
  mOps->makeDirectory(folder);
  const auto file = folder / live.filename();
  if (!isPageFile(logicalName)) {
    const auto source = readPath(live);
    if (mOps->exists(source)) {
      mOps->copy(source, file);
    }
  }
  mPrivateFiles.emplace(key, file);
  return file;
}

void WorkAreaSnapshot::note(const std::filesystem::path& file) {
  if (mNoted.count(file) != 0) {
    return;
  }
  Noted noted{stampOf(file), std::nullopt};
  const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  const auto grain = std::chrono::nanoseconds(kTimestampGrain).count();
  if (noted.stamp.exists && now - std::max(noted.stamp.modified, noted.stamp.changed) < grain) {
    noted.hash = hashOf(file);
  }
  mNoted.emplace(file, noted);
}

std::optional<std::size_t> WorkAreaSnapshot::hashOf(const std::filesystem::path& file) const {
  try {
    const auto bytes = mOps->readFile(file);
    return std::hash<std::string_view>{}(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  } catch (const FileError&) {
    return std::nullopt;  // gone meanwhile: its stamp tells
  }
}

bool WorkAreaSnapshot::stillHolds() const {
  for (const auto& [file, noted] : mNoted) {
    if (stampOf(file) != noted.stamp) {
      return false;
    }
    if (noted.hash && hashOf(file) != noted.hash) {
      return false;
    }
  }
  return true;
}

}  // namespace lum
