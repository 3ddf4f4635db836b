#include "post/journals/statement_import.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

namespace lum {
namespace {

Currency cents(long long value) {
  return Currency::fromCents(value);
}

StatementLine bankLine(int line, int day, int month, const char* description, long long amount) {
  StatementLine l;
  l.line = line;
  l.date = *Date::fromYmd(2026, month, day);
  l.description = description;
  l.amount = cents(amount);
  return l;
}

// A journal of the September quarter with the accounts Sales and Fuel.
class StatementImportTest : public ::testing::Test {
 protected:
  explicit StatementImportTest(PostingMode mode = PostingMode::SmallCashBusiness) : journal(mode) {
    journal.column(journal.lastFixedColumn() + 1).name = "Sales";
    journal.column(journal.lastFixedColumn() + 2).name = "Fuel";
    context.clock = &clock;
    context.periodLetter = 'I';
    context.quarterly = true;
    rules = parseStatementRules(
                "CALTEX | | - | Fuel | Y |\n"
                "TAKINGS | | + | Sales | Y | Cash takings\n")
                .rules;
  }

  Journal journal;
  EditorContext context;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 8, 20), 10, 0, 0}};
  std::vector<StatementRule> rules;
};

TEST_F(StatementImportTest, RulesFillTheRowsAndTheRestIsLeftToTheUser) {
  const std::vector<StatementLine> lines = {bankLine(2, 5, 8, "CALTEX NEWTOWN", -4550),
                                            bankLine(3, 6, 8, "TAKINGS 0608", 11000),
                                            bankLine(4, 7, 8, "MYSTERY", -1000)};
  const StatementPlan plan = planStatement(journal, true, lines, rules);
  ASSERT_TRUE(plan.passedOver.empty());
  ASSERT_EQ(plan.rows.size(), 3u);
  const int first = journal.lastFixedColumn() + 1;
  EXPECT_EQ(plan.rows[0].analysisColumn, first + 1);
  EXPECT_EQ(plan.rows[0].gst, "Y");
  EXPECT_EQ(plan.rows[0].amount, cents(-4550));  // money out of a takings book
  EXPECT_EQ(plan.rows[1].particulars, "Cash takings");
  EXPECT_EQ(plan.rows[2].rule, nullptr);
  EXPECT_EQ(plan.rows[2].reference, "B3");

  const TypingOutcome typed = typeRows(journal, context, rowsToType(plan), false);
  EXPECT_TRUE(typed.typing.empty()) << typed.typing.front().message;
  EXPECT_EQ(journal.rowsInUse, 3);
  EXPECT_EQ(journal.am(1, first + 1), cents(-4550));
  EXPECT_EQ(journal.am(2, first), cents(11000));
  EXPECT_EQ(journal.row(2).date, "06/08/26");
  // Only the unmatched row is left for the user, as the check says.
  ASSERT_EQ(typed.check.size(), 1u);
  EXPECT_EQ(typed.check[0].line, 4);

  // The same statement again: every line is already there.
  const StatementPlan again = planStatement(journal, true, lines, rules);
  for (const StatementRow& row : again.rows) {
    EXPECT_TRUE(row.duplicate) << row.line.description;
  }
  EXPECT_TRUE(rowsToType(again).empty());
  EXPECT_EQ(rowsToType(again, true).size(), 3u);
}

TEST_F(StatementImportTest, ALineOutsideThePeriodIsRefusedByTheJournal) {
  const StatementPlan plan =
      planStatement(journal, true, {bankLine(9, 3, 11, "CALTEX NEWTOWN", -4550)}, rules);
  const TypingOutcome typed = typeRows(journal, context, rowsToType(plan), false);
  ASSERT_FALSE(typed.typing.empty());
  EXPECT_EQ(typed.typing[0].line, 9);
  EXPECT_TRUE(typed.check.empty());  // not run after a refusal
}

// The entity's rules serve all its journals: a rule for an account of
// another journal is passed over, and the next matching rule fills the row.
TEST_F(StatementImportTest, ARuleForAnAccountTheJournalHasNotIsPassedOver) {
  const auto other = parseStatementRules("RENT | | - | Rent | N |\nRENT | | | Fuel | N |\n").rules;
  const StatementPlan plan = planStatement(journal, true, {bankLine(1, 5, 8, "RENT", -100)}, other);
  ASSERT_EQ(plan.passedOver.size(), 1u);
  EXPECT_EQ(passedOverNote(*plan.passedOver[0]),
            "rule 1: the journal has no account \"Rent\": passed over");
  ASSERT_EQ(plan.rows.size(), 1u);
  EXPECT_EQ(plan.rows[0].rule, &other[1]);
}

class BankJournalImportTest : public StatementImportTest {
 protected:
  BankJournalImportTest() : StatementImportTest(PostingMode::OtherBusiness) {}
};

// With a running balance money in goes to Receipts, its analysis a credit.
TEST_F(BankJournalImportTest, MoneyInIsAReceiptAndMoneyOutAPayment) {
  const StatementPlan plan = planStatement(
      journal, false,
      {bankLine(1, 5, 8, "CALTEX NEWTOWN", -4550), bankLine(2, 6, 8, "TAKINGS", 11000)}, rules);
  const TypingOutcome typed = typeRows(journal, context, rowsToType(plan), false);
  EXPECT_FALSE(typed.any()) << (typed.typing.empty() ? typed.check : typed.typing).front().message;
  const int first = journal.lastFixedColumn() + 1;
  EXPECT_EQ(journal.am(1, JournalEditor::kGstColumn + 1), cents(4550));   // Payments
  EXPECT_EQ(journal.am(2, JournalEditor::kGstColumn + 2), cents(11000));  // Receipts
  EXPECT_EQ(journal.am(2, first), cents(-11000));
}

}  // namespace
}  // namespace lum
