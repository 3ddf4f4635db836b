#include "post/reports/report_run.h"

#include <gtest/gtest.h>

#include <fstream>

#include "post/render/page_records.h"
#include "post/render/report_pages.h"
#include "post/reports/report_archive.h"
#include "post/reports/report_text.h"
#include "tests/post/render/render_fixture.h"
#include "tests/post/reports/golden_listing.h"
#include "tests/post/reports/report_fixture.h"
#include "tests/support/records.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::expectGolden;

class ReportRunTest : public ::testing::Test, protected test::ReportParts {
 protected:
  ReportRunTest() {
    session.login.reportOption = "ACCOUNT";
    session.login.setup.paygRate = 0.04;
    session.open("RepPar");
    setJournals(2);
    writeJournal(1, {{"Sales", "Y", "S", 7}, {"Exports", "N", "S", 2}, {"Bank", "Y", "A"}},
                 {{"Y", {11000, 0, -11000}, "01/08/05", "1", "Takings"},
                  {"N", {0, 5000, -5000}, "02/08/05", "2", "Export order"}});
    writeJournal(2, {{"Fuel", "", "E"}, {"Plant", "Y", "F", 3}},
                 {{"Y", {4400, 0}, "05/08/05", "7", "Diesel"},
                  {"Y", {0, 220000}, "09/08/05", "8", "Trailer"}});
  }

  std::string run(ReportCode code) {
    session.reportRequests[code] = 1;
    screen.clear();
    ReportRun reports(session, pages, {});
    reports.runReports();
    EXPECT_EQ(reports.currentCode(), nextReportCode(code));
    return screen.listing();
  }

  test::ListingDevice screen;
  ReportPages pages{session, screen};
};

TEST_F(ReportRunTest, TheGstReportWithItsBasSummary) {
  expectGolden(run(ReportCode::Gst), "gst_report.txt");
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(ReportRunTest, TheTrialBalanceAndTheLedgersOfTheSelectedJournal) {
  // The journals list shows journal 1 selected.
  expectGolden(run(ReportCode::TrialBalance) + run(ReportCode::JournalLedgers),
               "trial_balance_and_ledgers.txt");
}

TEST_F(ReportRunTest, TheTrialBalanceOfAJournalWithoutABankColumnEndsWithItsContra) {
  session.reportRequests[ReportCode::TrialBalance] = 1;
  ReportRunHooks hooks;
  hooks.selectedJournal = [] { return 2; };
  ReportRun reports(session, pages, hooks);
  reports.runReports();
  expectGolden(screen.listing(), "trial_balance_contra.txt");
}

TEST_F(ReportRunTest, TheProfitAndLossStatementAndItsOtherTransactions) {
  // More accounts, so that every section has its heading and total.
  setJournals(3);
  writeJournal(3,
               {{"Purchases", "N", "C"},
                {"Freight", "N", "C"},
                {"Rent", "N", "E"},
                {"Interest", "N", "I"},
                {"Commission", "N", "I"}},
               {{"N", {3000, 500, 1200, -100, -250}, "20/08/05", "9", "Sundries"}});
  ReportRun reports(session, pages, {});
  ASSERT_TRUE(reports.prepareProfitAndLoss(ProfitAndLossPeriods::SelectedOnly));
  prompter.thenType("For the quarter to 30 September 2005");
  screen.clear();
  reports.runReports();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Date for the report"});
  expectGolden(screen.listing(), "profit_and_loss.txt");
}

TEST_F(ReportRunTest, WithoutAccountInTheReportOptionThePageEndsAfterTheTotals) {
  session.login.reportOption = "";
  const std::string listing = run(ReportCode::Gst);
  EXPECT_NE(listing.find(" L Totals\n"), std::string::npos);
  EXPECT_EQ(listing.find("BAS Statement Summary"), std::string::npos);
}

TEST_F(ReportRunTest, ASingleCostOfSalesAccountIsOneLessLine) {
  setJournals(3);
  writeJournal(3, {{"Purchases", "N", "C"}}, {{"N", {3000}, "20/08/05", "9", "Stock"}});
  ReportRun reports(session, pages, {});
  ASSERT_TRUE(reports.prepareProfitAndLoss(ProfitAndLossPeriods::SelectedOnly));
  prompter.thenType(std::nullopt);
  screen.clear();
  reports.runReports();
  const std::string listing = screen.listing();
  EXPECT_NE(listing.find(" L Less Purchases\n"), std::string::npos) << listing;
  EXPECT_EQ(listing.find("Total Cost of Sales"), std::string::npos);
  EXPECT_NE(listing.find(" L Gross Profit\n"), std::string::npos);
  EXPECT_NE(listing.find(" L For the Sep Quarter\n"), std::string::npos);  // as offered
}

// Each run names its report for the PDF file: the entity, the title and
// the period of its heading, with the GST date's year.
TEST_F(ReportRunTest, EachRunNamesItsReport) {
  session.login.gstDate = Date::fromYmd(2005, 7, 1);
  const auto named = [this] {
    const auto name = pages.reportName();
    return name ? name->entity + " | " + name->title + " | " + name->period : "none";
  };
  run(ReportCode::Gst);
  EXPECT_EQ(named(), "Smith Plumbing | GST Report | September Quarter 2005");
  run(ReportCode::JournalLedgers);
  EXPECT_EQ(named(),
            "Smith Plumbing | Ledgers for Journal No: 1 Takings Book | September Quarter 2005");

  const auto profitAndLoss = [this](std::optional<std::string> typed) {
    ReportRun reports(session, pages, {});
    ASSERT_TRUE(reports.prepareProfitAndLoss(ProfitAndLossPeriods::SelectedOnly));
    prompter.thenType(std::move(typed));
    reports.runReports();
  };
  profitAndLoss(std::nullopt);  // the period as offered
  EXPECT_EQ(named(), "Smith Plumbing | Profit & Loss Statement | September Quarter 2005");
  profitAndLoss("For the quarter to 30 September 2005");
  EXPECT_EQ(named(), "Smith Plumbing | Profit & Loss Statement | quarter to 30 September 2005");
  EXPECT_EQ(pdfFileName(*pages.reportName()),
            "Smith Plumbing Profit & Loss Statement quarter to 30 September 2005.pdf");
}

TEST_F(ReportRunTest, TheInvoiceReportsAskTheirDate) {
  ReportRun reports(session, pages, {});
  prompter.thenType("1.7.05");
  EXPECT_TRUE(reports.askReportDate(ReportCode::AllInvoices));
  EXPECT_EQ(session.reportRequests[ReportCode::AllInvoices], 1);
  session.reportRequests[ReportCode::AllInvoices] = 0;
  prompter.thenType("99/99/99");
  EXPECT_FALSE(reports.askReportDate(ReportCode::UnpaidInvoices));
  EXPECT_EQ(session.reportRequests[ReportCode::UnpaidInvoices], 0);
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"Enter date for the report", "Enter date for the report",
                                      "Date entered is not admissible"}));
}

