#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// Replaces and deletes files of one folder as one step that completes or
// leaves the folder as it was, also when the process dies half way.
//
// The plan (which names change, which existed) is written first as a marker
// in the folder. The new files are copied in under temporary names
// ("~NAME.new") and flushed; then, in the order given, each old file is
// renamed aside ("~NAME.old") and the new one renamed into its place. Only
// when every file is in place does the marker become "done"; the old files
// are deleted after that. A failure before that point puts every old file
// back; recover() does the same for a plan left by a process that died, or
// finishes the deleting of a done one.
class FolderReplacement {
 public:
  FolderReplacement(FileOps& ops, std::filesystem::path folder);

  // The file name of the folder becomes a copy of source.
  void copyIn(const std::filesystem::path& source, std::string name);
  // The file name of the folder is deleted.
  void remove(std::string name);

  // Carries out the changes. On a failure the folder is put back as it was
  // and the FileError thrown on; when putting it back fails too, the plan
  // stays in the folder for recover().
  void commit();

  enum class Recovered { Nothing, PutBack, Finished };
  // Undoes a replacement that was cut short, or finishes one that was done.
  static Recovered recover(FileOps& ops, const std::filesystem::path& folder);
  // True while a replacement of the folder waits for recover().
  static bool pending(FileOps& ops, const std::filesystem::path& folder);

 private:
  struct Change {
    std::string name;
    bool incoming = false;  // a new file comes in (from source); else the file goes
    bool existed = false;
    std::filesystem::path source;
  };

  static std::vector<Change> readPlan(FileOps& ops, const std::filesystem::path& marker);

  static void putBack(FileOps& ops, const std::filesystem::path& folder,
                      const std::vector<Change>& changes);
  static void deleteOldFiles(FileOps& ops, const std::filesystem::path& folder,
                             const std::vector<Change>& changes);

  FileOps* mOps;
  std::filesystem::path mFolder;
  std::vector<Change> mChanges;
};

}  // namespace lum
