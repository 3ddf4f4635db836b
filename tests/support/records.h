#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <vector>

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

// Records encoded one after another into a file, its folder made.
template <class Record>
void writeRecords(const std::filesystem::path& file, const std::vector<Record>& records) {
  std::vector<std::byte> bytes;
  for (const Record& record : records) {
    const auto encoded = record.encode();
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
  std::filesystem::create_directories(file.parent_path());
  writeBytes(file, bytes);
}

// Decodes bytes laid out by hand and checks they encode back to the same.
template <class Record>
Record decodeAndRoundTrip(const Bytes& bytes) {
  EXPECT_EQ(bytes.bytes().size(), Record::kSize);
  const Record record = Record::decode(bytes.bytes());
  EXPECT_EQ(record.encode(), bytes.bytes());
  return record;
}

}  // namespace lum::test
