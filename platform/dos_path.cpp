#include "platform/dos_path.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "platform/errors.h"
#include "platform/text.h"

namespace lum {
namespace {

bool isDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

DosPath::DosPath(FileOps& ops, std::filesystem::path programDirectory,
                 std::filesystem::path floppyDirectory)
    : mOps(&ops),
      mProgramDirectory(std::move(programDirectory)),
      mFloppyDirectory(std::move(floppyDirectory)) {}

std::filesystem::path DosPath::floppyDirectoryFor(const std::filesystem::path& programDirectory,
                                                  const char* lumFloppy) {
  if (lumFloppy != nullptr && *lumFloppy != '\0') {
    return lumFloppy;
  }
  return programDirectory.parent_path() / "floppy";
}

std::filesystem::path DosPath::findEntry(const std::filesystem::path& directory,
                                         const std::string& name) const {
  if (name == "." || name == ".." || mOps->exists(directory / name)) {
    return directory / name;
  }
  return directory / nameInFolder(directory, name).value_or(name);
}

// A listing is kept only when it was taken well after the folder's last
// change: file times move in coarse steps, and a name added in the same
// step as the change before the listing would leave the folder's time as
// it was.
std::optional<std::string> DosPath::nameInFolder(const std::filesystem::path& directory,
                                                 const std::string& name) const {
  constexpr auto kSettled = std::chrono::milliseconds(100);
  const auto changed = mOps->folderChangedAt(directory);
  if (!changed) {
    return std::nullopt;
  }
  const std::scoped_lock lock(mListingsLock);
  auto kept = mListings.find(directory);
  if (kept == mListings.end() || kept->second.changed != *changed) {
    Listing listing{*changed, {}};
    for (std::string& entry : mOps->list(directory)) {
      listing.byCapitals.emplace(toUpper(entry), std::move(entry));
    }
    const bool settled = std::chrono::system_clock::now().time_since_epoch() - *changed >= kSettled;
    kept = mListings.insert_or_assign(directory, std::move(listing)).first;
    if (!settled) {
      kept->second.changed = {};  // listed again next time
    }
  }
  const auto found = kept->second.byCapitals.find(toUpper(name));
  return found != kept->second.byCapitals.end() ? std::optional(found->second) : std::nullopt;
}

std::filesystem::path DosPath::resolve(std::string_view dosName) const {
  std::string name(dosName);
  std::replace(name.begin(), name.end(), '\\', '/');

  std::filesystem::path path = mProgramDirectory;
  std::string_view rest = name;
  if (rest.size() >= 2 && rest[1] == ':' && isDriveLetter(rest[0])) {
    if (rest[0] != 'A' && rest[0] != 'a') {
      throw FileError("open", std::string(dosName),
                      "drive " + name.substr(0, 2) + " is not available");
    }
    path = mFloppyDirectory;
    rest.remove_prefix(2);
  } else if (!rest.empty() && rest.front() == '/') {
    path = "/";
  }

  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string part(rest.substr(0, slash));
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (!part.empty()) {
      path = findEntry(path, part);
    }
  }
  path = path.lexically_normal();
  if (path.has_relative_path() && path.filename().empty()) {
    path = path.parent_path();  // "dir/." normalises to "dir/"
  }
  return path;
}

std::vector<std::filesystem::path> DosPath::list(std::string_view dosPattern) const {
  std::string pattern(dosPattern);
  std::replace(pattern.begin(), pattern.end(), '\\', '/');
  const std::size_t slash = pattern.rfind('/');
  const std::size_t drive = (pattern.size() >= 2 && pattern[1] == ':') ? 2 : 0;
  const std::size_t nameStart = slash == std::string::npos ? drive : slash + 1;
  const std::filesystem::path directory = resolve(pattern.substr(0, nameStart));
  const std::string namePattern = pattern.substr(nameStart);

  std::vector<std::filesystem::path> files;
  for (const std::string& entry : mOps->list(directory)) {
    if (wildcardMatch(namePattern, entry) && !mOps->isDirectory(directory / entry)) {
      files.push_back(directory / entry);
    }
  }
  return files;
}

std::size_t DosPath::removeMatching(std::string_view dosPattern) const {
  std::size_t removed = 0;
  for (const auto& file : list(dosPattern)) {
    removed += mOps->remove(file) ? 1 : 0;
  }
  return removed;
}

}  // namespace lum
