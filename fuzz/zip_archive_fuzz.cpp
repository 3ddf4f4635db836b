// The archive check of Bring Back: an archive tested, then extracted into
// a folder that already holds a file. An input that starts with "PK" is
// the archive itself; any other input lists entries that are zipped first
// (a byte of name length, the name, two bytes of data length, the data,
// again and again), so that names and sizes of every kind reach the check.
//
// Whatever the archive, every file written lies inside the target folder
// under a name that is a plain base name, holds the bytes of an entry of
// that name, and the bounds hold; nothing else changes, no temporary file
// stays, and the test without writing decides exactly as the extraction.
// Of an archive the program could have written (plain names, within the
// bounds), every entry comes out.

#include <zip.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/text.h"
#include "utils/zip_archive.h"

namespace lum::fuzz {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPattern = "*.dat";
constexpr UnzipLimits kLimits{64, 1u << 20, 1100};

struct Fixture {
  Fixture() : folder(scratchFolder() / "zip") { fs::create_directories(folder); }
  fs::path archive() const { return folder / "LUM-1.Zip"; }
  fs::path target() const { return folder / "work"; }
  fs::path beside() const { return folder / "Beside.dat"; }

  fs::path folder;
  FileOps ops;
};

Fixture& fixture() {
  static Fixture instance;
  return instance;
}

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ZipCloser>;

struct ListedEntry {
  std::string name;
  std::vector<std::byte> data;
};

// Zips the listed entries with libzip as they are named: with folders, "..",
// drive letters, control characters and all. Entries libzip refuses are left out.
std::vector<std::byte> zipListed(const std::vector<ListedEntry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_error_fini(&error);
  if (memory == nullptr) {
    return {};
  }
  zip_source_keep(memory);
  zip_t* writing = zip_open_from_source(memory, ZIP_TRUNCATE, nullptr);
  if (writing == nullptr) {
    zip_source_free(memory);
    return {};
  }
  for (const auto& entry : entries) {
    zip_source_t* data = zip_source_buffer(writing, entry.data.data(), entry.data.size(), 0);
    if (data != nullptr && zip_file_add(writing, entry.name.c_str(), data, 0) < 0) {
      zip_source_free(data);
    }
  }
  std::vector<std::byte> bytes;
  if (zip_close(writing) < 0) {
    zip_discard(writing);
  } else if (zip_source_open(memory) == 0) {
    std::byte chunk[4096];
    for (zip_int64_t n; (n = zip_source_read(memory, chunk, sizeof chunk)) > 0;) {
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
    zip_source_close(memory);
  }
  zip_source_free(memory);
  return bytes;
}

std::vector<ListedEntry> listedEntries(std::span<const std::uint8_t> input) {
  std::vector<ListedEntry> entries;
  std::size_t at = 0;
  while (at < input.size()) {
    const std::size_t lead = input[at++];
    const std::size_t nameLength = std::min(lead, input.size() - at);
    std::string name(reinterpret_cast<const char*>(input.data() + at), nameLength);
    at += nameLength;
    std::size_t dataLength = 0;
    if (at + 2 <= input.size()) {
      dataLength = input[at] | (static_cast<std::size_t>(input[at + 1]) << 8);
      at += 2;
    }
    dataLength = std::min(dataLength, input.size() - at);
    entries.push_back({name, toBytes(input.subspan(at, dataLength))});
    at += dataLength;
  }
  return entries;
}

// A name the program itself would have stored: a plain data file's name.
bool isPlainName(const std::string& name) {
  return !name.empty() && name.size() <= 64 && name.front() != '.' &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  c == '.' || c == '-' || c == '_';
         });
}

// What a safe extraction may write: a base name, no folder, nothing odd.
bool isSafeBaseName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string::npos &&
         std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Every entry of the archive by its base name in upper case, read the way
// unzip would, each cut at the bound of the whole extraction.
std::map<std::string, std::vector<std::vector<std::byte>>> entriesByName(
    const std::vector<std::byte>& archive) {
  std::map<std::string, std::vector<std::vector<std::byte>>> byName;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
  Archive reading(source != nullptr
                      ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error)
                      : nullptr);
  zip_error_fini(&error);
  if (!reading) {
    zip_source_free(source);
    return byName;
  }
  const zip_int64_t count = zip_get_num_entries(reading.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    const char* name = zip_get_name(reading.get(), index, ZIP_FL_ENC_GUESS);
    zip_file_t* file = name != nullptr ? zip_fopen_index(reading.get(), index, 0) : nullptr;
    if (file == nullptr) {
      continue;
    }
    std::vector<std::byte> bytes;
    std::byte chunk[4096];
    for (zip_int64_t n;
         bytes.size() <= kLimits.maxTotalBytes && (n = zip_fread(file, chunk, sizeof chunk)) > 0;) {
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
    zip_fclose(file);
    byName[toUpper(entryBaseName(name))].push_back(std::move(bytes));
  }
  return byName;
}

std::string names(const std::vector<std::string>& list) {
  std::string text;
  for (const auto& name : list) {
    text += " \"" + name + "\"";
  }
  return text;
}

