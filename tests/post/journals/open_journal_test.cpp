#include "post/journals/open_journal.h"

#include <gtest/gtest.h>

#include "tests/post/journals/journal_fixture.h"
#include "tests/support/records.h"

namespace lum {
namespace {

class OpenJournalTest : public ::testing::Test, protected test::JournalParts {};

// The September quarter is budget months 1 to 3 (July to September).
TEST_F(OpenJournalTest, AQuarterlyEntityGathersItsBudgetInTheQuartersLastMonth) {
  test::Bytes budget;
  budget.raw8(0).raw8(10000).raw8(20000).raw8(30000).zeros(8 * 9);  // budgeted sales
  budget.zeros(8 * 13 * 2);
  budget.raw8(0).raw8(50000).zeros(8 * 11);  // actual cost of sales, July
  test::writeBytes(area() / "Bdg-0001.dat", budget);
  {
    OpenJournal journal(session);
    EXPECT_EQ(journal.journal().budget.budgetedSales, Currency::fromCents(600));
    EXPECT_EQ(journal.journal().budget.actualCostOfSales, Currency::fromCents(500));
    journal.close();
  }
  const auto gathered = test::readBytes(area() / "Bdg-0001.dat");
  const auto record = test::recordOf<BudgetRecord>(area() / "Bdg-0001.dat", 1);
  EXPECT_EQ(record.budgetedSales[1], Currency());
  EXPECT_EQ(record.budgetedSales[3], Currency::fromCents(600));
  EXPECT_EQ(record.actualCostOfSales[3], Currency::fromCents(500));
  OpenJournal again(session);
  again.close();
  EXPECT_EQ(test::readBytes(area() / "Bdg-0001.dat"), gathered);
  EXPECT_EQ(again.caption(), "Takings Book - Sep");
}

}  // namespace
}  // namespace lum
