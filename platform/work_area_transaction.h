#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// A change to several files, in the work area or beyond it, that completes
// or leaves every file as it was, whatever stops it: a crash, a kill, a
// full disk.
//
// Starting one writes a marker into the folder (the work area's
// "Rollback"). From then on, before FileOps changes a file for the first
// time, the file is copied into the folder (or noted as missing) and the
// marker says so, both flushed to disk. commit() flushes every changed file
// and only then removes the marker. A transaction that ends without commit
// puts the files back at once; one cut short by the end of the process is
// put back by recover() when the work area is next opened.
//
// A transaction started while another runs on the same FileOps joins it:
// its changes are kept by the outer one, and only the outer commit counts.
//
// Marker lines, in the order the changes began: "1 path" a file that
// existed (its copy is the line's number, from 0, + ".copy"), "0 path" one
// that did not, "D path" a folder that did not; paths relative to the
// folder's parent. A line without its line end was never acted on.
class WorkAreaTransaction {
 public:
  WorkAreaTransaction(FileOps& ops, std::filesystem::path folder);
  WorkAreaTransaction(const WorkAreaTransaction&) = delete;
  WorkAreaTransaction& operator=(const WorkAreaTransaction&) = delete;
  // Without commit: puts everything back; when that fails too, the marker
  // stays for recover().
  ~WorkAreaTransaction();

  // Keeps several files at once, before they change (one marker write
  // instead of one each).
  void keep(const std::vector<std::filesystem::path>& files);
  // Every change is on disk: the copies are no longer needed.
  void commit();
  // Files in this folder are not kept: a scratch folder whose files the
  // change moves out of it, and which goes away whatever the outcome.
  void leaveOut(const std::filesystem::path& folder);

  // Puts back what an interrupted transaction changed; true when there was one.
  static bool recover(FileOps& ops, const std::filesystem::path& folder);

  // Where a change builds files before its transaction begins (bring-back
  // extracts the whole archive there first): "~Staging" beside the
  // rollback folder. Every opening of the area removes what a cut left
  // there, with removeStaging.
  static std::filesystem::path stagingFolder(const std::filesystem::path& rollbackFolder) {
    return rollbackFolder.parent_path() / "~Staging";
  }
  static void removeStaging(FileOps& ops, const std::filesystem::path& rollbackFolder);

  // A file of a transaction under way (or cut short) and the copy that
  // holds it as it was before; no copy for a file that did not exist.
  struct Kept {
    std::filesystem::path file;
    std::optional<std::filesystem::path> copy;
  };
  // The files the folder's marker names, in its order; nothing when there
  // is no marker. Throws FormatError for a damaged marker.
  static std::optional<std::vector<Kept>> pending(FileOps& ops,
                                                  const std::filesystem::path& folder);

 private:
  void changing(const std::filesystem::path& path, FileChange change);
  void observe();
  void append(const std::string& lines);

  FileOps* mOps;
  std::filesystem::path mFolder;
  std::set<std::filesystem::path> mKept;
  std::set<std::filesystem::path> mLeftOut;
  std::size_t mLines = 0;
  bool mOpen = false;
  bool mJoined = false;
};

}  // namespace lum
