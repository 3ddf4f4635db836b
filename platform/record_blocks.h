#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// Calls visit(first, block, present) for records 1 to count of a file,
// read a block of up to kBlockRecords records at a time: a large file needs
// no buffer of its own size, whose fresh pages would cost more than the
// reading. block holds the records from number first on, whole; the bytes
// of records past the end (or of a missing file) are zeros, and present
// counts the records before them.
constexpr std::size_t kBlockRecords = 64;

template <std::size_t kRecordSize, class Visit>
void forEachRecordBlock(FileOps& ops, const std::filesystem::path& file, int count, Visit visit) {
  std::vector<std::byte> block(kBlockRecords * kRecordSize);
  const FileHandle handle = ops.exists(file) ? ops.open(file, OpenMode::ReadOnly) : FileHandle();
  for (int first = 1; first <= count; first += static_cast<int>(kBlockRecords)) {
    const auto records = std::min(kBlockRecords, static_cast<std::size_t>(count - first + 1));
    const std::span<std::byte> wanted = std::span(block).first(records * kRecordSize);
    const std::size_t got =
        handle.isOpen()
            ? ops.readAt(handle, static_cast<std::uint64_t>(first - 1) * kRecordSize, wanted)
            : 0;
    std::fill(wanted.begin() + static_cast<std::ptrdiff_t>(got), wanted.end(), std::byte{0});
    visit(first, std::span<const std::byte>(wanted), (got + kRecordSize - 1) / kRecordSize);
  }
}

// The same a record at a time: visit(n, bytes, present).
template <std::size_t kRecordSize, class Visit>
void forEachRecordBytes(FileOps& ops, const std::filesystem::path& file, int count, Visit visit) {
  forEachRecordBlock<kRecordSize>(
      ops, file, count, [&](int first, std::span<const std::byte> block, std::size_t present) {
        for (std::size_t i = 0; i * kRecordSize < block.size(); ++i) {
          visit(first + static_cast<int>(i), block.subspan(i * kRecordSize, kRecordSize),
                i < present);
        }
      });
}

// The same, decoded: records past the end are blank, a cut last record is
// padded with zeros.
template <class Record, class Visit>
void forEachRecord(FileOps& ops, const std::filesystem::path& file, int count, Visit visit) {
  forEachRecordBytes<Record::kSize>(ops, file, count,
                                    [&](int n, std::span<const std::byte> bytes, bool present) {
                                      visit(n, present ? Record::decode(bytes) : Record{});
                                    });
}

}  // namespace lum
