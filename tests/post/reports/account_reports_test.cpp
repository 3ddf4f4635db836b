#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "platform/scripted_prompter.h"
#include "post/reports/journal_ledgers.h"
#include "post/reports/profit_and_loss.h"
#include "post/reports/report_period.h"
#include "post/reports/taken_amounts.h"
#include "post/reports/trial_balance.h"
#include "tests/post/reports/report_fixture.h"

namespace lum {
namespace {

Currency dollars(long long value) {
  return Currency::fromCents(value * 100);
}

class AccountReports : public ::testing::Test, protected test::ReportParts {};

// Journal 1 of the fixture in the September quarter, posting mode 0: Fuel
// 110.00 on 03/08/05, Sales -55.00 on 04/08/05, each with the same Amount.
// The Amounts come to 55.00: the contra is its opposite, a credit.
TEST_F(AccountReports, TheTrialBalanceTakesTheColumnTotalsAndTheContra) {
  const TrialBalance balance = trialBalanceOf(session, 1);
  ASSERT_EQ(balance.lines.size(), 3u);
  EXPECT_EQ(balance.lines[0].account, "Sales");
  EXPECT_EQ(balance.lines[0].total, dollars(-55));
  EXPECT_EQ(balance.lines[1].account, "Fuel");
  EXPECT_EQ(balance.lines[2].account, "Contra - Takings Book (A/C 621)");
  EXPECT_EQ(balance.lines[2].total, dollars(-55));
  EXPECT_EQ(balance.debitTotal, dollars(110));
  EXPECT_EQ(balance.creditTotal, dollars(-110));

  // Columns that balance by themselves (a bank column) need no contra.
  test::writeBytes(area() / "GI010001.dat", currencies({-110, 110}));
  EXPECT_EQ(trialBalanceOf(session, 1).lines.size(), 2u);
  test::writeBytes(area() / "GI010001.dat", currencies({0, 110}));
  EXPECT_EQ(trialBalanceOf(session, 1).lines.back().total, dollars(-110));
}

// Posting mode 3: income is entered as negative analysis amounts against
// Receipts, costs as positive ones against Payments; the running Balance
// column is no account. Receipts 330.00 less payments 154.00 leave the bank
// 176.00 up: the contra is a debit of 176.00.
TEST_F(AccountReports, InPostingModeThreeTheContraIsTheBanksMovement) {
  session.login.setup.postingMode = PostingMode::OtherBusiness;
  setJournals(2);
  test::writeBytes(area() / "Jnl-0001.dat", test::Bytes()
                                                .text("Takings Book", 48)
                                                .text("I", 1)
                                                .int16(621)
                                                .text("", 8)
                                                .text("Cash Book", 48)
                                                .text("E", 1)
                                                .int16(0)
                                                .text("", 8));
  writeJournal(2, {{"Fuel", "Y", "E"}, {"Sales", "Y", "S"}, {"Rent", "N", "E"}},
               {{"Y", {11000, 0, 0}, "01/08/05", "1", "Diesel", {11000, 0, -11000}},
                {"Y", {0, -33000, 0}, "02/08/05", "2", "Takings", {0, 33000, 22000}},
                {"N", {0, 0, 4400}, "03/08/05", "3", "Rent", {4400, 0, 17600}}});
  const TrialBalance balance = trialBalanceOf(session, 2);
  ASSERT_EQ(balance.lines.size(), 4u);
  EXPECT_EQ(balance.lines[0].total, dollars(110));
  EXPECT_EQ(balance.lines[1].total, dollars(-330));
  EXPECT_EQ(balance.lines[2].total, dollars(44));
  EXPECT_EQ(balance.lines[3].account, "Contra - Cash Book");  // no ledgers account
  EXPECT_EQ(balance.lines[3].total, dollars(176));
  EXPECT_EQ(balance.debitTotal, dollars(330));
  EXPECT_EQ(balance.creditTotal, dollars(-330));
}

TEST_F(AccountReports, TheLedgersListEachColumnsRows) {
  const auto ledgers = journalLedgersOf(session, 1);
  ASSERT_EQ(ledgers.size(), 2u);
  EXPECT_EQ(ledgers[0].account, "Sales");
  ASSERT_EQ(ledgers[0].lines.size(), 1u);
  EXPECT_EQ(ledgers[0].lines[0].date, "04/08/05");
  EXPECT_EQ(ledgers[0].lines[0].reference, "2");
  EXPECT_EQ(ledgers[0].total, dollars(-55));
  EXPECT_EQ(ledgers[1].account, "Fuel");
  EXPECT_EQ(ledgers[1].ledgersAccount, 407);
  EXPECT_EQ(ledgers[1].lines[0].details, "Fuel");
  EXPECT_EQ(ledgers[1].total, dollars(110));
  EXPECT_TRUE(journalLedgersOf(session, 2).empty());  // no transaction file this quarter
}

TEST_F(AccountReports, TheProfitAndLossTableTakesGstOutAndMergesNames) {
  setJournals(2);
  // Journal 1 is an income journal: its figures are taken negated.
  writeJournal(1, {{"Sales", "Y", "S"}, {"Bank", "N", "A"}}, {{"Y", {11000, 11000}}});
  // The same accounts by other spellings, and a row without a reference
  // that is left out.
  writeJournal(2, {{"SALES.", "N", "S"}, {"wages", "N", "W"}},
               {{"N", {-5000, 2000}}, {"N", {-999900}, "16/08/05", ""}});
  const auto table = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
  ASSERT_TRUE(table.has_value()) << prompter.texts().front();
  const ProfitAndLoss statement = profitAndLossOf(table->table);
  ASSERT_EQ(statement.sales.size(), 1u);
  EXPECT_EQ(statement.sales[0].name, "Sales");
  EXPECT_EQ(statement.sales[0].amount, dollars(-150));  // 100 without GST, and 50
  ASSERT_EQ(statement.expenses.size(), 1u);
  EXPECT_EQ(statement.expenses[0].amount, dollars(20));
  EXPECT_EQ(statement.netProfit(), dollars(130));
  // The GST and the bank's contra go to the other transactions.
  ASSERT_EQ(statement.other.size(), 3u);
  EXPECT_EQ(statement.other[0].name, "Bank");
  EXPECT_EQ(statement.other[1].name, "GST Liability");
  EXPECT_EQ(statement.other[1].amount, dollars(-10));
  EXPECT_EQ(statement.other[2].name, "Contra");
}

// A ratio outside 0 to 1, of the set-up or of an account, counts as none:
// the GST comes out of the whole amount by the row's letter.
TEST_F(AccountReports, TheProfitAndLossCountsRatiosOutsideZeroToOneAsNone) {
  session.login.setup.exemptSalesRatio = 7;
  session.login.setup.exemptPurchaseRatio = 1.5;
  setJournals(2);
  writeJournal(2,
               {{"Takings", "C", "S"},
                {"Stock", "C", "C"},
                {"Motor", "", "E", 0, 7},
                {"Phone", "", "E", 0, 2e31f},
                {"Rent", "", "E", 0, 0.5}},
               {{"Y", {-11000, 22000, 11000, 11000, 11000}}});
  const auto table = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
  ASSERT_TRUE(table.has_value()) << prompter.texts().front();
  const auto amountOf = [&](std::string_view name) {
    for (const AccountTotal& account : table->table.accounts()) {
      if (account.name == name) {
        return account.amount;
      }
    }
    return Currency();
  };
  EXPECT_EQ(amountOf("Takings"), dollars(-100));
  EXPECT_EQ(amountOf("Stock"), dollars(200));
  EXPECT_EQ(amountOf("Motor"), dollars(100));
  EXPECT_EQ(amountOf("Phone"), dollars(100));
  EXPECT_EQ(amountOf("Rent"), Currency::fromCents(10500));  // half private: GST on half
  // Journal 1's -5.00, and -10 + 20 + 10 + 10 + 5.
  EXPECT_EQ(amountOf("GST Liability"), dollars(30));

  // A damaged GST rate of -1 puts the GST past any amount: told as an
  // overflow, never a wrapped figure.
  session.login.setup.gstRate = -1;
  const auto overflowed = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
  ASSERT_TRUE(overflowed.has_value());
  EXPECT_TRUE(overflowed->table.accounts().empty());
  EXPECT_EQ(overflowed->damage.messages().back(),
            "The journal Payments Book (journal 2) is damaged: its file AI020001.dat holds "
            "amounts too large to add up. It is left out of the report.");
}

TEST_F(AccountReports, TheProfitAndLossStopsOnAccountsItCannotAdd) {
  setJournals(2);
  writeJournal(1, {{"Commission", "N", "S"}}, {{"N", {-100}}});
  writeJournal(2, {{"commission", "N", "I"}}, {{"N", {-100}}});
  EXPECT_FALSE(prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly));
  EXPECT_EQ(prompter.texts().back(),
            "Account commission appears to have different accounting codes in different "
            "journals.  This needs to be rectified");

