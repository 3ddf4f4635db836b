// Damaged journal files are told and their journal left out whole: a file
// shorter than its rows in use, a row cut short, amounts too large to add
// up, a journal count past the journal list.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>

#include "post/render/report_pages.h"
#include "post/reports/gst_figures.h"
#include "post/reports/journal_ledgers.h"
#include "post/reports/profit_and_loss.h"
#include "post/reports/report_run.h"
#include "post/reports/trial_balance.h"
#include "tests/post/render/render_fixture.h"
#include "tests/post/reports/report_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

Currency dollars(long long value) {
  return Currency::fromCents(value * 100);
}

// Journal 1 of the fixture, and journal 2 "Sales" with three rows in the
// September quarter.
class DamagedJournals : public ::testing::Test, protected test::ReportParts {
 protected:
  DamagedJournals() {
    setJournals(2);
    test::writeBytes(area() / "Jnl-0001.dat", test::Bytes()
                                                  .text("Takings Book", 48)
                                                  .text("I", 1)
                                                  .int16(621)
                                                  .text("", 8)
                                                  .text("Sales", 48)
                                                  .text("I", 1)
                                                  .int16(0)
                                                  .text("", 8));
    writeJournal(2, {{"Shop", "Y", "S"}},
                 {{"Y", {-1100000}}, {"Y", {-2200000}}, {"Y", {-3300000}}});
  }

  void cut(const char* name, std::uintmax_t size) { fs::resize_file(area() / name, size); }

  std::string expectedFor(const char* what) {
    return std::string("The journal Sales (journal 2) is damaged: its file ") + what +
           ". It is left out of the report.";
  }

  // Every report over the journal says the same and leaves it out.
  void expectToldEverywhere(const std::string& message) {
    const GstFigures gst = gatherGstFigures(session);
    EXPECT_EQ(gst.damage.messages(), std::vector<std::string>{message});
    EXPECT_TRUE(allZero(gst.journals[1]));
    EXPECT_FALSE(allZero(gst.journals[0]));

    const auto prepared = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
    ASSERT_TRUE(prepared.has_value());
    EXPECT_EQ(prepared->damage.messages(), std::vector<std::string>{message});
    for (const AccountTotal& account : prepared->table.accounts()) {
      EXPECT_NE(account.name, "Shop");
    }

    for (const auto& report : {std::function<void()>([&] { trialBalanceOf(session, 2); }),
                               std::function<void()>([&] { journalLedgersOf(session, 2); })}) {
      try {
        report();
        ADD_FAILURE() << "the damage was not found";
      } catch (const JournalDamaged& damaged) {
        EXPECT_EQ(damaged.damage().message(), message);
      }
    }
  }
};

TEST_F(DamagedJournals, WholeFilesGiveEveryFigure) {
  const GstFigures gst = gatherGstFigures(session);
  EXPECT_FALSE(gst.damage.any());
  EXPECT_EQ(gst.journals[1][kTaxedIncome], dollars(-66000));
  const auto prepared = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
  EXPECT_FALSE(prepared->damage.any());
}

// The amounts file cut after its first row: its amounts were read as
// zeros, and the income fell without a word.
TEST_F(DamagedJournals, AnAmountsFileShorterThanItsRowsInUse) {
  cut("AI020001.dat", AmountsRecord::kSize);
  expectToldEverywhere(expectedFor("AI020001.dat holds 1 row, but 3 are in use"));

  cut("AI020001.dat", 0);
  EXPECT_EQ(gatherGstFigures(session).damage.messages(), std::vector<std::string>{});  // no rows
}

TEST_F(DamagedJournals, ALinesFileCutShortInTheMiddleOfARow) {
  cut("DI020001.dat", TransactionRecord::kSize + 30);
  expectToldEverywhere(expectedFor("DI020001.dat holds 1 row and part of row 2, but 3 are in use"));

  // Part of a row past the rows in use holds nothing the reports read.
  writeJournal(2, {{"Shop", "Y", "S"}}, {{"Y", {-1100000}}, {"Y", {-2200000}}, {"Y", {-3300000}}});
  std::vector<std::byte> lines = test::readBytes(area() / "DI020001.dat");
  lines.resize(lines.size() + 20);
  test::writeBytes(area() / "DI020001.dat", lines);
  EXPECT_FALSE(gatherGstFigures(session).damage.any());
}

