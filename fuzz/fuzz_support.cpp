#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace lum::fuzz {
namespace {

constexpr std::uint16_t kMissing = 0xFFFF;

std::filesystem::path scratchParent() {
  if (const char* chosen = std::getenv("LUM_FUZZ_SCRATCH"); chosen != nullptr && *chosen != '\0') {
    return chosen;
  }
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return std::filesystem::temp_directory_path();
}

// The folder of this process, deleted with its contents when the process ends.
class OwnFolder {
 public:
  OwnFolder() {
    std::string pattern = (scratchParent() / "lumfuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("cannot create the scratch folder " + pattern);
    }
    mPath = pattern;
    // The fixtures' TempDir makes its folders in the temporary folder.
    ::setenv("TMPDIR", mPath.c_str(), 1);
  }
  ~OwnFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
  }
  OwnFolder(const OwnFolder&) = delete;
  OwnFolder& operator=(const OwnFolder&) = delete;

  const std::filesystem::path& path() const { return mPath; }

 private:
  std::filesystem::path mPath;
};

}  // namespace

std::string readWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  std::string contents(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
  in.seekg(0);
  in.read(contents.data(), static_cast<std::streamsize>(contents.size()));
  return contents;
}

void fail(const std::string& what, const char* file, int line) {
  std::fprintf(stderr, "\nfuzz check failed at %s:%d: %s\n", file, line, what.c_str());
  std::fflush(stderr);
  std::abort();
}

const std::filesystem::path& scratchFolder() {
  static const OwnFolder folder;
  return folder.path();
}

std::vector<InputFile> splitFiles(std::span<const std::uint8_t> input, std::size_t count) {
  std::vector<InputFile> files(count);
  std::size_t at = 0;
  std::vector<std::uint16_t> lengths;
  for (std::size_t i = 0; i + 1 < count; ++i) {
    std::uint16_t length = 0;
    if (at + 2 <= input.size()) {
      length = static_cast<std::uint16_t>(input[at] | (input[at + 1] << 8));
    }
    at = std::min(at + 2, input.size());
    lengths.push_back(length);
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (i + 1 < count && lengths[i] == kMissing) {
      files[i].present = false;
      continue;
    }
    const std::size_t length =
        i + 1 < count ? std::min<std::size_t>(lengths[i], input.size() - at) : input.size() - at;
    const auto piece = input.subspan(at, length);
    files[i].bytes = toBytes(piece);
    at += length;
  }
  return files;
}

std::vector<std::byte> joinFiles(const std::vector<InputFile>& files) {
  std::vector<std::byte> out;
  for (std::size_t i = 0; i + 1 < files.size(); ++i) {
    if (files[i].bytes.size() >= kMissing) {
      throw std::length_error("a file of a fuzz input holds at most 65,534 bytes");
    }
    const auto length =
        files[i].present ? static_cast<std::uint16_t>(files[i].bytes.size()) : kMissing;
    out.push_back(static_cast<std::byte>(length & 0xFF));
    out.push_back(static_cast<std::byte>(length >> 8));
  }
  for (const auto& file : files) {
    out.insert(out.end(), file.bytes.begin(), file.bytes.end());
  }
  return out;
}

void placeFile(const std::filesystem::path& path, const InputFile& file) {
  if (!file.present) {
    std::filesystem::remove(path);
    return;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.bytes.data()),
            static_cast<std::streamsize>(file.bytes.size()));
  if (!out) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

TreeSnapshot snapshotTree(const std::filesystem::path& root) {
  TreeSnapshot snapshot;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string name = entry.path().lexically_relative(root).string();
    snapshot[name] = entry.is_directory() ? std::string("/") : readWholeFile(entry.path());
  }
  return snapshot;
}

std::string treeDifference(const TreeSnapshot& before, const TreeSnapshot& after) {
  std::string difference;
  for (const auto& [name, contents] : after) {
    const auto old = before.find(name);
    if (old == before.end()) {
      difference += "+ " + name + "\n";
    } else if (old->second != contents) {
      difference += "* " + name + "\n";
    }
  }
  for (const auto& [name, contents] : before) {
    if (!after.contains(name)) {
      difference += "- " + name + "\n";
    }
  }
  return difference;
}

void restoreTree(const std::filesystem::path& root, const TreeSnapshot& snapshot) {
  const TreeSnapshot now = snapshotTree(root);
  for (auto entry = now.rbegin(); entry != now.rend(); ++entry) {
    const auto wanted = snapshot.find(entry->first);
    if (wanted == snapshot.end() || (wanted->second == "/") != (entry->second == "/")) {
      std::filesystem::remove_all(root / entry->first);
    }
  }
  for (const auto& [name, contents] : snapshot) {
    const auto path = root / name;
    if (contents == "/") {
      std::filesystem::create_directories(path);
      continue;
    }
    const auto old = now.find(name);
    if (old == now.end() || old->second != contents) {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    }
  }
}

TreeSnapshot withoutPaths(TreeSnapshot snapshot, const std::vector<std::string>& paths) {
  std::erase_if(snapshot, [&](const auto& entry) {
    return std::any_of(paths.begin(), paths.end(), [&](const std::string& path) {
      return entry.first == path || entry.first.starts_with(path + "/");
    });
  });
  return snapshot;
}

std::vector<std::byte> toBytes(std::span<const std::uint8_t> input) {
  std::vector<std::byte> bytes(input.size());
  std::transform(input.begin(), input.end(), bytes.begin(),
                 [](std::uint8_t b) { return static_cast<std::byte>(b); });
  return bytes;
}

std::string textOf(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace lum::fuzz
