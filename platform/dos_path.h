#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// Maps the Windows-style names the programs use ("..\System\Ent-1\Oper.dat",
// ".\Ent-1\Op-3\Jnl-0001.dat", "A:\Ent.dat") to native paths: "\" becomes
// "/", relative names start at the program directory, "A:" is the floppy
// folder. As on Windows, an existing file or folder is found whatever the
// case of its name; a name that does not exist yet keeps the case it is
// written in, so a new file gets exactly that name.
class DosPath {
 public:
  DosPath(FileOps& ops, std::filesystem::path programDirectory,
          std::filesystem::path floppyDirectory);

  // The floppy folder: the LUM_FLOPPY value when set and not empty, else
  // "floppy" beside the program directory.
  static std::filesystem::path floppyDirectoryFor(const std::filesystem::path& programDirectory,
                                                  const char* lumFloppy);

  const std::filesystem::path& programDirectory() const { return mProgramDirectory; }
  const std::filesystem::path& floppyDirectory() const { return mFloppyDirectory; }

  std::filesystem::path resolve(std::string_view dosName) const;
  // Files (not folders) whose names match the wildcard pattern of the last
  // part of dosPattern, case-insensitively; sorted by name.
  std::vector<std::filesystem::path> list(std::string_view dosPattern) const;
  // Deletes the files list() gives; returns how many.
  std::size_t removeMatching(std::string_view dosPattern) const;

 private:
  std::filesystem::path findEntry(const std::filesystem::path& directory,
                                  const std::string& name) const;

  // A folder's names by their capitals, as listed when the folder was last
  // changed at `changed`.
  struct Listing {
    std::chrono::nanoseconds changed;
    std::unordered_map<std::string, std::string> byCapitals;
  };
  // The folder's name for `name` whatever its case, from a listing kept
  // while the folder is unchanged; nothing when it has none.
  std::optional<std::string> nameInFolder(const std::filesystem::path& directory,
                                          const std::string& name) const;

  FileOps* mOps;
  std::filesystem::path mProgramDirectory;
  std::filesystem::path mFloppyDirectory;
  // Looking up a missing name would list its folder each time (a report
  // over twelve periods asks for many files that are not there).
  mutable std::mutex mListingsLock;
  mutable std::map<std::filesystem::path, Listing> mListings;
};

}  // namespace lum
