#include "utils/zip_archive.h"

#include <fmt/core.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <system_error>

#include "platform/errors.h"
#include "platform/text.h"

namespace lum {
namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct SourceFreer {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using Source = std::unique_ptr<zip_source_t, SourceFreer>;

struct EntryCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

constexpr std::uint64_t kRatioAllowance = 64 * 1024;
// A file name holds 255 bytes; an entry is written first under "~NAME.part".
constexpr std::size_t kLongestBaseName = 255 - std::char_traits<char>::length("~.part");
constexpr std::size_t kReadChunk = 64 * 1024;

std::time_t modificationTime(const std::filesystem::path& file) {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(file, error);
  if (error) {
    return std::time(nullptr);
  }
  return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
}

// The bytes a libzip source holds (an archive written into memory).
std::vector<std::byte> sourceBytes(zip_source_t* source) {
  if (zip_source_open(source) < 0) {
    return {};
  }
  std::vector<std::byte> bytes;
  std::byte chunk[kReadChunk];
  for (;;) {
    const zip_int64_t n = zip_source_read(source, chunk, sizeof chunk);
    if (n < 0) {
      bytes.clear();
      break;
    }
    if (n == 0) {
      break;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  zip_source_close(source);
  return bytes;
}

// The name of the temporary file that becomes name once it is whole.
std::filesystem::path temporaryFor(const std::filesystem::path& path) {
  return path.parent_path() / fmt::format("~{}.part", path.filename().string());
}

}  // namespace

std::vector<std::filesystem::path> matchingFiles(FileOps& ops, const std::filesystem::path& folder,
                                                 std::string_view pattern) {
  std::vector<std::filesystem::path> files;
  for (const auto& name : ops.list(folder)) {
    const auto path = folder / name;
    if (wildcardMatch(pattern, name) && !ops.isDirectory(path)) {
      files.push_back(path);
    }
  }
  return files;
}

std::vector<ZipEntry> zipEntriesOf(FileOps& ops, const std::vector<std::filesystem::path>& files) {
  std::vector<ZipEntry> entries;
  entries.reserve(files.size());
  for (const auto& file : files) {
    entries.push_back({file.filename().string(), ops.readFile(file), modificationTime(file)});
  }
  return entries;
}

ZipStatus zipFiles(FileOps& ops, const std::filesystem::path& archive,
                   const std::vector<std::filesystem::path>& files, int level) {
  if (files.empty()) {
    return ZipStatus::NothingToDo;
  }
  std::vector<ZipEntry> entries;
  try {
    entries = zipEntriesOf(ops, files);
  } catch (const FileError&) {
    return ZipStatus::ReadFailed;
  }
  return zipEntries(ops, archive, entries, level);
}

ZipStatus zipEntries(FileOps& ops, const std::filesystem::path& archive,
                     const std::vector<ZipEntry>& entries, int level) {
  if (entries.empty()) {
    return ZipStatus::NothingToDo;
  }
  zip_error_t error;
  zip_error_init(&error);
  Source memory(zip_source_buffer_create(nullptr, 0, 0, &error));
  zip_error_fini(&error);
  if (!memory) {
    return ZipStatus::WriteFailed;
  }
  zip_t* writing = zip_open_from_source(memory.get(), ZIP_TRUNCATE, nullptr);
  if (writing == nullptr) {
    return ZipStatus::WriteFailed;
  }
  zip_source_keep(memory.get());  // the archive's bytes outlive its closing
  Archive open(writing);
  for (const auto& file : entries) {
    zip_source_t* data = zip_source_buffer(writing, file.bytes.data(), file.bytes.size(), 0);
    const zip_int64_t index =
        data == nullptr ? -1 : zip_file_add(writing, file.name.c_str(), data, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(data);
      return ZipStatus::WriteFailed;
    }
    const auto entry = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(writing, entry, ZIP_CM_DEFLATE, static_cast<zip_uint32_t>(level)) <
            0 ||
        zip_file_set_mtime(writing, entry, file.modified, 0) < 0) {
      return ZipStatus::WriteFailed;
    }
  }
  if (zip_close(open.get()) < 0) {
    return ZipStatus::WriteFailed;
  }
  static_cast<void>(open.release());  // zip_close freed it
  const std::vector<std::byte> bytes = sourceBytes(memory.get());
  if (bytes.empty()) {
    return ZipStatus::WriteFailed;
  }

  const auto temporary = temporaryFor(archive);
  try {
    ops.writeFile(temporary, bytes);
    ops.rename(temporary, archive);
    ops.flushDirectory(archive.parent_path().empty() ? "." : archive.parent_path());
  } catch (const FileError&) {
    try {
      ops.remove(temporary);
    } catch (const FileError&) {
      // The temporary file stays behind; the old archive is whole either way.
    }
    return ZipStatus::WriteFailed;
  }
  return ZipStatus::Ok;
}

std::string unsafeEntryName(std::string_view name) {
  if (name.empty()) {
    return "the name is empty";
  }
  if (name.front() == '/' || name.front() == '\\') {
    return "the name is absolute";
  }
  for (std::string_view rest = name;;) {
    const auto separator = rest.find_first_of("/\\");
    if (rest.substr(0, separator) == "..") {
      return "the name has \"..\"";
    }
    if (separator == std::string_view::npos) {
      break;
    }
    rest.remove_prefix(separator + 1);
  }
  if (entryBaseName(name) == ".") {
    return "the name has \"..\"";
  }
  if (name.find(':') != std::string_view::npos) {
    return "the name has a drive letter";
  }
  if (std::any_of(name.begin(), name.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; })) {
    return "the name has a control character";
  }
  if (entryBaseName(name).size() > kLongestBaseName) {
    return "the name is too long";
  }
  return {};
}

std::string_view entryBaseName(std::string_view name) {
  const auto separator = name.find_last_of("/\\");
  return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

namespace {

struct Extracted {
  std::string name;
  std::vector<std::byte> bytes;
};

// The test: every wanted entry is read whole, its CRC checked, before a
// byte is written. A damaged archive sets the outcome's status.
std::vector<Extracted> readEntries(FileOps& ops, const std::filesystem::path& archive,
                                   std::string_view pattern, const UnzipLimits& limits,
                                   UnzipOutcome& outcome) {
  if (!ops.exists(archive) || ops.isDirectory(archive)) {
    outcome.status = ZipStatus::ArchiveMissing;
    return {};
  }
  std::vector<std::byte> archiveBytes;
  try {
    archiveBytes = ops.readFile(archive);
  } catch (const FileError&) {
    outcome.status = ZipStatus::ArchiveMissing;
    return {};
  }

  zip_error_t error;
  zip_error_init(&error);
  Source source(zip_source_buffer_create(archiveBytes.data(), archiveBytes.size(), 0, &error));
  Archive reading(source ? zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error)
                         : nullptr);
  zip_error_fini(&error);
  if (!reading) {
    outcome.status = ZipStatus::ArchiveDamaged;
    return {};
  }
  static_cast<void>(source.release());  // the archive owns its source now

  std::vector<Extracted> wanted;
  std::map<std::string, std::string> claimedBy;  // each base name in upper case: its entry
  std::uint64_t total = 0;
  const zip_int64_t count = zip_get_num_entries(reading.get(), 0);
  for (zip_int64_t index = 0; index < count; ++index) {
    const auto entryIndex = static_cast<zip_uint64_t>(index);
    const char* rawName = zip_get_name(reading.get(), entryIndex, ZIP_FL_ENC_GUESS);
    if (rawName == nullptr) {
      outcome.status = ZipStatus::ArchiveDamaged;
      return {};
    }
    const std::string name = rawName;
    if (static_cast<std::size_t>(index) >= limits.maxEntries) {
      outcome.refused.push_back(
          {name, "the archive has more than " + std::to_string(limits.maxEntries) + " entries"});
      continue;
    }
    // A name without the UTF-8 flag comes in the DOS code page, where the
    // control characters are pictures: they are looked for in its bytes.
    std::string reason = unsafeEntryName(name);
    if (const char* bytes = zip_get_name(reading.get(), entryIndex, ZIP_FL_ENC_RAW);
        reason.empty() && bytes != nullptr) {
      reason = unsafeEntryName(bytes);
    }
    if (!reason.empty()) {
      outcome.refused.push_back({name, std::move(reason)});
      continue;
    }
    // The folders of an entry's name are dropped; a folder entry has no file.
    const std::string base(entryBaseName(name));
    if (base.empty() || !wildcardMatch(pattern, base)) {
      continue;
    }
    const auto [owner, isFirst] = claimedBy.try_emplace(toUpper(base), name);
    if (!isFirst) {
      outcome.refused.push_back(
          {name, "an earlier entry has the same name (" + owner->second + ")"});
      continue;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(reading.get(), entryIndex, 0, &stat) < 0) {
      outcome.status = ZipStatus::ArchiveDamaged;
      return {};
    }
    const std::uint64_t compressed = (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
    const std::uint64_t ratioBound = limits.maxRatio * compressed + kRatioAllowance;

    Entry entry(zip_fopen_index(reading.get(), entryIndex, 0));
    if (!entry) {
      const int why = zip_error_code_zip(zip_get_error(reading.get()));
      if (why == ZIP_ER_NOPASSWD || why == ZIP_ER_ENCRNOTSUPP || why == ZIP_ER_COMPNOTSUPP) {
        outcome.refused.push_back({name, "the entry is encrypted or compressed in an unknown way"});
        continue;
      }
      outcome.status = ZipStatus::ArchiveDamaged;
      return {};
    }
    Extracted file{base, {}};
    const std::uint64_t claimed = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
    file.bytes.reserve(static_cast<std::size_t>(std::min(
        {claimed, ratioBound, limits.maxTotalBytes - std::min(total, limits.maxTotalBytes)})));
    std::string refusal;
    std::byte chunk[kReadChunk];
    for (;;) {
      const zip_int64_t n = zip_fread(entry.get(), chunk, sizeof chunk);
      if (n < 0) {
        outcome.status = ZipStatus::ArchiveDamaged;
        return {};
      }
      if (n == 0) {
        break;
      }
      const auto size = file.bytes.size() + static_cast<std::size_t>(n);
      if (total + size > limits.maxTotalBytes) {
        refusal =
            "the archive would write more than " + std::to_string(limits.maxTotalBytes) + " bytes";
        break;
      }
      if (size > ratioBound) {
        refusal = "the entry expands more than " + std::to_string(limits.maxRatio) +
                  " times its compressed size";
        break;
      }
      file.bytes.insert(file.bytes.end(), chunk, chunk + n);
    }
    if (!refusal.empty()) {
      outcome.refused.push_back({name, std::move(refusal)});
      continue;
    }
    total += file.bytes.size();
    wanted.push_back(std::move(file));
  }

  outcome.status = wanted.empty() && outcome.refused.empty() ? ZipStatus::NoMatch
                   : outcome.refused.empty()                 ? ZipStatus::Ok
                                                             : ZipStatus::EntriesRefused;
  return wanted;
}

}  // namespace

UnzipOutcome testArchive(FileOps& ops, const std::filesystem::path& archive,
                         std::string_view pattern, const UnzipLimits& limits) {
  UnzipOutcome outcome;
  for (const auto& file : readEntries(ops, archive, pattern, limits, outcome)) {
    outcome.extracted.push_back(file.name);
  }
  return outcome;
}

UnzipOutcome extractWhole(FileOps& ops, const std::filesystem::path& archive,
                          const std::filesystem::path& folder, std::string_view pattern,
                          const UnzipLimits& limits) {
  UnzipOutcome outcome;
  const std::vector<Extracted> wanted = readEntries(ops, archive, pattern, limits, outcome);
  if (outcome.status != ZipStatus::Ok) {
    return outcome;
  }
  for (const auto& file : wanted) {
    FileHandle handle = ops.open(folder / file.name, OpenMode::WriteTruncate);
    ops.writeAt(handle, 0, file.bytes);
    ops.close(handle);
    outcome.extracted.push_back(file.name);
  }
  return outcome;
}

UnzipOutcome unzipFiles(FileOps& ops, const std::filesystem::path& archive,
                        const std::filesystem::path& destination, std::string_view pattern,
                        const UnzipLimits& limits) {
  UnzipOutcome outcome;
  const std::vector<Extracted> wanted = readEntries(ops, archive, pattern, limits, outcome);
  if (outcome.status != ZipStatus::Ok && outcome.status != ZipStatus::EntriesRefused) {
    return outcome;
  }
  std::vector<std::string> existing;
  try {
    existing = ops.list(destination);
  } catch (const FileError&) {
    outcome.status = ZipStatus::ExtractFailed;
    return outcome;
  }
  for (const auto& file : wanted) {
    const auto same = std::find_if(existing.begin(), existing.end(), [&](const std::string& e) {
      return equalsIgnoreCase(e, file.name);
    });
    const auto target = destination / (same != existing.end() ? *same : file.name);
    const auto temporary = temporaryFor(target);
    try {
      // Not flushed one by one: the archive stays whole, so an extraction a
      // crash cuts short is simply made again. Renamed over the old file, so
      // that a failure leaves it as it was.
      FileHandle handle = ops.open(temporary, OpenMode::WriteTruncate);
      ops.writeAt(handle, 0, file.bytes);
      ops.close(handle);
      ops.rename(temporary, target);
    } catch (const FileError&) {
      try {
        ops.remove(temporary);
      } catch (const FileError&) {
        // Only the temporary file is left; no data file is half written.
      }
      outcome.status = ZipStatus::ExtractFailed;
      return outcome;
    }
    outcome.extracted.push_back(file.name);
  }
  outcome.status = outcome.refused.empty() ? ZipStatus::Ok : ZipStatus::EntriesRefused;
  return outcome;
}

}  // namespace lum
