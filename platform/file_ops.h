#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lum {

// The kinds of file operation, counted separately so that a test can aim a
// fault at "the third write" as well as at "the tenth operation of any kind".
enum class FileOp { Any, Open, Read, Write, Flush, Rename, Copy, Remove, List, MakeDirectory };

// What an injected fault does to the operation it hits.
enum class Failure {
  NoSpace,     // fails with ENOSPC, nothing done
  IoError,     // fails with EIO, nothing done
  ShortWrite,  // a write stores only its first half, then fails with ENOSPC
  Stop,        // the process ends at once, as on a power cut (exit status kStoppedExitCode)
};

enum class OpenMode {
  ReadOnly,         // the file must exist
  ReadWriteCreate,  // created empty when missing
  WriteTruncate,    // created or emptied
};

// What a change to the file system does to a path: its file is written,
// created, replaced, renamed or deleted; or a folder is made there.
enum class FileChange { File, Folder };

// An open file. Closes itself when it goes out of scope; FileOps::close
// closes it and reports a failure.
class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(int fd, std::filesystem::path path) : mFd(fd), mPath(std::move(path)) {}
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();

  bool isOpen() const { return mFd >= 0; }
  int fd() const { return mFd; }
  const std::filesystem::path& path() const { return mPath; }
  int release();

 private:
  int mFd = -1;
  std::filesystem::path mPath;
};

// The one door to the file system for both programs: every open, read,
// write, flush, rename, copy, delete and listing goes through an object of
// this class, so tests can make any of them fail. Failures are thrown as
// FileError. Not thread-safe: each program works on one thread.
class FileOps {
 public:
  static constexpr int kStoppedExitCode = 86;

  FileHandle open(const std::filesystem::path& path, OpenMode mode);
  void close(FileHandle& file);
  // Reads up to buffer.size() bytes at offset; returns how many were there.
  std::size_t readAt(const FileHandle& file, std::uint64_t offset, std::span<std::byte> buffer);
  void writeAt(const FileHandle& file, std::uint64_t offset, std::span<const std::byte> bytes);
  std::uint64_t size(const FileHandle& file) const;
  // Takes an exclusive lock on the open file that lasts until the file is
  // closed or the process ends, whichever comes first (an open file
  // description lock, so it also excludes other opens in this process).
  // Returns false when another holder has it. Not counted.
  bool tryLock(const FileHandle& file);
  // Makes the file readable and writable by its owner only (for files that
  // hold a password). Not counted.
  void restrictToOwner(const FileHandle& file);
  // Makes the file's contents durable (fsync).
  void flush(const FileHandle& file);
  // Makes a directory's entries durable, after a create, rename or delete in it.
  void flushDirectory(const std::filesystem::path& directory);

  void rename(const std::filesystem::path& from, const std::filesystem::path& to);
  // Copies a file over any existing target.
  void copy(const std::filesystem::path& from, const std::filesystem::path& to);
  // Deletes a file; returns false when there was none.
  bool remove(const std::filesystem::path& path);
  // The names of the entries of a directory, sorted.
  std::vector<std::string> list(const std::filesystem::path& directory);
  void makeDirectory(const std::filesystem::path& directory);
  // Deletes a folder when it is empty; false when it is not (or not there).
  bool removeEmptyDirectory(const std::filesystem::path& directory);
  // Makes the directory and every missing one above it, each as one
  // counted operation.
  void makeDirectories(const std::filesystem::path& directory);

  // Whole-file helpers built on the operations above.
  std::vector<std::byte> readFile(const std::filesystem::path& path);
  void writeFile(const std::filesystem::path& path, std::span<const std::byte> bytes);

  // Status queries; these never fail and are not counted.
  bool exists(const std::filesystem::path& path) const;
  bool isDirectory(const std::filesystem::path& path) const;
  // When a folder's names last changed (its modification time, since the
  // epoch); nothing when there is no folder at the path.
  std::optional<std::chrono::nanoseconds> folderChangedAt(const std::filesystem::path& path) const;

  // Told before every change to the file system, with the path it changes:
  // a write, an open that creates or empties a file, both names of a
  // rename, a copy's target, a delete, a new folder. A transaction keeps
  // what it will undo this way; nothing to clear it.
  using ChangeObserver = std::function<void(const std::filesystem::path&, FileChange)>;
  void setChangeObserver(ChangeObserver observer) { mObserver = std::move(observer); }
  bool observesChanges() const { return static_cast<bool>(mObserver); }
  // Tells the observer of a change about to be made by other means.
  void changing(const std::filesystem::path& path, FileChange change = FileChange::File) {
    if (mObserver) {
      mObserver(path, change);
    }
  }

  // Test hook: the nth operation of kind op (counting from 1 after the
  // counters were last reset, FileOp::Any counting every kind) fails.
  void injectFault(FileOp op, std::uint64_t nth, Failure failure);
  void clearFaults();
  // Test hook: flushes are counted (and take faults) but leave the disk to
  // the system. A test that stops a process at every operation needs the
  // page cache, not the disk, to survive the stop; the syncs only make it slow.
  void setSyncs(bool syncs) { mSyncs = syncs; }
  std::uint64_t count(FileOp op) const;
  void resetCounts();

  // Hook of a whole process, for the crash matrix, which drives lumctl from
  // outside (scripts/crash-matrix): the nth counted operation of any FileOps
  // of the process fails (counting from 1, every kind, as FileOp::Any).
  // Before it does, `told` hears its number, its name and its path.
  // Nothing of the programs sets it; lumctl's main does, from LUM_FAULT_AT.
  using FaultTold = std::function<void(std::uint64_t, const char*, const std::filesystem::path&)>;
  static void injectProcessFault(std::uint64_t nth, Failure failure, FaultTold told);
  // The operations counted in this process since then; 0 before.
  static std::uint64_t processCount();

 private:
  struct Fault {
    FileOp op;
    std::uint64_t nth;
    Failure failure;
  };

  // Counts the operation and throws the fault aimed at it, if any; returns
  // true when the fault is a short write, which the write itself carries out.
  bool begin(FileOp op, const std::filesystem::path& path, const char* name);

  std::vector<Fault> mFaults;
  std::uint64_t mCounts[10] = {};
  ChangeObserver mObserver;
  bool mSyncs = true;
};

}  // namespace lum
