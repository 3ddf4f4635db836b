#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/file_ops.h"

namespace lum {

// Calls visit(n, record) for records 1 to count of a file, reading it a
// block at a time: a large file needs no buffer of its own size, whose
// fresh pages would cost more than the reading. Records past the end (or of
// a missing file) are blank; a cut last record is padded with zeros.
template <class Record, class Visit>
void forEachRecord(FileOps& ops, const std::filesystem::path& file, int count, Visit visit) {
  constexpr std::size_t kBlockRecords = 64;
  std::vector<std::byte> block(kBlockRecords * Record::kSize);
  const FileHandle handle = ops.exists(file) ? ops.open(file, OpenMode::ReadOnly) : FileHandle();
  for (int first = 1; first <= count; first += static_cast<int>(kBlockRecords)) {
    const auto records = std::min(kBlockRecords, static_cast<std::size_t>(count - first + 1));
    const std::span<std::byte> wanted = std::span(block).first(records * Record::kSize);
    const std::size_t got =
        handle.isOpen()
            ? ops.readAt(handle, static_cast<std::uint64_t>(first - 1) * Record::kSize, wanted)
            : 0;
    std::fill(wanted.begin() + static_cast<std::ptrdiff_t>(got), wanted.end(), std::byte{0});
    for (std::size_t i = 0; i < records; ++i) {
      const int n = first + static_cast<int>(i);
      if (i * Record::kSize >= got) {
        visit(n, Record{});
      } else {
        visit(n, Record::decode(wanted.subspan(i * Record::kSize, Record::kSize)));
      }
    }
  }
}

}  // namespace lum
