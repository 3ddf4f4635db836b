#include "panel/money.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

TEST(Money, FormatsWholeCentsWithTwoDecimals) {
  EXPECT_EQ(formatMoney(Currency::fromRaw(-50)), "-0.01");
  EXPECT_EQ(formatMoney(Currency::fromRaw(49)), "0.00");
  EXPECT_EQ(formatMoney(Currency::fromRaw(-49)), "0.00");
  EXPECT_EQ(formatMoney(Currency::fromRaw(1100000)), "110.00");
  EXPECT_EQ(formatMoney(Currency::fromRaw(12345678905)), "1234567.89");
  EXPECT_EQ(formatMoney(Currency::fromRaw(-10050)), "-1.01");
  EXPECT_EQ(formatMoney(Currency::fromRaw(INT64_MIN + 50)), "-922337203685477.58");
}

TEST(Money, ParsesTypedAmounts) {
  EXPECT_EQ(parseMoney(" 12.5 "), Currency::fromRaw(125000));
  EXPECT_EQ(parseMoney("-3.456"), Currency::fromRaw(-34560));
  EXPECT_EQ(parseMoney("+1,234.50"), Currency::fromRaw(12345000));
  EXPECT_EQ(parseMoney(".5"), Currency::fromRaw(5000));
  EXPECT_EQ(parseMoney("7."), Currency::fromRaw(70000));
  EXPECT_EQ(parseMoney("1.00005"), Currency::fromRaw(10001));
  EXPECT_EQ(parseMoney("0000000000000000001"), Currency::fromRaw(10000));
  EXPECT_EQ(parseMoney("99999999999999.9999"), Currency::fromRaw(999999999999999999));
  for (const char* text :
       {"", ".", "-", "abc", "1.2.3", "12a", ",5", "5,", "1 2", "100000000000000"}) {
    EXPECT_EQ(parseMoney(text), std::nullopt) << text;
  }
}

TEST(Money, CurrencyBoxesShowTwoDecimalsCutInNineCharacters) {
  EXPECT_EQ(formatCurrencyBox("12.5"), "    12.50");
  EXPECT_EQ(formatCurrencyBox("3.456"), "     3.45");
  EXPECT_EQ(formatCurrencyBox("7"), "     7.00");
  EXPECT_EQ(formatCurrencyBox(""), "      .00");
  EXPECT_EQ(formatCurrencyBox("   "), "      .00");
  EXPECT_EQ(formatCurrencyBox("-3.456"), "    -3.45");
  EXPECT_EQ(formatCurrencyBox("007.1"), "     7.10");
  EXPECT_EQ(formatCurrencyBox("1,234"), "  1234.00");
  EXPECT_EQ(formatCurrencyBox("-0.001"), "     0.00");
  EXPECT_EQ(formatCurrencyBox("123456789.999"), "123456789.99");
  EXPECT_EQ(formatCurrencyBox("abc"), std::nullopt);
}

}  // namespace
}  // namespace lum