std::string refusals(const std::vector<RefusedEntry>& list) {
  std::string text;
  for (const auto& entry : list) {
    text += " \"" + entry.name + "\" (" + entry.reason + ")";
  }
  return text;
}

}  // namespace
}  // namespace lum::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lum;
  using namespace lum::fuzz;
  Fixture& f = fixture();
  const std::span input(data, size);
  const bool asArchive = size >= 2 && data[0] == 'P' && data[1] == 'K';
  std::vector<ListedEntry> listed;
  std::vector<std::byte> archive;
  if (asArchive) {
    archive = toBytes(input);
  } else {
    listed = listedEntries(input);
    archive = zipListed(listed);
  }

  std::error_code ignored;
  fs::remove_all(f.target(), ignored);
  fs::create_directories(f.target());
  placeFile(f.archive(), {true, archive});
  placeFile(f.beside(), {true, toBytes(std::span<const std::uint8_t>(
                                   reinterpret_cast<const std::uint8_t*>("beside"), 6))});
  // A file of the work area, in another case than an archive would name it.
  placeFile(f.target() / "ENT.DAT", {true, toBytes(std::span<const std::uint8_t>(
                                               reinterpret_cast<const std::uint8_t*>("old"), 3))});
  const TreeSnapshot before = snapshotTree(f.folder);

  const UnzipOutcome tested = testArchive(f.ops, f.archive(), kPattern, kLimits);
  LUM_FUZZ_CHECK(treeDifference(before, snapshotTree(f.folder)).empty(),
                 "testing an archive wrote files");
  const UnzipOutcome outcome = unzipFiles(f.ops, f.archive(), f.target(), kPattern, kLimits);
  const TreeSnapshot after = snapshotTree(f.folder);

  LUM_FUZZ_CHECK(outcome.status != ZipStatus::ExtractFailed,
                 "an entry could not be written:" + names(outcome.extracted) + " refused" +
                     refusals(outcome.refused));
  LUM_FUZZ_CHECK(outcome.status == tested.status && outcome.extracted == tested.extracted &&
                     outcome.refused.size() == tested.refused.size(),
                 "the test and the extraction decided otherwise");
  LUM_FUZZ_CHECK(outcome.extracted.size() <= kLimits.maxEntries, "more entries than the bound");

  // Outside the target folder nothing changed.
  const std::string outside =
      treeDifference(withoutPaths(before, {"work"}), withoutPaths(after, {"work"}));
  LUM_FUZZ_CHECK(outside.empty(), "the extraction wrote outside its folder:\n" + outside);

  // Inside, each file is one the extraction names, holding an entry's bytes.
  const auto byName = entriesByName(archive);
  std::set<std::string> extracted;
  for (const auto& name : outcome.extracted) {
    LUM_FUZZ_CHECK(isSafeBaseName(name), "an extracted file has an unsafe name: \"" + name + "\"");
    LUM_FUZZ_CHECK(extracted.insert(toUpper(name)).second,
                   "two extracted files have the same name: \"" + name + "\"");
  }
  std::uint64_t total = 0;
  for (const auto& entry : after) {
    const std::string& name = entry.first;
    const std::string& contents = entry.second;
    if (!name.starts_with("work/")) {
      continue;
    }
    const std::string file = name.substr(5);
    LUM_FUZZ_CHECK(file.find('/') == std::string::npos && contents != "/",
                   "the extraction made a folder: " + name);
    if (!extracted.contains(toUpper(file))) {
      LUM_FUZZ_CHECK(file == "ENT.DAT" && contents == "old",
                     "a file no entry accounts for: " + name);
      continue;
    }
    total += contents.size();
    const auto candidates = byName.find(toUpper(file));
    LUM_FUZZ_CHECK(candidates != byName.end() &&
                       std::any_of(candidates->second.begin(), candidates->second.end(),
                                   [&](const auto& bytes) { return textOf(bytes) == contents; }),
                   "an extracted file holds bytes of no entry of its name: " + name);
  }
  LUM_FUZZ_CHECK(total <= kLimits.maxTotalBytes, "the extraction wrote more than the bound");
  for (const auto& name : outcome.extracted) {
    LUM_FUZZ_CHECK(fs::exists(f.target() / name) ||
                       (equalsIgnoreCase(name, "ENT.DAT") && fs::exists(f.target() / "ENT.DAT")),
                   "an extracted file is not there: " + name);
  }

  // An archive as the program writes them comes out whole.
  if (!asArchive && !archive.empty()) {
    std::set<std::string> seen;
    std::size_t plain = 0;
    std::uint64_t bytes = 0;
    bool ordinary = listed.size() <= kLimits.maxEntries;
    for (const auto& entry : listed) {
      ordinary = ordinary && isPlainName(entry.name) && seen.insert(toUpper(entry.name)).second;
      bytes += entry.data.size();
      plain += wildcardMatch(kPattern, entry.name) ? 1 : 0;
    }
    if (ordinary && bytes <= kLimits.maxTotalBytes) {
      LUM_FUZZ_CHECK(
          outcome.refused.empty() && outcome.extracted.size() == plain,
          "an ordinary archive did not come out whole: refused" + refusals(outcome.refused));
    }
  }
  return 0;
}
