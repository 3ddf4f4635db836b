#include "post/login/gst_periods.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

TEST(GstPeriods, QuarterlyAugustShowsSeptemberAndDecemberIsL) {
  const auto entries = gstPeriodEntries("Q");
  EXPECT_EQ(entries, (std::vector<std::string>{"Mar", "Jun", "Sep", "Dec", "Full Year"}));
  const int shown = gstPeriodEntryOf("Q", *Date::fromYmd(2026, 8, 20));
  EXPECT_EQ(entries[static_cast<std::size_t>(shown)], "Sep");
  const GstPeriod december = selectGstPeriod("Q", 3, 2026);
  EXPECT_EQ(december.letter, 'L');
  EXPECT_EQ(december.start, Date::fromYmd(2026, 12, 1));
}

TEST(GstPeriods, MonthlyLettersAndTheFullYears) {
  EXPECT_EQ(gstPeriodEntries("M").size(), 13u);
  EXPECT_EQ(gstPeriodEntryOf("M", *Date::fromYmd(2026, 3, 31)), 2);
  EXPECT_EQ(selectGstPeriod("M", 0, 2026).letter, 'A');
  EXPECT_EQ(selectGstPeriod("M", 11, 2026).letter, 'L');
  EXPECT_EQ(selectGstPeriod("M", -1, 2026).letter, 'A');
  const GstPeriod monthlyYear = selectGstPeriod("M", 12, 2026);
  EXPECT_EQ(monthlyYear.letter, 'M');
  EXPECT_EQ(monthlyYear.start, Date::fromYmd(2026, 1, 13));
  const GstPeriod quarterlyYear = selectGstPeriod("Q", 4, 2026);
  EXPECT_EQ(quarterlyYear.letter, 'O');
  EXPECT_EQ(quarterlyYear.start, Date::fromYmd(2026, 1, 15));
  // Saved while the full year was shown, the date brings back January or the March quarter.
  EXPECT_EQ(gstPeriodEntryOf("M", monthlyYear.start), 0);
  EXPECT_EQ(gstPeriodEntryOf("Q", quarterlyYear.start), 0);
}

}  // namespace
}  // namespace lum