  writeJournal(2, {{"", "N", ""}}, {{"N", {-100}}});
  EXPECT_FALSE(prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly));
  EXPECT_EQ(prompter.texts().back(),
            "The account code of account Unspecified is not stated.  This must be corrected.");

  AccountTable table;
  for (std::size_t i = 0; i < AccountTable::kSlots; ++i) {
    ASSERT_FALSE(table.add("Account " + std::to_string(i), 'E', dollars(1)));
  }
  EXPECT_EQ(table.add("One more", 'E', dollars(1)),
            "More than allocated 600 accounts names have been used");
}

// The statement lists accounts in the order of their first amounts, row
// by row, and an account it cannot add is told at its first amount.
TEST_F(AccountReports, AccountsComeInTheOrderOfTheirFirstAmounts) {
  setJournals(2);  // after the fixture's journal 1 and its accounts
  writeJournal(2, {{"Rent", "N", "E"}, {"Phone", "N", "E"}, {"Cleaning", "N", "E"}},
               {{"N", {0, 0, 300}}, {"N", {100, 0, 0}}, {"N", {100, 200, 300}}});
  const auto table = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
  ASSERT_TRUE(table.has_value());
  std::vector<std::string> names;
  for (const AccountTotal& account : table->table.accounts()) {
    if (account.name == "Rent" || account.name == "Phone" || account.name == "Cleaning") {
      names.push_back(account.name);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Cleaning", "Rent", "Phone"}));

  writeJournal(2, {{"Rent", "N", ""}, {"Phone", "N", ""}}, {{"N", {0, 100}}, {"N", {100, 0}}});
  EXPECT_FALSE(prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly));
  EXPECT_EQ(prompter.texts().back(),
            "The account code of account Phone is not stated.  This must be corrected.");
}

// Taking a period column by column adds up to what taking it amount by
// amount gives, for every way the GST comes out and every row left out.
TEST_F(AccountReports, TakingByColumnAddsUpWhatTakingByAmountDoes) {
  session.login.setup.exemptSalesRatio = 0.2;
  session.login.setup.exemptPurchaseRatio = 0.15;
  std::mt19937 random(11);
  const auto pick = [&](auto const& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, std::size(choices) - 1)(random)];
  };
  static const char* const kTypes[] = {"S", "C", "E", "I", "A", "W"};
  static const char* const kLetters[] = {"Y", "N", "T", "C", "", "y"};
  static const float kRatios[] = {0, 0, 0.25f};
  static const char* const kRowLetters[] = {"Y", "N", "", "y", "t", "\xe9"};
  static const char* const kDates[] = {"15/08/05", "15/08/05", ""};
  static const char* const kReferences[] = {"1", "1", "", "\xa3"};
  std::vector<Account> accounts;
  for (int c = 0; c < 24; ++c) {
    accounts.push_back({"Account", pick(kLetters), pick(kTypes), 0, pick(kRatios)});
  }
  std::vector<Row> rows;
  for (int t = 0; t < 300; ++t) {
    std::vector<long long> amounts(accounts.size());
    for (long long& cents : amounts) {
      if (random() % 3 == 0) {
        cents = std::uniform_int_distribution<long long>(-500000, 900000)(random);
      }
    }
    rows.push_back({pick(kRowLetters), amounts, pick(kDates), pick(kReferences)});
  }
  setJournals(1);
  writeJournal(1, accounts, rows);

  const JournalFiles files(session, 1);
  JournalTaking taking = JournalTaking::of(session, files, 1);
  for (const bool negate : {false, true}) {
    taking.negate = negate;
    const std::vector<TakenColumn> columns = takeColumns(session, files, 'I', taking);
    std::vector<TakenColumn> expected(columns.size());
    std::size_t taken = 0;
    takeAmounts(
        session, files, 'I', taking, [](const TransactionRecord&) { return true; },
        [&](const TakenAmount& amount) {
          TakenColumn& sum = expected[static_cast<std::size_t>(amount.column - 1)];
          sum.amount += amount.amount;
          sum.gst += amount.gst;
          sum.firstRow = sum.firstRow == 0 ? amount.row : sum.firstRow;
          ++taken;
          return true;
        });
    ASSERT_GT(taken, 1000u);
    for (std::size_t i = 0; i < columns.size(); ++i) {
      EXPECT_EQ(columns[i].amount, expected[i].amount) << "column " << i + 1;
      EXPECT_EQ(columns[i].gst, expected[i].gst) << "column " << i + 1;
      EXPECT_EQ(columns[i].firstRow, expected[i].firstRow) << "column " << i + 1;
    }
  }
}

