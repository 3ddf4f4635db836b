#include "panel/dates.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

FixedClock clockOn(int year, int month, int day) {
  return FixedClock(DateTime{*Date::fromYmd(year, month, day)});
}

TEST(Dates, NormalisesTypedDates) {
  const FixedClock clock = clockOn(2026, 12, 6);
  EXPECT_EQ(normaliseDate("1.2.05", clock), "01/02/05");
  EXPECT_EQ(normaliseDate("7/8/05", clock), "07/08/05");
  EXPECT_EQ(normaliseDate(" 7/8/2005 ", clock), "07/08/05");
  EXPECT_EQ(normaliseDate("29/02/04", clock), "29/02/04");
  EXPECT_EQ(normaliseDate("1 Feb 05", clock), "01/02/05");
  EXPECT_EQ(normaliseDate("1-sept-2005", clock), "01/09/05");
  EXPECT_EQ(normaliseDate("2005/2/1", clock), "01/02/05");
  EXPECT_EQ(normaliseDate("3/4", clock), "03/04/26");
}

TEST(Dates, AnythingElseBecomesEmpty) {
  const FixedClock clock = clockOn(2026, 12, 6);
  for (const char* text :
       {"31/02/05", "29/02/05", "0/1/05", "1/13/05", "", "   ", "7", "abc", "1/2/3/4", "1/2/05x",
        "12345/1/1", "1/Fe/05", "Feb/1/05", "1..2", "/1/2/05", "1/2/05/", "1/ /2/05"}) {
    EXPECT_EQ(normaliseDate(text, clock), "") << text;
  }
}

TEST(Dates, TwoDigitYearsFollowTheCurrentYear) {
  EXPECT_EQ(expandTwoDigitYear(0, 2026), 2000);
  EXPECT_EQ(expandTwoDigitYear(46, 2026), 2046);
  EXPECT_EQ(expandTwoDigitYear(47, 2026), 1947);
  EXPECT_EQ(expandTwoDigitYear(99, 2026), 1999);
  // After 2029 the window moves on instead of turning 30 into 1930.
  EXPECT_EQ(expandTwoDigitYear(30, 2031), 2030);
  EXPECT_EQ(expandTwoDigitYear(51, 2031), 2051);
  EXPECT_EQ(expandTwoDigitYear(52, 2031), 1952);
  EXPECT_EQ(expandTwoDigitYear(79, 2080), 2079);
  EXPECT_EQ(expandTwoDigitYear(0, 2080), 2100);
  EXPECT_EQ(parseDate("29/2/00", clockOn(2026, 1, 1)), Date::fromYmd(2000, 2, 29));
  EXPECT_EQ(parseDate("1/7/47", clockOn(2026, 1, 1)), Date::fromYmd(1947, 7, 1));
}

}  // namespace
}  // namespace lum
