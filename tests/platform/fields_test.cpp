#include "platform/fields.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace lum {
namespace {

// One field of each kind, to check every codec against bytes written by hand.
struct AllKinds {
  static constexpr std::size_t kSize = 6 + 2 + 4 + 4 + 8 + 8 + 8 + 3 + 2 * 2 + 2 * 2;

  std::string text;
  std::int16_t small = 0;
  std::int32_t large = 0;
  float single = 0;
  double real = 0;
  Currency amount;
  OleDate date;
  std::array<std::byte, 3> opaque{};
  std::array<std::string, 2> names;
  std::array<std::int16_t, 2> numbers{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("text", r.text, 6);
    f.int16("small", r.small);
    f.int32("large", r.large);
    f.float32("single", r.single);
    f.float64("real", r.real);
    f.currency("amount", r.amount);
    f.date("date", r.date);
    f.bytes("opaque", r.opaque);
    f.texts("names", r.names, 2);
    f.int16s("numbers", r.numbers);
  }
};
static_assert(fieldsSize<AllKinds>() == AllKinds::kSize);

const test::Bytes kHandMade = test::Bytes()
                                  .raw({'C', 0xE9, 0x80, ' ', ' ', ' '})   // "Cé€"
                                  .raw({0xFE, 0xFF})                       // -2
                                  .raw({0x40, 0xE2, 0x01, 0x00})           // 123456
                                  .raw({0x00, 0x00, 0xC0, 0x3F})           // 1.5f
                                  .raw({0, 0, 0, 0, 0, 0, 0x04, 0xC0})     // -2.5
                                  .raw({0xE0, 0xC8, 0x10, 0, 0, 0, 0, 0})  // 110.0000
                                  .raw({0, 0, 0, 0, 0, 0xBE, 0xE2, 0x40})  // 38384: 01/02/2005
                                  .raw({1, 2, 3})
                                  .raw({'a', 'b', 'c', ' '})
                                  .raw({0x07, 0x00, 0x00, 0x80});  // 7, -32768

TEST(Fields, DecodeEveryKindFromHandMadeBytes) {
  const auto r = decodeFields<AllKinds>(kHandMade.bytes());
  EXPECT_EQ(r.text, "C\u00e9\u20ac");
  EXPECT_EQ(r.small, -2);
  EXPECT_EQ(r.large, 123456);
  EXPECT_EQ(r.single, 1.5f);
  EXPECT_EQ(r.real, -2.5);
  EXPECT_EQ(r.amount, Currency::fromRaw(1100000));
  EXPECT_EQ(r.date.days, 38384.0);
  EXPECT_EQ(r.date.date(), Date::fromYmd(2005, 2, 1));
  EXPECT_EQ(r.opaque, (std::array<std::byte, 3>{std::byte{1}, std::byte{2}, std::byte{3}}));
  EXPECT_EQ(r.names, (std::array<std::string, 2>{"ab", "c"}));
  EXPECT_EQ(r.numbers, (std::array<std::int16_t, 2>{7, -32768}));
}

TEST(Fields, EncodeGivesTheSameBytesBack) {
  EXPECT_EQ(encodeFields(decodeFields<AllKinds>(kHandMade.bytes())), kHandMade.bytes());
}

TEST(Fields, TextIsCutToItsWidthAndBlankPadded) {
  AllKinds r;
  r.text = "Longer than six";
  r.names = {"", "xyz"};
  const auto bytes = encodeFields(r);
  EXPECT_EQ(std::vector<std::byte>(bytes.begin(), bytes.begin() + 6),
            test::Bytes().text("Longer", 6).bytes());
  EXPECT_EQ(std::vector<std::byte>(bytes.begin() + 43, bytes.begin() + 47),
            test::Bytes().text("  xy", 4).bytes());
}

TEST(Fields, NeverWrittenRecordsDecodeAsBlank) {
  const auto r = decodeFields<AllKinds>(std::vector<std::byte>(AllKinds::kSize));
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.names, (std::array<std::string, 2>{"", ""}));
  EXPECT_TRUE(r.date.isBlank());
  EXPECT_TRUE(r.amount.isZero());
}

TEST(Fields, HighBytesRoundTripAndUnstorableTextIsRefused) {
  // 0x81 is undefined in Windows-1252; it must come back as it was.
  auto bytes = kHandMade.bytes();
  bytes[3] = std::byte{0x81};
  bytes[4] = std::byte{0xFF};
  const auto r = decodeFields<AllKinds>(bytes);
  EXPECT_EQ(r.text, "C\u00e9\u20ac\u0081\u00ff");
  EXPECT_EQ(encodeFields(r), bytes);

  AllKinds chinese;
  chinese.text = "\u4e2d";
  EXPECT_THROW(encodeFields(chinese), EncodingError);
  AllKinds broken;
  broken.text = "\xC3";  // a lead byte with nothing after it
  EXPECT_THROW(encodeFields(broken), EncodingError);
  broken.text = "\xC0\x80";  // an overlong NUL
  EXPECT_THROW(encodeFields(broken), EncodingError);
}

TEST(Fields, WrongLengthsAreRefused) {
  EXPECT_THROW(decodeFields<AllKinds>(std::vector<std::byte>(AllKinds::kSize - 1)), FormatError);
  EXPECT_THROW(decodeFields<AllKinds>(std::vector<std::byte>(AllKinds::kSize + 1)), FormatError);
}

}  // namespace
}  // namespace lum