TEST_F(ReportRunTest, WithoutRequestsTheRunClosesTheViewerAndStartsAgain) {
  int closed = 0;
  ReportRunHooks hooks;
  hooks.closeCurrentWindow = [&] { ++closed; };
  ReportRun reports(session, pages, hooks);
  session.reportRequests[ReportCode::Gst] = 1;
  reports.runReports();
  EXPECT_EQ(reports.currentCode(), ReportCode::TrialBalance);
  reports.runReports();  // the viewer's Re-run, nothing requested
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(reports.currentCode(), ReportCode::SetUp);
  session.reportRequests[ReportCode::Gst] = 1;
  reports.runReports();  // the same report again, from the start
  EXPECT_EQ(reports.currentCode(), ReportCode::TrialBalance);
}

TEST_F(ReportRunTest, TheGatheringShowsItsProgressToHalfWay) {
  std::vector<std::pair<int, int>> steps;
  int opened = 0;
  ReportRunHooks hooks;
  hooks.progressOpen = [&] { ++opened; };
  hooks.progress = [&](int done, int total) { steps.emplace_back(done, total); };
  ReportRun reports(session, pages, hooks);
  session.reportRequests[ReportCode::Gst] = 1;
  reports.runReports();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(steps.back(), (std::pair<int, int>{2, 4}));
  // The same period again: the figures are kept, not gathered again.
  session.reportRequests[ReportCode::Gst] = 1;
  reports.runReports();
  reports.runReports();
  EXPECT_EQ(opened, 1);
  // Until a journal is saved: then they are out of date.
  JournalFiles files(session, 1);
  Journal journal = files.load();
  files.save(journal);
  reports.viewerClosed();
  session.reportRequests[ReportCode::Gst] = 1;
  reports.runReports();
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(reports.currentCode(), ReportCode::TrialBalance);
}

TEST_F(ReportRunTest, ArchivingKeepsTheReportOnScreenUnderItsPeriodsEnd) {
  run(ReportCode::Gst);
  ReportArchive archive;
  session.login.ledgersNumber = 621;
  prompter.thenType("30.6.05");
  ASSERT_TRUE(archive.archiveReport(session, pages.yazan()));
  const fs::path commands = prog() / "Ay-621--30-06-05.dat";
  ASSERT_TRUE(fs::exists(commands));
  EXPECT_EQ(test::readBytes(prog() / "Ak-621--30-06-05.dat"),
            test::readBytes(area() / "Kelamlar.dat"));
  const auto header = test::recordOf<PageCommandRecord>(commands, 1);
  EXPECT_EQ(header.e, 1.0f);  // the page count
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{
                                  "Enter date for the financial period of the report as dd/mm/yy",
                                  "Report has been archived"}));

  // Asked once a run: the second archive uses the same date.
  ASSERT_TRUE(archive.archiveReport(session, pages.yazan()));
  EXPECT_EQ(prompter.texts().size(), 3u);

  ReportArchive cancelled;
  prompter.thenType(std::nullopt);
  EXPECT_FALSE(cancelled.archiveReport(session, pages.yazan()));

  EXPECT_EQ(lastFinancialYearEnd(2006, 3), "30/06/2005");
  EXPECT_EQ(lastFinancialYearEnd(2006, 8), "30/06/2006");
}

TEST(ReportText, NumbersAsTheHeadingsWriteThem) {
  EXPECT_EQ(numberToText(0.25), " .25");
  EXPECT_EQ(numberToText(2), " 2");
  EXPECT_EQ(numberToText(0), " 0");
  EXPECT_EQ(numberToText(-1.5), "-1.5");
}

}  // namespace
}  // namespace lum
