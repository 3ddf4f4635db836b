#include "post/render/page_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::decodeAndRoundTrip;

TEST(PageRecords, TextRecordIsOneBlankPaddedText) {
  const auto r = decodeAndRoundTrip<PageTextRecord>(Bytes().text("GST Report", 140));
  EXPECT_EQ(r.text, "GST Report");
  // Windows-1252 on disk: the pound sign is one byte.
  const auto pound = PageTextRecord{"\xC2\xA3 5"}.encode();
  EXPECT_EQ(pound[0], std::byte{0xA3});
  EXPECT_EQ(pound[1], std::byte{' '});
}

}  // namespace
}  // namespace lum
