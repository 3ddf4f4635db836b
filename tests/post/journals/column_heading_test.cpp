#include "post/journals/column_heading.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

TEST(ColumnHeading, ALongNameBreaksAtTheBlankNearestItsMiddle) {
  EXPECT_EQ(columnHeading("Commission Received"), "Commission\nReceived");
  EXPECT_EQ(columnHeading("Cost of Goods Sold"), "Cost of\nGoods Sold");
  EXPECT_EQ(columnHeading("Motor Vehicle Expenses"), "Motor Vehicle\nExpenses");
}

TEST(ColumnHeading, AShortNameOrOneWordStaysOnOneLineWhole) {
  EXPECT_EQ(columnHeading("Cash Sales             "), "Cash Sales");
  EXPECT_EQ(columnHeading("SuperannuationExpenses"), "SuperannuationExpenses");
  EXPECT_EQ(columnHeading(""), "");
  EXPECT_EQ(columnHeading("Wages  and   Salaries"), "Wages  and\nSalaries");
}

}  // namespace
}  // namespace lum
