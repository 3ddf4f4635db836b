#pragma once

// What the fuzz targets share: the check that stops a run with a reason,
// the scratch folder their files go to, the layout of an input that holds
// several files, and snapshots of a folder tree to prove what a run wrote.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lum::fuzz {

// Stops the run: libFuzzer keeps the input as a crash, the replay says
// which input it was.
[[noreturn]] void fail(const std::string& what, const char* file, int line);

#define LUM_FUZZ_CHECK(condition, what)              \
  do {                                               \
    if (!(condition)) {                              \
      ::lum::fuzz::fail((what), __FILE__, __LINE__); \
    }                                                \
  } while (false)

// A folder of this process for the targets' files, removed at exit:
// under LUM_FUZZ_SCRATCH when set, else in /dev/shm (a save flushes every
// file it writes, which costs nothing in memory), else in the temporary
// folder. The temporary folder of the test fixtures is pointed there too.
const std::filesystem::path& scratchFolder();

// The bytes of one input file; a missing file is not the same as an empty one.
struct InputFile {
  bool present = true;
  std::vector<std::byte> bytes;
};

// An input holding count files: count - 1 little-endian 16-bit lengths
// (0xFFFF: the file is missing), then the files' bytes one after another;
// the last file takes what is left. Lengths past the end are cut short, so
// every input is some set of files.
std::vector<InputFile> splitFiles(std::span<const std::uint8_t> input, std::size_t count);
// The input splitFiles reads back as these files (for the seeds).
std::vector<std::byte> joinFiles(const std::vector<InputFile>& files);

// Writes the file, or deletes it when it is missing.
void placeFile(const std::filesystem::path& path, const InputFile& file);

// Every file and folder under a folder, by path relative to it; a folder's
// entry is "/" and a file's its bytes.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot snapshotTree(const std::filesystem::path& root);
// The names that differ between two snapshots ("+ added", "- removed",
// "* changed"), empty when they are the same.
std::string treeDifference(const TreeSnapshot& before, const TreeSnapshot& after);
// Puts a tree back as the snapshot holds it: what is not in it goes, what
// differs is written back, so every input starts from the same files.
void restoreTree(const std::filesystem::path& root, const TreeSnapshot& snapshot);
// The snapshot without the entries under the given relative paths.
TreeSnapshot withoutPaths(TreeSnapshot snapshot, const std::vector<std::string>& paths);

// A file's bytes, as a string.
std::string readWholeFile(const std::filesystem::path& file);

std::vector<std::byte> toBytes(std::span<const std::uint8_t> input);
std::string textOf(std::span<const std::byte> bytes);

}  // namespace lum::fuzz
