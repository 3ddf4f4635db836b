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

TEST(Currency, DecimalTextsAndTheAmountWithoutItsSign) {
  const Currency half = Currency::fromRaw(-5000);
  EXPECT_EQ(decimalText(Currency::fromRaw(1100000), 4), "110.0000");
  EXPECT_EQ(decimalText(half, 4), "-0.5000");
  EXPECT_EQ(decimalText(Currency::fromRaw(-125050), 2), "-12.51");  // halves away from zero
  EXPECT_EQ(decimalText(Currency::fromRaw(-40), 2), "0.00");        // no "-0.00"
  EXPECT_EQ(decimalText(Currency::fromRaw(125000), 0), "13");
  EXPECT_EQ(decimalText(Currency::fromRaw(INT64_MIN), 4), "-922337203685477.5808");
  EXPECT_EQ(half.abs(), Currency::fromRaw(5000));
  EXPECT_THROW(Currency::fromRaw(INT64_MIN).abs(), std::overflow_error);
}

}  // namespace
}  // namespace lum