TEST_F(AccountReports, AllPeriodsTakeEveryQuarterOfTheScheme) {
  setJournals(1);
  writeJournal(1, {{"Sales", "N", "S"}}, {{"N", {100}}}, 'F');
  writeJournal(1, {{"Sales", "N", "S"}}, {{"N", {200}}}, 'I');
  writeJournal(1, {{"Sales", "N", "S"}}, {{"N", {400}}}, 'O');  // the full year's own rows
  const auto selected = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
  EXPECT_EQ(selected->table.accounts()[0].amount, Currency::fromCents(-200));
  const auto all = prepareProfitAndLoss(session, ProfitAndLossPeriods::All);
  EXPECT_EQ(all->table.accounts()[0].amount, Currency::fromCents(-300));
}

TEST(ReportPeriods, TitlesAndTheYearEnd) {
  EXPECT_EQ(periodTitle("Q", 'O'), "For the full year");
  EXPECT_EQ(periodTitle("M", 'M'), "For the full year");
  EXPECT_EQ(periodTitle("Q", 'I'), "For the Sep Quarter");
  EXPECT_EQ(periodTitle("M", 'H'), "For Aug");
  // For file names, in words and with the year.
  const Date august = *Date::fromYmd(2026, 8, 1);
  EXPECT_EQ(periodName("Q", 'O', august), "Full Year 2026");
  EXPECT_EQ(periodName("M", 'M', std::nullopt), "Full Year");
  EXPECT_EQ(periodName("Q", 'I', august), "September Quarter 2026");
  EXPECT_EQ(periodName("M", 'A', august), "January 2026");
  EXPECT_EQ(periodName("M", 'L', august), "December 2026");
  EXPECT_EQ(longDate(august), "1 August 2026");
  const Date june = *Date::fromYmd(2026, 6, 10);
  const Date july = *Date::fromYmd(2026, 7, 1);
  EXPECT_EQ(profitAndLossPeriodText(ProfitAndLossPeriods::All, "Q", 'I', june),
            "For the year ended 30 June, 2025");
  EXPECT_EQ(profitAndLossPeriodText(ProfitAndLossPeriods::SelectedOnly, "M", 'M', july),
            "For the year ended 30 June 2026");
  EXPECT_EQ(profitAndLossPeriodText(ProfitAndLossPeriods::SelectedOnly, "Q", 'F', july),
            "For the Jun Quarter");
}

}  // namespace
}  // namespace lum
