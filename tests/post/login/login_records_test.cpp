#include "post/login/login_records.h"

#include <gtest/gtest.h>

#include "post/login/journal_records.h"
#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;

using test::decodeAndRoundTrip;

TEST(LoginRecords, Counter) {
  const auto r = decodeAndRoundTrip<CounterRecord>(Bytes().text("Journals", 24).int16(5));
  EXPECT_EQ(r.label, "Journals");
  EXPECT_EQ(r.value, 5);
  EXPECT_EQ((CounterRecord{"Version", 3}.encode()[24]), std::byte{3});
}

TEST(LoginRecords, Entity) {
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

TEST(LoginRecords, Setup) {
  const auto r =
      decodeAndRoundTrip<SetupRecord>(Bytes().text("M-Monthly or Q-Quarterly", 36).text("Q", 16));
  EXPECT_EQ(r.prompt, "M-Monthly or Q-Quarterly");
  EXPECT_EQ(r.value, "Q");
}

TEST(LoginRecords, GstDate) {
  const auto r = decodeAndRoundTrip<GstDateRecord>(Bytes().raw({0, 0, 0, 0, 0, 0xBE, 0xE2, 0x40}));
  EXPECT_EQ(r.date.date(), Date::fromYmd(2005, 2, 1));
  EXPECT_TRUE(GstDateRecord::decode(Bytes().zeros(8).bytes()).date.isBlank());
}

TEST(LoginRecords, WindowPosition) {
  // Top 3000.0, then Left 300.0, as single-precision numbers.
  const auto r = decodeAndRoundTrip<WindowPositionRecord>(
      Bytes().raw({0x00, 0x80, 0x3B, 0x45}).raw({0x00, 0x00, 0x96, 0x43}));
  EXPECT_EQ(r.top, 3000.0f);
  EXPECT_EQ(r.left, 300.0f);
}

TEST(LoginRecords, FontName) {
  EXPECT_EQ(decodeAndRoundTrip<FontNameRecord>(Bytes().text("Times New Roman", 32)).fontName,
            "Times New Roman");
}

TEST(LoginRecords, ReportPrintSettings) {
  const Bytes bytes = Bytes()
                          .int16(12)             // 0 font size
                          .int32(0x0000FF)       // 2 box colour
                          .int32(0x808080)       // 6 text colour
                          .int16(10)             // 10 left margin
                          .int16(195)            // 12 right edge
                          .int16(15)             // 14 top margin
                          .int16(270)            // 16 bottom limit
                          .text("Arial", 32)     // 18 font names
                          .text("Tahoma", 32)    // 50
                          .text("Tahoma", 32)    // 82
                          .text("", 32)          // 114
                          .text("Courier", 32);  // 146
  const auto r = decodeAndRoundTrip<ReportPrintSettings>(bytes);
  EXPECT_EQ(r.fontSize, 12);
  EXPECT_EQ(r.boxColour, 0xFF);
  EXPECT_EQ(r.textColour, 0x808080);
  EXPECT_EQ(r.leftMargin, 10);
  EXPECT_EQ(r.rightEdge, 195);
  EXPECT_EQ(r.topMargin, 15);
  EXPECT_EQ(r.bottomLimit, 270);
  EXPECT_EQ(r.fontNames, (std::array<std::string, 5>{"Arial", "Tahoma", "Tahoma", "", "Courier"}));
}

TEST(LoginRecords, Operator) {
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

TEST(LoginRecords, OperatorProfile) {
  EXPECT_EQ(decodeAndRoundTrip<OperatorProfileRecord>(Bytes().int16(1)).value, 1);
}

TEST(JournalRecords, JournalHeader) {
  const auto r = decodeAndRoundTrip<JournalHeaderRecord>(
      Bytes().text("Takings Book", 48).text("I", 1).int16(621).text("30/06/26", 8));
  EXPECT_EQ(r.name, "Takings Book");
  EXPECT_EQ(r.type, "I");
  EXPECT_EQ(r.contraAccount, 621);
  EXPECT_EQ(r.dateTransferred, "30/06/26");
}

TEST(JournalRecords, AnalysisAccount) {
  const auto r = decodeAndRoundTrip<AnalysisAccountRecord>(Bytes()
                                                               .text("Motor Vehicle Expenses", 23)
                                                               .text("Y", 1)
                                                               .text("E", 1)
                                                               .raw({0x10, 0x27, 0, 0, 0, 0, 0, 0})
                                                               .int16(407));
  EXPECT_EQ(r.name, "Motor Vehicle Expenses");
  EXPECT_EQ(r.gstCode, "Y");
  EXPECT_EQ(r.accountType, "E");
  EXPECT_EQ(r.reserved, Currency::fromRaw(10000));  // kept as read
  EXPECT_EQ(r.ledgersAccount, 407);
}

TEST(JournalRecords, AnalysisExtra) {
  // BAS label 10.0, exempt ratio 0.25.
  const auto r = decodeAndRoundTrip<AnalysisExtraRecord>(
      Bytes().raw({0, 0, 0x20, 0x41}).raw({0, 0, 0x80, 0x3E}));
  EXPECT_EQ(r.basClassification, 10.0f);
  EXPECT_EQ(r.exemptRatio, 0.25f);
}

}  // namespace
}  // namespace lum
