#include "platform/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace lum {
namespace {

TEST(Currency, RoundsToCentsHalvesAwayFromZero) {
  EXPECT_EQ(Currency::fromRaw(-50).roundedToCents(), Currency::fromRaw(-100));  // -0.005
  EXPECT_EQ(Currency::fromRaw(50).roundedToCents(), Currency::fromRaw(100));
  EXPECT_EQ(Currency::fromRaw(49).roundedToCents(), Currency::fromRaw(0));
  EXPECT_EQ(Currency::fromRaw(-149).roundedToCents(), Currency::fromRaw(-100));
  EXPECT_EQ(Currency::fromRaw(34560).roundedToCents(), Currency::fromRaw(34600));  // 3.456
  EXPECT_EQ(Currency::fromRaw(34560).truncatedToCents(), Currency::fromRaw(34500));
  EXPECT_EQ(Currency::fromRaw(-34560).truncatedToCents(), Currency::fromRaw(-34500));
}

TEST(Currency, FromDoubleRoundsAtTheFourthDecimalAndRefusesNonNumbers) {
  EXPECT_EQ(Currency::fromDouble(1.00005), Currency::fromRaw(10001));
  EXPECT_EQ(Currency::fromDouble(-12.5), Currency::fromRaw(-125000));
  EXPECT_EQ(Currency::fromDouble(std::nan("")), std::nullopt);
  EXPECT_EQ(Currency::fromDouble(1e16), std::nullopt);
  EXPECT_EQ(Currency::fromDouble(-std::numeric_limits<double>::infinity()), std::nullopt);
}

TEST(Currency, ScalesToTheFourthDecimalAndTruncatesToDollars) {
  const Currency sale = Currency::fromCents(11000);
  EXPECT_EQ(sale.scaledBy(0.1 / 1.1), Currency::fromCents(1000));
  EXPECT_EQ(Currency::fromRaw(5).scaledBy(0.5), Currency::fromRaw(3));  // 2.5 rounds away
  EXPECT_EQ(Currency::fromRaw(-5).scaledBy(0.5), Currency::fromRaw(-3));
  EXPECT_EQ(Currency::fromCents(-399).truncatedToDollars(), Currency::fromCents(-300));
  EXPECT_EQ(Currency::fromCents(12399).truncatedToDollars(), Currency::fromCents(12300));
  EXPECT_THROW(Currency::fromRaw(std::numeric_limits<std::int64_t>::max()).scaledBy(2.0),
               std::overflow_error);
}

TEST(Currency, OverflowThrowsInsteadOfWrapping) {
  const auto max = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
  const auto min = Currency::fromRaw(std::numeric_limits<std::int64_t>::min());
  EXPECT_THROW(max + Currency::fromRaw(1), std::overflow_error);
  EXPECT_THROW(min - Currency::fromRaw(1), std::overflow_error);
  EXPECT_THROW(-min, std::overflow_error);
  EXPECT_THROW(max * 2, std::overflow_error);
  EXPECT_EQ(max.roundedToCents(), Currency::fromRaw(9223372036854775800));
  EXPECT_EQ(Currency::fromRaw(-9223372036854775750).roundedToCents(),
            Currency::fromRaw(-9223372036854775800));
  EXPECT_EQ(Currency::fromCents(150) + Currency::fromCents(-200), Currency::fromCents(-50));
}

}  // namespace
}  // namespace lum
