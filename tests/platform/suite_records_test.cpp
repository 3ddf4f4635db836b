#include "platform/suite_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::decodeAndRoundTrip;

TEST(SuiteRecords, Entity) {
  const Bytes bytes = Bytes()
                          .text("Smith Plumbing", 32)      // 0
                          .text("Pty Ltd", 32)             // 32
                          .text("1 Main St", 48)           // 64
                          .text("Parramatta", 42)          // 112
                          .text("2150", 6)                 // 154
                          .text("Jo Smith", 48)            // 160
                          .text("02", 11)                  // 208
                          .text("9999 1234", 11)           // 219
                          .text("03", 11)                  // 230
                          .text("9999 1235", 11)           // 241
                          .text("04", 11)                  // 252
                          .text("0412 345", 11)            // 263
                          .text("12 345 678 901", 16)      // 274
                          .int16(1)                        // 290
                          .int16(-1)                       // 292
                          .int16(300)                      // 294
                          .int16(0)                        // 296
                          .raw({1, 2, 3, 4, 5, 6, 7, 8});  // 298
  const auto r = decodeAndRoundTrip<EntityRecord>(bytes);
  EXPECT_EQ(r.name, "Smith Plumbing");
  EXPECT_EQ(r.secondNameLine, "Pty Ltd");
  EXPECT_EQ(r.addressLine1, "1 Main St");
  EXPECT_EQ(r.addressLine2, "Parramatta");
  EXPECT_EQ(r.postcode, "2150");
  EXPECT_EQ(r.contact, "Jo Smith");
  EXPECT_EQ(r.telephoneAreaCode, "02");
  EXPECT_EQ(r.telephoneNumber, "9999 1234");
  EXPECT_EQ(r.faxAreaCode, "03");
  EXPECT_EQ(r.faxNumber, "9999 1235");
  EXPECT_EQ(r.mobileAreaCode, "04");
  EXPECT_EQ(r.mobileNumber, "0412 345");
  EXPECT_EQ(r.abn, "12 345 678 901");
  EXPECT_EQ(r.integers, (std::array<std::int16_t, 4>{1, -1, 300, 0}));
  EXPECT_EQ(r.eightByteNumber[0], std::byte{1});
  EXPECT_EQ(r.eightByteNumber[7], std::byte{8});
}

TEST(SuiteRecords, Operator) {
  const Bytes bytes = Bytes()
                          .text("Jo", 24)          // 0
                          .text("Bookkeeper", 24)  // 24
                          .int16(4)                // 48
                          .text("secret", 12)      // 50
                          .int16(99)               // 62 kind
                          .int16(1)
                          .int16(2)
                          .int16(3)
                          .int16(4)
                          .int16(5)
                          .int16(6)
                          .int16(7)   // 64
                          .int32(-5)  // 78
                          .int16(8)
                          .int16(9)
                          .int16(10);  // 82
  const auto r = decodeAndRoundTrip<OperatorRecord>(bytes);
  EXPECT_EQ(r.text1, "Jo");
  EXPECT_EQ(r.text2, "Bookkeeper");
  EXPECT_EQ(r.integer1, 4);
  EXPECT_EQ(r.text3, "secret");
  EXPECT_EQ(r.kind, OperatorRecord::kRestrictedKind);
  EXPECT_EQ(r.integers, (std::array<std::int16_t, 7>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(r.fourByteNumber, -5);
  EXPECT_EQ(r.moreIntegers, (std::array<std::int16_t, 3>{8, 9, 10}));
}

}  // namespace
}  // namespace lum
