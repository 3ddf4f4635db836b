#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace lum {

// A file operation failed: the operation, the file and the system's reason.
class FileError : public std::runtime_error {
 public:
  FileError(std::string operation, std::filesystem::path path, int errorNumber);
  FileError(std::string operation, std::filesystem::path path, const std::string& reason);

  const std::string& operation() const { return mOperation; }
  const std::filesystem::path& path() const { return mPath; }
  // errno of the failure, 0 when the failure was not a system error.
  int errorNumber() const { return mErrorNumber; }

 private:
  std::string mOperation;
  std::filesystem::path mPath;
  int mErrorNumber = 0;
};

// Bytes on disk that do not make a valid record: a truncated record, a
// number out of range, a record number below 1.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Text that cannot be stored in a single-byte Windows-1252 field.
class EncodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace lum
