#include "platform/date.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lum {
namespace {

TEST(Date, OleDayNumbers) {
  EXPECT_EQ(Date::fromYmd(1899, 12, 30)->oleDays(), 0);
  EXPECT_EQ(Date::fromYmd(1900, 1, 1)->oleDays(), 2);
  EXPECT_EQ(Date::fromYmd(1899, 12, 29)->oleDays(), -1);
  EXPECT_EQ(Date::fromYmd(2005, 2, 1)->oleDays(), 38384);
  EXPECT_EQ(Date::fromYmd(9999, 12, 31)->oleDays(), 2958465);
  EXPECT_EQ(Date::fromOleDays(38384.75), Date::fromYmd(2005, 2, 1));
  EXPECT_EQ(Date::fromOleDays(-1.5), Date::fromYmd(1899, 12, 29));
  EXPECT_EQ(Date::fromOleDays(0), Date::fromYmd(1899, 12, 30));
}

TEST(Date, RefusesDaysThatDoNotExist) {
  EXPECT_EQ(Date::fromYmd(2005, 2, 29), std::nullopt);
  EXPECT_TRUE(Date::fromYmd(2004, 2, 29));
  EXPECT_TRUE(Date::fromYmd(2000, 2, 29));
  EXPECT_EQ(Date::fromYmd(1900, 2, 29), std::nullopt);
  EXPECT_EQ(Date::fromYmd(2005, 13, 1), std::nullopt);
  EXPECT_EQ(Date::fromYmd(2005, 4, 31), std::nullopt);
  EXPECT_EQ(Date::fromYmd(99, 1, 1), std::nullopt);
  EXPECT_EQ(Date::fromOleDays(std::nan("")), std::nullopt);
  EXPECT_EQ(Date::fromOleDays(1e300), std::nullopt);
  EXPECT_EQ(Date::fromOleDays(2958466), std::nullopt);
}

}  // namespace
}  // namespace lum
