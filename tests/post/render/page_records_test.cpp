#include "post/render/page_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::decodeAndRoundTrip;

TEST(PageRecords, CommandRecordFieldByField) {
  const auto r =
      decodeAndRoundTrip<PageCommandRecord>(Bytes()
                                                .text("Para", 4)                  // 0
                                                .raw({0x00, 0x40, 0x7A, 0x44})    // 4: 1001
                                                .raw({0x00, 0x00, 0x80, 0x3F})    // 8: 1
                                                .raw8(-123400)                    // 12
                                                .raw({0x00, 0x00, 0x16, 0x43})    // 20: 150
                                                .raw({0x00, 0x00, 0x80, 0xBF}));  // 24: -1
  EXPECT_EQ(r.code, "Para");
  EXPECT_EQ(r.a, 1001.0f);
  EXPECT_EQ(r.b, 1.0f);
  EXPECT_EQ(r.c, Currency::fromRaw(-123400));
  EXPECT_EQ(r.d, 150.0f);
  EXPECT_EQ(r.e, -1.0f);

  // A three-letter code is blank padded.
  const auto bytes = PageCommandRecord{"END", 0, 0, {}, 0, 0}.encode();
  EXPECT_EQ(bytes[3], std::byte{' '});
}

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
