#include "post/login/journal_line_records.h"

#include <gtest/gtest.h>

#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;

using test::decodeAndRoundTrip;

// Code that reads one field of many rows goes by these offsets.
static_assert(fieldOffset<TransactionRecord>("gst") == 8 + 46 + 5);
static_assert(fieldOffset<TransactionRecord>("transferred") == 60);
static_assert(fieldOffset<AmountsRecord>("amounts") == 0);

TEST(JournalLineRecords, AmountsWithTheCountsInRecordOne) {
  Bytes bytes;
  bytes.raw({9, 0, 0, 0, 0, 0, 0, 0});        // element 0, kept as read
  bytes.raw({0x30, 0x75, 0, 0, 0, 0, 0, 0});  // 3.0000: rows in use
  bytes.raw({0x60, 0xEA, 0, 0, 0, 0, 0, 0});  // 6.0000: last column
  bytes.zeros(8);
  bytes.raw({0xE0, 0xC8, 0x10, 0, 0, 0, 0, 0});                 // element 4: 110.0000
  bytes.raw({0x20, 0x37, 0xEF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});  // element 5: -110.0000
  bytes.zeros(8 * 95);
  const auto r = decodeAndRoundTrip<AmountsRecord>(bytes);
  EXPECT_EQ(r.amounts[0], Currency::fromRaw(9));
  EXPECT_EQ(r.amounts[1], Currency::fromCents(300));
  EXPECT_EQ(r.amounts[2], Currency::fromCents(600));
  EXPECT_EQ(r.amounts[4], Currency::fromCents(11000));
  EXPECT_EQ(r.amounts[5], Currency::fromCents(-11000));
  EXPECT_EQ(r.amounts[100], Currency());
}

TEST(JournalLineRecords, ColumnTotalAndBudget) {
  EXPECT_EQ(
      decodeAndRoundTrip<ColumnTotalRecord>(Bytes().raw({0x10, 0x27, 0, 0, 0, 0, 0, 0})).total,
      Currency::fromCents(100));
  Bytes budget;
  budget.zeros(8 * 3)
      .raw({0x10, 0x27, 0, 0, 0, 0, 0, 0})
      .zeros(8 * 9);  // budgeted sales [3] = 1.00
  budget.zeros(8 * 13).zeros(8 * 13);
  budget.zeros(8 * 12).raw({0x20, 0x4E, 0, 0, 0, 0, 0, 0});  // actual cost of sales [12] = 2.00
  const auto r = decodeAndRoundTrip<BudgetRecord>(budget);
  EXPECT_EQ(r.budgetedSales[3], Currency::fromCents(100));
  EXPECT_EQ(r.actualCostOfSales[12], Currency::fromCents(200));
  EXPECT_EQ(r.actualSales[12], Currency());
}

}  // namespace
}  // namespace lum
