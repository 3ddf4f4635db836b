#pragma once

#include <filesystem>
#include <span>

#include "platform/fields.h"
#include "tests/support/test_support.h"

namespace lum::test {

// Record n of a file, decoded from the bytes on disk.
template <class Record>
Record recordOf(const std::filesystem::path& file, int number) {
  const auto bytes = readBytes(file);
  const std::size_t offset = static_cast<std::size_t>(number - 1) * Record::kSize;
  return decodeFields<Record>(std::span(bytes).subspan(offset, Record::kSize));
}

}  // namespace lum::test
