#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/file_ops.h"
#include "post/login/file_registry.h"

namespace lum {

// What identifies a file's contents without reading them: its inode, size
// and change times; a file that is not there has the stamp of none.
struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since the epoch
  std::int64_t changed = 0;   // the inode's change time, likewise
  bool operator==(const FileStamp&) const = default;
};
FileStamp stampOf(const std::filesystem::path& file);

// The files of a work area as one state, read without its lock. A save by a
// running copy changes its files one after the other between writing its
// rollback marker and removing it, so a reader that took some files before
// and some after would mix two states. While a marker is present, the
// files it names are read from their copies, as they were before the save
// (a file it notes as new as not there), and the other files live. Every
// file read is noted with its stamp, and the marker with its own (or its
// absence), so stillHolds() can tell afterwards whether each still holds
// what was read. If so, everything read is what the files held at that
// moment, and then either no save was under way or the same one whose
// copies were read: one state, never a mix. If not, the reading is to be
// done again.
class WorkAreaSnapshot final : public FileSource {
 public:
  // area: the work area (its "Rollback" folder holds a save's marker);
  // privateFolder: an empty folder of this process for private files.
  WorkAreaSnapshot(FileOps& ops, const std::filesystem::path& area,
                   std::filesystem::path privateFolder);

  std::filesystem::path readPath(const std::filesystem::path& live) override;
  // A copy of the file as read; the page files of a report start empty,
  // since the report writes them anew.
  std::filesystem::path privateFile(std::string_view logicalName,
                                    const std::filesystem::path& live) override;

  // Whether every file read, and the marker, is still as it was read.
  bool stillHolds() const;

 private:
  struct Noted {
    FileStamp stamp;
    // The contents' hash, for a file changed so lately that a change in
    // the same tick of the file system's clock would keep its stamp.
    std::optional<std::size_t> hash;
  };

  void note(const std::filesystem::path& file);
  std::optional<std::size_t> hashOf(const std::filesystem::path& file) const;

  FileOps* mOps;
  std::filesystem::path mPrivateFolder;
  // By the file's key: the copy that holds it, or nothing for a new file.
  std::map<std::string, std::optional<std::filesystem::path>> mKept;
  std::map<std::string, std::filesystem::path> mPrivateFiles;
  std::map<std::filesystem::path, Noted> mNoted;
};

}  // namespace lum
