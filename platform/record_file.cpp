#include "platform/record_file.h"

#include <fmt/core.h>

#include <algorithm>
#include <limits>

#include "platform/errors.h"

namespace lum {

RecordFile::RecordFile(FileOps& ops, std::filesystem::path path, std::size_t recordLength,
                       Access access)
    : mOps(&ops), mRecordLength(recordLength) {
  if (recordLength == 0) {
    throw FormatError("A record file needs a record length above 0: " + path.string());
  }
  mFile =
      ops.open(path, access == Access::ReadOnly ? OpenMode::ReadOnly : OpenMode::ReadWriteCreate);
}

std::int64_t RecordFile::recordCount() const {
  return static_cast<std::int64_t>(mOps->size(mFile) / mRecordLength);
}

std::uint64_t RecordFile::offsetOf(std::int64_t recordNumber) const {
  if (!mFile.isOpen()) {
    throw FileError("use", mFile.path(), "the file is closed");
  }
  const auto limit =
      std::numeric_limits<std::int64_t>::max() / static_cast<std::int64_t>(mRecordLength);
  if (recordNumber < 1 || recordNumber > limit) {
    throw FormatError(fmt::format("Bad record number {} in {}", recordNumber, path().string()));
  }
  return static_cast<std::uint64_t>(recordNumber - 1) * mRecordLength;
}

std::vector<std::byte> RecordFile::read(std::int64_t recordNumber) const {
  const std::uint64_t offset = offsetOf(recordNumber);
  std::vector<std::byte> bytes(mRecordLength);
  const std::size_t got = mOps->readAt(mFile, offset, bytes);
  if (got != 0 && got != mRecordLength) {
    throw FormatError(fmt::format("Record {} of {} is truncated: {} of {} bytes", recordNumber,
                                  path().string(), got, mRecordLength));
  }
  return bytes;
}

std::vector<std::byte> RecordFile::readRecords(std::int64_t firstRecord, std::size_t count) const {
  if (count == 0) {
    return {};
  }
  offsetOf(firstRecord + static_cast<std::int64_t>(count) - 1);
  std::vector<std::byte> bytes(count * mRecordLength);
  const std::size_t got = mOps->readAt(mFile, offsetOf(firstRecord), bytes);
  if (got % mRecordLength != 0) {
    throw FormatError(fmt::format("Record {} of {} is truncated: {} of {} bytes",
                                  firstRecord + static_cast<std::int64_t>(got / mRecordLength),
                                  path().string(), got % mRecordLength, mRecordLength));
  }
  return bytes;
}

std::span<const std::byte> RecordBlockReader::at(std::int64_t recordNumber) {
  const std::size_t length = mFile->recordLength();
  if (mFirst == 0 || recordNumber < mFirst ||
      recordNumber >= mFirst + static_cast<std::int64_t>(mBlock.size() / length)) {
    // Whole records only: a cut record past the one asked for is not this
    // reader's to find.
    const std::int64_t whole = mFile->recordCount() - recordNumber + 1;
    const auto count = static_cast<std::size_t>(
        std::clamp<std::int64_t>(whole, 1, static_cast<std::int64_t>(mBlockRecords)));
    mBlock = mFile->readRecords(recordNumber, count);
    mFirst = recordNumber;
  }
  return std::span<const std::byte>(mBlock).subspan(
      static_cast<std::size_t>(recordNumber - mFirst) * length, length);
}

void RecordFile::write(std::int64_t recordNumber, std::span<const std::byte> bytes) {
  if (bytes.size() != mRecordLength) {
    throw FormatError(fmt::format("Record {} of {} must be {} bytes, not {}", recordNumber,
                                  path().string(), mRecordLength, bytes.size()));
  }
  mOps->writeAt(mFile, offsetOf(recordNumber), bytes);
}

void RecordFile::writeRecords(std::int64_t firstRecord, std::span<const std::byte> bytes) {
  if (bytes.size() % mRecordLength != 0) {
    throw FormatError(fmt::format("Records of {} must be {} bytes each; {} bytes do not divide",
                                  path().string(), mRecordLength, bytes.size()));
  }
  offsetOf(firstRecord + static_cast<std::int64_t>(bytes.size() / mRecordLength) - 1);
  mOps->writeAt(mFile, offsetOf(firstRecord), bytes);
}

void RecordFile::flush() {
  mOps->flush(mFile);
}

void RecordFile::close() {
  if (mFile.isOpen()) {
    mOps->close(mFile);
  }
}

}  // namespace lum
