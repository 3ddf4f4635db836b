#include "post/login/login_records.h"

#include <gtest/gtest.h>

#include "post/login/journal_records.h"
#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;

using test::decodeAndRoundTrip;

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