TEST_F(DamagedJournals, AmountsTooLargeToAddUpInOneJournalOrTogether) {
  // A GST amount stands for eleven times its size: past what a figure holds.
  writeJournal(2, {{"Shop", "T", "S"}}, {{"Y", {90'000'000'000'000'000}}});
  const std::string told = expectedFor("AI020001.dat holds amounts too large to add up");
  EXPECT_EQ(gatherGstFigures(session).damage.messages(), std::vector<std::string>{told});

  // Each journal's figures fit, but not their sum: the journal that would
  // overflow the report's totals is left out.
  setJournals(3);
  std::vector<std::byte> journals = test::readBytes(area() / "Jnl-0001.dat");
  journals.resize(2 * JournalHeaderRecord::kSize);
  const test::Bytes third = test::Bytes().text("More Sales", 48).text("I", 1).int16(0).text("", 8);
  journals.insert(journals.end(), third.bytes().begin(), third.bytes().end());
  test::writeBytes(area() / "Jnl-0001.dat", journals);
  writeJournal(2, {{"Shop", "N", "S"}}, {{"N", {50'000'000'000'000'000}}});
  writeJournal(3, {{"Shop", "N", "S"}}, {{"N", {50'000'000'000'000'000}}});
  const std::string thirdTold =
      "The journal More Sales (journal 3) is damaged: its file AI030001.dat holds amounts too "
      "large to add up. It is left out of the report.";
  const GstFigures gst = gatherGstFigures(session);
  EXPECT_EQ(gst.damage.messages(), std::vector<std::string>{thirdTold});
  EXPECT_NO_THROW(computeBas(totalsOf(gst), gst.accumulated));
  const auto prepared = prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly);
  EXPECT_EQ(prepared->damage.messages(), std::vector<std::string>{thirdTold});
  EXPECT_NO_THROW(profitAndLossOf(prepared->table).netProfit());

  // A column total that has no size to print.
  test::writeBytes(area() / "GI020001.dat",
                   test::Bytes().raw8(std::numeric_limits<std::int64_t>::min()));
  try {
    trialBalanceOf(session, 2);
    ADD_FAILURE() << "the damage was not found";
  } catch (const JournalDamaged& damaged) {
    EXPECT_EQ(damaged.damage().message(),
              expectedFor("GI020001.dat holds amounts too large to add up"));
  }
}

TEST_F(DamagedJournals, AJournalCountPastTheJournalList) {
  test::writeBytes(area() / "Lcn-0001.dat", test::Bytes().text("Journals", 24).int16(32760));
  const std::string told =
      "The journal count is damaged: its file Lcn-0001.dat counts 32,760 journals, but "
      "Jnl-0001.dat holds 2. Only those 2 are read.";
  const GstFigures gst = gatherGstFigures(session);
  EXPECT_EQ(gst.journals.size(), 2u);
  EXPECT_EQ(gst.damage.messages(), std::vector<std::string>{told});
  EXPECT_EQ(prepareProfitAndLoss(session, ProfitAndLossPeriods::SelectedOnly)->damage.messages(),
            std::vector<std::string>{told});

  // A list as damaged as the count: no more than the 99 journals file names allow.
  setJournals(150);
  test::writeBytes(area() / "Lcn-0001.dat", test::Bytes().text("Journals", 24).int16(32760));
  const JournalCount count = countJournals(session);
  EXPECT_EQ(count.count, 99);
  EXPECT_EQ(count.problem,
            "The journal count is damaged: its file Lcn-0001.dat counts 32,760 journals, but an "
            "entity has 99 at most. Only those 99 are read.");
  setJournals(2);
  EXPECT_EQ(countJournals(session).problem, "");
}

// LumPost's viewer: the run tells the damage through the prompter and
// shows the report of the rest; a report of the damaged journal alone is
// not written.
TEST_F(DamagedJournals, TheReportRunTellsTheDamage) {
  cut("AI020001.dat", AmountsRecord::kSize);
  const std::string told = expectedFor("AI020001.dat holds 1 row, but 3 are in use");
  test::ListingDevice screen;
  ReportPages pages{session, screen};
  session.reportRequests[ReportCode::Gst] = 1;
  ReportRun gst(session, pages, {});
  gst.runReports();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{told});
  EXPECT_EQ(gst.damageTold().messages(), std::vector<std::string>{told});
  EXPECT_NE(screen.listing().find("Takings Book"), std::string::npos);

  screen.clear();
  session.reportRequests[ReportCode::TrialBalance] = 1;
  ReportRunHooks hooks;
  hooks.selectedJournal = [] { return 2; };
  ReportRun trialBalance(session, pages, hooks);
  trialBalance.runReports();
  EXPECT_EQ(prompter.texts().back(), told);
  EXPECT_EQ(screen.listing().find("Trial Balance"), std::string::npos);
}

}  // namespace
}  // namespace lum
