#include "platform/file_ops.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/errors.h"

namespace lum {
namespace {

std::size_t index(FileOp op) {
  return static_cast<std::size_t>(op);
}

[[noreturn]] void fail(const char* name, const std::filesystem::path& path, Failure failure) {
  if (failure == Failure::IoError) {
    throw FileError(name, path, EIO);
  }
  throw FileError(name, path, ENOSPC);
}

// The fault of injectProcessFault: one for the whole process, since lumctl
// makes several FileOps (the log-in's, the data manager's, the command's).
struct ProcessFault {
  bool armed = false;
  std::uint64_t count = 0;
  std::uint64_t nth = 0;
  Failure failure = Failure::Stop;
  FileOps::FaultTold told;
};

ProcessFault& processFault() {
  static ProcessFault fault;
  return fault;
}

int openFlags(OpenMode mode) {
  switch (mode) {
    case OpenMode::ReadOnly:
      return O_RDONLY;
    case OpenMode::ReadWriteCreate:
      return O_RDWR | O_CREAT;
    case OpenMode::WriteTruncate:
      return O_WRONLY | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

void writeAll(int fd, std::uint64_t offset, std::span<const std::byte> bytes,
              const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw FileError("write", path, errno);
    }
    if (n == 0) {
      throw FileError("write", path, ENOSPC);
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
}

}  // namespace

FileHandle::FileHandle(FileHandle&& other) noexcept
    : mFd(other.release()), mPath(std::move(other.mPath)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (mFd >= 0) {
      ::close(mFd);
    }
    mFd = other.release();
    mPath = std::move(other.mPath);
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (mFd >= 0) {
    ::close(mFd);
  }
}

int FileHandle::release() {
  const int fd = mFd;
  mFd = -1;
  return fd;
}

bool FileOps::begin(FileOp op, const std::filesystem::path& path, const char* name) {
  ++mCounts[index(FileOp::Any)];
  ++mCounts[index(op)];
  Failure failure = Failure::Stop;
  const auto hit = std::find_if(mFaults.begin(), mFaults.end(), [&](const Fault& fault) {
    return (fault.op == op || fault.op == FileOp::Any) && fault.nth == mCounts[index(fault.op)];
  });
  ProcessFault& process = processFault();
  if (process.armed && ++process.count == process.nth) {
    failure = process.failure;
    if (process.told) {
      process.told(process.count, name, path);
    }
  } else if (hit != mFaults.end()) {
    failure = hit->failure;
    mFaults.erase(hit);
  } else {
    return false;
  }
  if (failure == Failure::Stop) {
    std::_Exit(kStoppedExitCode);
  }
  if (failure == Failure::ShortWrite && op == FileOp::Write) {
    return true;
  }
  fail(name, path, failure);
}

FileHandle FileOps::open(const std::filesystem::path& path, OpenMode mode) {
  if (mode == OpenMode::WriteTruncate || (mode == OpenMode::ReadWriteCreate && !exists(path))) {
    changing(path);
  }
  begin(FileOp::Open, path, "open");
  int fd;
  do {
    fd = ::open(path.c_str(), openFlags(mode) | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    throw FileError("open", path, errno);
  }
  return FileHandle(fd, path);
}

void FileOps::close(FileHandle& file) {
  const std::filesystem::path path = file.path();
  const int fd = file.release();
  if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) {
    throw FileError("close", path, errno);
  }
}

std::size_t FileOps::readAt(const FileHandle& file, std::uint64_t offset,
                            std::span<std::byte> buffer) {
  begin(FileOp::Read, file.path(), "read");
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = ::pread(file.fd(), buffer.data() + done, buffer.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw FileError("read", file.path(), errno);
    }
    if (n == 0) {
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void FileOps::writeAt(const FileHandle& file, std::uint64_t offset,
                      std::span<const std::byte> bytes) {
  changing(file.path());
  if (begin(FileOp::Write, file.path(), "write")) {
    const std::size_t part = bytes.size() / 2;
    writeAll(file.fd(), offset, bytes.first(part), file.path());
    throw FileError("write", file.path(),
                    "short write: " + std::to_string(part) + " of " + std::to_string(bytes.size()) +
                        " bytes written, no space left on device");
  }
  writeAll(file.fd(), offset, bytes, file.path());
}

std::uint64_t FileOps::size(const FileHandle& file) const {
  struct stat st {};
  if (::fstat(file.fd(), &st) != 0) {
    throw FileError("examine", file.path(), errno);
  }
  return static_cast<std::uint64_t>(st.st_size);
}

bool FileOps::tryLock(const FileHandle& file) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(file.fd(), F_OFD_SETLK, &lock) == 0) {
    return true;
  }
  if (errno == EAGAIN || errno == EACCES) {
    return false;
  }
  throw FileError("lock", file.path(), errno);
}

void FileOps::flush(const FileHandle& file) {
  begin(FileOp::Flush, file.path(), "flush");
  if (mSyncs && ::fsync(file.fd()) != 0) {
    throw FileError("flush", file.path(), errno);
  }
}

void FileOps::flushDirectory(const std::filesystem::path& directory) {
  begin(FileOp::Flush, directory, "flush");
  if (!mSyncs) {
    return;
  }
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    throw FileError("flush", directory, errno);
  }
  const int rc = ::fsync(fd);
  const int error = errno;
  ::close(fd);
  if (rc != 0) {
    throw FileError("flush", directory, error);
  }
}

void FileOps::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  changing(from);
  changing(to);
  begin(FileOp::Rename, from, "rename");
  if (::rename(from.c_str(), to.c_str()) != 0) {
    throw FileError("rename", from, errno);
  }
}

void FileOps::copy(const std::filesystem::path& from, const std::filesystem::path& to) {
  changing(to);
  begin(FileOp::Copy, from, "copy");
  std::error_code error;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
  if (error) {
    throw FileError("copy", from, error.message() + " (to " + to.string() + ")");
  }
}

bool FileOps::remove(const std::filesystem::path& path) {
  changing(path);
  begin(FileOp::Remove, path, "delete");
  if (::unlink(path.c_str()) != 0) {
    if (errno == ENOENT) {
      return false;
    }
    throw FileError("delete", path, errno);
  }
  return true;
}

std::vector<std::string> FileOps::list(const std::filesystem::path& directory) {
  begin(FileOp::List, directory, "list");
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
  if (!dir) {
    throw FileError("list", directory, errno);
  }
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      names.push_back(name);
    }
    errno = 0;
  }
  if (errno != 0) {
    throw FileError("list", directory, errno);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void FileOps::makeDirectory(const std::filesystem::path& directory) {
  if (!isDirectory(directory)) {
    changing(directory, FileChange::Folder);
  }
  begin(FileOp::MakeDirectory, directory, "create folder");
  if (::mkdir(directory.c_str(), 0755) != 0 && errno != EEXIST) {
    throw FileError("create folder", directory, errno);
  }
}

bool FileOps::removeEmptyDirectory(const std::filesystem::path& directory) {
  begin(FileOp::Remove, directory, "delete folder");
  if (::rmdir(directory.c_str()) != 0) {
    if (errno == ENOENT || errno == ENOTEMPTY || errno == EEXIST) {
      return false;
    }
    throw FileError("delete folder", directory, errno);
  }
  return true;
}

void FileOps::makeDirectories(const std::filesystem::path& directory) {
  std::vector<std::filesystem::path> missing;
  for (auto path = directory; !path.empty() && !isDirectory(path); path = path.parent_path()) {
    missing.push_back(path);
    if (path == path.parent_path()) {
      break;
    }
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    makeDirectory(*it);
  }
}

void FileOps::restrictToOwner(const FileHandle& file) {
  if (::fchmod(file.fd(), S_IRUSR | S_IWUSR) != 0) {
    throw FileError("chmod", file.path(), errno);
  }
}

std::vector<std::byte> FileOps::readFile(const std::filesystem::path& path) {
  FileHandle file = open(path, OpenMode::ReadOnly);
  std::vector<std::byte> bytes(static_cast<std::size_t>(size(file)));
  bytes.resize(readAt(file, 0, bytes));
  close(file);
  return bytes;
}

void FileOps::writeFile(const std::filesystem::path& path, std::span<const std::byte> bytes) {
  FileHandle file = open(path, OpenMode::WriteTruncate);
  writeAt(file, 0, bytes);
  flush(file);
  close(file);
}

bool FileOps::exists(const std::filesystem::path& path) const {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool FileOps::isDirectory(const std::filesystem::path& path) const {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::chrono::nanoseconds> FileOps::folderChangedAt(
    const std::filesystem::path& path) const {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return std::nullopt;
  }
  return std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
}

void FileOps::injectFault(FileOp op, std::uint64_t nth, Failure failure) {
  mFaults.push_back({op, nth, failure});
}

void FileOps::injectProcessFault(std::uint64_t nth, Failure failure, FaultTold told) {
  processFault() = {true, 0, nth, failure, std::move(told)};
}

std::uint64_t FileOps::processCount() {
  return processFault().count;
}

void FileOps::clearFaults() {
  mFaults.clear();
}

std::uint64_t FileOps::count(FileOp op) const {
  return mCounts[index(op)];
}

void FileOps::resetCounts() {
  std::fill(std::begin(mCounts), std::end(mCounts), 0);
}

}  // namespace lum
