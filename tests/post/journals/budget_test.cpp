#include "post/journals/budget.h"

#include <gtest/gtest.h>

#include <limits>

#include "post/journals/budget_panel.h"
#include "post/journals/open_journal.h"
#include "tests/post/journals/journal_fixture.h"
#include "tests/support/records.h"

namespace lum {
namespace {

class BudgetTest : public ::testing::Test, protected test::JournalParts {
 protected:
  BudgetRecord stored() { return test::recordOf<BudgetRecord>(area() / "Bdg-0001.dat", 1); }
  InputPanel& budgetWindow() {
    installBudgetWindow(session);
    session.windowActions(kBudget).prepare();
    InputPanel& panel = *session.panel(kBudget);
    panel.show();
    return panel;
  }
};

TEST_F(BudgetTest, ABoxWithoutAnAmountIsToldAndNothingIsStored) {
  for (const char* bad : {"abc", "1e30", "99999999999999999999", "12.5x"}) {
    std::vector<std::string> boxes(24);
    boxes[17] = bad;
    prompter.clear();
    EXPECT_EQ(budgetWithBoxes(BudgetRecord{}, boxes, prompter), std::nullopt) << bad;
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{std::string("The cost of sales of March, \"") + bad +
                                       "\", is not an amount.  Nothing was stored."});
  }

  InputPanel& panel = budgetWindow();
  const auto before = areaFiles();
  panel.setBoxText(0, "500");
  panel.setBoxText(5, "abc");
  EXPECT_FALSE(session.windowActions(kBudget).accept());
  EXPECT_EQ(prompter.texts().back(),
            "The cost of sales of September, \"abc\", is not an amount.  Nothing was stored.");
  EXPECT_EQ(areaFiles(), before);
}

// Line 9 of the window is March: for a monthly entity it is what the
// journal window's budget frame shows while March is selected.
TEST_F(BudgetTest, TheMarchLineFeedsTheJournalWindowInMarch) {
  InputPanel& panel = budgetWindow();
  EXPECT_EQ(panel.labelText(8), "March");
  panel.setBoxText(16, "1,200.00");
  panel.setBoxText(17, "300");
  panel.setBoxText(0, "   800.00");
  const BudgetTotals totals = typedBudgetTotals(session);
  EXPECT_EQ(totals.sales, Currency::fromCents(200000));
  EXPECT_EQ(totals.costOfSales, Currency::fromCents(30000));
  EXPECT_EQ(totals.ratio, "15.00%");
  ASSERT_TRUE(session.windowActions(kBudget).accept());
  EXPECT_EQ(stored().budgetedSales[9], Currency::fromCents(120000));
  EXPECT_EQ(stored().budgetedCostOfSales[9], Currency::fromCents(30000));

  session.login.setup.periodKind = "M";
  session.login.periodLetter = 'C';  // March
  OpenJournal march(session);
  EXPECT_EQ(march.journal().budget.budgetedSales, Currency::fromCents(120000));
  EXPECT_EQ(march.journal().budget.budgetedCostOfSales, Currency::fromCents(30000));
  march.close();
  EXPECT_EQ(stored().budgetedSales[1], Currency::fromCents(80000));
}

TEST_F(BudgetTest, TotalsWithoutSalesOrTooLargeToAddShowNoRatio) {
  BudgetRecord budget;
  budget.budgetedCostOfSales[2] = Currency::fromCents(100);
  EXPECT_EQ(budgetTotals(budget).ratio, "");
  budget.budgetedSales[1] = Currency::fromRaw(std::numeric_limits<std::int64_t>::max());
  budget.budgetedSales[2] = Currency::fromCents(100);
  EXPECT_EQ(budgetTotals(budget).sales, std::nullopt);
  EXPECT_EQ(budgetTotals(budget).ratio, "");
}

// Posting mode 3: sales are credits, so a sales column totalling -1,000.00
// is 1,000.00 of sales. The September quarter is month 3, the June quarter 12.
TEST_F(BudgetTest, RecalculatingTheActualsRebuildsThemFromEveryJournalAndPeriod) {
  session.login.setup.postingMode = PostingMode::OtherBusiness;
  test::writeBytes(area() / "An010001.dat", test::Bytes()
                                                .text("Sales", 23)
                                                .text("Y", 1)
                                                .text("s", 1)
                                                .zeros(10)
                                                .text("Fuel", 23)
                                                .text("Y", 1)
                                                .text("E", 1)
                                                .zeros(10)
                                                .text("Stock", 23)
                                                .text("Y", 1)
                                                .text("C", 1)
                                                .zeros(10));
  test::writeBytes(area() / "GI010001.dat", currencies({-1000, 110}));
  BudgetRecord before;
  before.budgetedSales[3] = Currency::fromCents(99900);
  before.actualSales[6] = Currency::fromCents(77700);
  before.actualCostOfSales[3] = Currency::fromCents(100);
  test::writeBytes(area() / "Bdg-0001.dat", before.encode());

  ASSERT_TRUE(recalculateActuals(session));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{});
  const BudgetRecord after = stored();
  EXPECT_EQ(after.actualSales[3], Currency::fromCents(100000));
  EXPECT_EQ(after.actualSales[12], Currency::fromCents(-1000));  // 10.00 of the June quarter
  EXPECT_EQ(after.actualCostOfSales[12], Currency::fromCents(500));
  EXPECT_EQ(after.actualSales[6], Currency());
  EXPECT_EQ(after.actualCostOfSales[3], Currency());
  EXPECT_EQ(after.budgetedSales[3], Currency::fromCents(99900));

  session.login.setup.postingMode = PostingMode::SmallCashBusiness;
  ASSERT_TRUE(recalculateActuals(session));
  EXPECT_EQ(stored().actualSales[3], Currency::fromCents(-100000));
}

TEST_F(BudgetTest, AColumnTotalThatCannotBeAddedIsToldAsCorruptAndChangesNothing) {
  session.login.setup.postingMode = PostingMode::OtherBusiness;
  test::writeBytes(area() / "GI010001.dat",
                   test::Bytes().raw8(std::numeric_limits<std::int64_t>::min()));
  BudgetRecord before;
  before.actualSales[3] = Currency::fromCents(4200);
  test::writeBytes(area() / "Bdg-0001.dat", before.encode());

  EXPECT_FALSE(recalculateActuals(session));
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{
                "Journals or budgets contain corrupt data.  Check budgets & Journal totals"});
  EXPECT_EQ(stored().actualSales[3], Currency::fromCents(4200));
}

}  // namespace
}  // namespace lum
