#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// A random-access file of fixed-length records, numbered from 1. Opening a
// missing file creates it empty; a record beyond the end reads as zeros;
// writing beyond the end extends the file with zeros up to the record.
// Every access goes through FileOps; failures throw FileError, bad record
// numbers and truncated records FormatError.
class RecordFile {
 public:
  enum class Access { ReadWrite, ReadOnly };

  // ReadWrite creates a missing file; ReadOnly needs an existing one (a
  // file this program only reads and must not create) and refuses writes.
  RecordFile(FileOps& ops, std::filesystem::path path, std::size_t recordLength,
             Access access = Access::ReadWrite);

  const std::filesystem::path& path() const { return mFile.path(); }
  std::size_t recordLength() const { return mRecordLength; }
  // Whole records in the file.
  std::int64_t recordCount() const;
  bool isOpen() const { return mFile.isOpen(); }

  std::vector<std::byte> read(std::int64_t recordNumber) const;
  void write(std::int64_t recordNumber, std::span<const std::byte> bytes);
  // Writes consecutive records from firstRecord in one operation; bytes
  // must be a whole number of records.
  void writeRecords(std::int64_t firstRecord, std::span<const std::byte> bytes);

  template <class Record>
  Record get(std::int64_t recordNumber) const {
    return Record::decode(read(recordNumber));
  }
  template <class Record>
  void put(std::int64_t recordNumber, const Record& record) {
    write(recordNumber, record.encode());
  }

  void flush();
  void close();

 private:
  std::uint64_t offsetOf(std::int64_t recordNumber) const;

  FileOps* mOps;
  FileHandle mFile;
  std::size_t mRecordLength;
};

}  // namespace lum
