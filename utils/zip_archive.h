#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// The outcome of zipping or unzipping, 16-bit as the callers keep it. The
// values are Info-ZIP's exit statuses, so that a number shown to the user
// means the same as it would from zip or unzip.
enum class ZipStatus : std::int16_t {
  Ok = 0,
  EntriesRefused = 1,  // unzip's warning: some entries refused, the rest extracted
  ArchiveDamaged = 3,  // unzip: not a readable zip archive; nothing written
  ArchiveMissing = 9,  // unzip: no archive of that name
  NoMatch = 11,        // unzip: no entry matches the pattern
  NothingToDo = 12,    // zip: no file to add
  WriteFailed = 15,    // zip: the archive could not be written
  ReadFailed = 18,     // zip: a file to add could not be read
  ExtractFailed = 50,  // unzip: a file could not be written
};

// The number of a status, as the messages show it.
constexpr std::int16_t zipStatusNumber(ZipStatus status) {
  return static_cast<std::int16_t>(status);
}

// What an archive may make its extraction write. The sizes are the bytes
// actually decompressed, never the sizes the archive claims. The work area
// of a large client is a few megabytes; the bounds leave room for a
// hundred times that and stop a zip bomb long before it fills a disk.
struct UnzipLimits {
  // Entries looked at; the ones after are refused.
  std::size_t maxEntries = 4096;
  // Bytes written by the whole extraction: an entry that would pass it is refused.
  std::uint64_t maxTotalBytes = 256u << 20;
  // Bytes out per compressed byte of one entry, beyond the first 64 KiB.
  // Deflate cannot pass about 1,032 to 1, so no honest entry is refused.
  std::uint64_t maxRatio = 1100;
};

struct RefusedEntry {
  std::string name;
  std::string reason;
};

struct UnzipOutcome {
  ZipStatus status = ZipStatus::Ok;
  std::vector<std::string> extracted;  // the names written, in archive order
  std::vector<RefusedEntry> refused;
};

// The deflate level of the archives: zip's and unzip's default.
inline constexpr int kZipLevel = 6;

// One file to go into an archive: its name (without folders), its bytes
// and its modification time.
struct ZipEntry {
  std::string name;
  std::vector<std::byte> bytes;
  std::time_t modified = 0;
};

// The entries of files, read whole, each under its own name. Throws FileError.
std::vector<ZipEntry> zipEntriesOf(FileOps& ops, const std::vector<std::filesystem::path>& files);

// Writes a zip archive holding the entries. The archive is written beside
// its final name and renamed over it only when complete and flushed, so an
// old archive of that name stays whole until the new one replaces it.
ZipStatus zipEntries(FileOps& ops, const std::filesystem::path& archive,
                     const std::vector<ZipEntry>& entries, int level = kZipLevel);

// zipEntries of the files, stored under their own names.
ZipStatus zipFiles(FileOps& ops, const std::filesystem::path& archive,
                   const std::vector<std::filesystem::path>& files, int level = kZipLevel);

// Tests the archive, then extracts the entries whose base names match the
// DOS wildcard pattern into the destination folder, each written under a
// temporary name and renamed when whole. The folder part of an entry's name
// ("/" or "\\") is dropped, as unzip -j does, and folder entries are
// skipped. An entry whose name is absolute or has a ".." part, ":" (a drive
// letter) or a control character, whose base name is too long for the file
// system, that comes to the base name of an earlier entry (whatever the
// case), or that passes a bound of the limits, is
// refused and the others are still extracted. A damaged archive writes
// nothing. An existing file of the same name in another case is
// overwritten, as on Windows.
UnzipOutcome unzipFiles(FileOps& ops, const std::filesystem::path& archive,
                        const std::filesystem::path& destination, std::string_view pattern,
                        const UnzipLimits& limits = {});

// Bring-back's way: tests the whole archive as unzipFiles does, and only
// when no entry is refused and nothing is damaged writes every matching
// entry, under its base name, into the folder (a fresh one, so nothing is
// overwritten). Otherwise nothing is written; extracted lists what was.
// Throws FileError when a file cannot be written, having written some.
UnzipOutcome extractWhole(FileOps& ops, const std::filesystem::path& archive,
                          const std::filesystem::path& folder, std::string_view pattern,
                          const UnzipLimits& limits = {});

// The same test without writing anything: the status unzipFiles would
// give before writing, the entries it would extract and those it would refuse.
UnzipOutcome testArchive(FileOps& ops, const std::filesystem::path& archive,
                         std::string_view pattern, const UnzipLimits& limits = {});

// Why an entry name may not be extracted, or empty when it may.
std::string unsafeEntryName(std::string_view name);
// The name without its folder part: what extraction writes.
std::string_view entryBaseName(std::string_view name);

// The files of a folder whose names match the DOS wildcard pattern, sorted.
std::vector<std::filesystem::path> matchingFiles(FileOps& ops, const std::filesystem::path& folder,
                                                 std::string_view pattern);

}  // namespace lum
