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
  // count consecutive records from firstRecord in one operation, as read
  // would give them one by one.
  std::vector<std::byte> readRecords(std::int64_t firstRecord, std::size_t count) const;
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

// Reads the records of a file a block at a time, for a reader that goes
// mostly forwards: a page of a report is hundreds of records, and one
// read each cost more than drawing them.
class RecordBlockReader {
 public:
  explicit RecordBlockReader(const RecordFile& file, std::size_t blockRecords = 256)
      : mFile(&file), mBlockRecords(blockRecords) {}

  // Record n's bytes, valid until the next call.
  std::span<const std::byte> at(std::int64_t recordNumber);
  template <class Record>
  Record get(std::int64_t recordNumber) {
    return Record::decode(at(recordNumber));
  }

 private:
  const RecordFile* mFile;
  std::size_t mBlockRecords;
  std::int64_t mFirst = 0;  // the block's first record; 0: none read
  std::vector<std::byte> mBlock;
};

}  // namespace lum
