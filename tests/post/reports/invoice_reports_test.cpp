// The invoicing documents and lists as the report run writes them.

#include <gtest/gtest.h>

#include "post/invoicing/invoice_book.h"
#include "post/login/window_dispatch.h"
#include "post/render/report_pages.h"
#include "post/reports/client_selection.h"
#include "post/reports/report_run.h"
#include "tests/post/render/render_fixture.h"
#include "tests/post/reports/golden_listing.h"
#include "tests/post/reports/invoicing_fixture.h"

namespace lum {
namespace {

using test::expectGolden;

bool has(const std::string& listing, const std::string& line) {
  return listing.find(line) != std::string::npos;
}

class InvoiceReports : public ::testing::Test, protected test::InvoicingParts {
 protected:
  InvoiceReports() {
    session.open("RepPar");
    writeSales();
  }

  // A report of the list kind, as at 31/08/05.
  std::string run(ReportCode code) {
    prompter.thenType("31/08/05");
    EXPECT_TRUE(reports.askReportDate(code));
    screen.clear();
    reports.runReports();
    return screen.listing();
  }

  std::string taxInvoice(int number) {
    reports.requestTaxInvoice(number);
    screen.clear();
    reports.runReports();
    return screen.listing();
  }

  test::ListingDevice screen;
  ReportPages pages{session, screen};
  ReportRun reports{session, pages, {}};
};

TEST_F(InvoiceReports, TheTaxInvoice) {
  expectGolden(taxInvoice(1), "tax_invoice.txt");
  EXPECT_TRUE(prompter.texts().empty());
  EXPECT_EQ(pages.yazan().pageCount(), 1);
  const auto document = pages.documentAt(1);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(document->name, "Invoice 1");
}

TEST_F(InvoiceReports, ANegativeTotalPrintsATaxCreditNote) {
  const std::string listing = taxInvoice(5);
  EXPECT_TRUE(has(listing, " R Tax Credit Note\n")) << listing;
  EXPECT_FALSE(has(listing, " R Tax Invoice\n"));
  EXPECT_TRUE(has(listing, " L Total Invoice\n"));
  EXPECT_TRUE(has(listing, " R $22.00 Cr.\n"));
}

// Forty full lines, the most an invoice holds, and every deduction still
// fit the one page.
TEST_F(InvoiceReports, FortyLinesFitOnePage) {
  std::vector<int> details;
  for (int d = 1; d <= kInvoiceLines; ++d) {
    line(d, {d, "Copper elbow joint 15mm, silver soldered, pressure tested", 1, 1000, "y", 1100});
    details.push_back(d);
  }
  sale(9, {1, "20/08/05", "20/09/05", "25/08/05", 44000, 4000, 40000, 1000, 3000, details});
  const std::string listing = taxInvoice(9);
  EXPECT_EQ(pages.yazan().pageCount(), 1);
  EXPECT_TRUE(
      has(listing, " L Less Amount paid including $10.00 discount and $30.00 written off\n"))
      << listing;
  EXPECT_TRUE(has(listing, " L Balance Remaining\n"));
  EXPECT_TRUE(has(listing, " L Total GST included in this invoice\n"));
}

TEST_F(InvoiceReports, TheUnpaidInvoicesList) {
  expectGolden(run(ReportCode::UnpaidInvoices), "unpaid_invoices.txt");
  EXPECT_EQ(reports.invoicesInUse(), 7);
}

TEST_F(InvoiceReports, TheListOfAllLeavesOutTheInvoiceOfTheDay) {
  const std::string listing = run(ReportCode::AllInvoices);
  const auto name = pages.reportName();
  ASSERT_TRUE(name.has_value());
  EXPECT_EQ(pdfFileName(*name), "Smith Plumbing List of All Invoices as at 31 August 2005.pdf");
  EXPECT_TRUE(has(listing, " L List of All Invoices\n"));
  EXPECT_TRUE(has(listing, " L As at 31/08/05\n"));
  EXPECT_TRUE(has(listing, " L 0005\n"));
  EXPECT_FALSE(has(listing, " L 0002\n"));
}

TEST_F(InvoiceReports, TheStatementsOfTheChosenCustomers) {
  reports.setStatementCustomers({1, 2});
  expectGolden(run(ReportCode::Statements), "statements.txt");
  EXPECT_EQ(pages.yazan().pageCount(), 2);
  // Each customer's statement is a document of its own, for its PDF.
  const auto jones = pages.documentAt(1);
  const auto brown = pages.documentAt(2);
  ASSERT_TRUE(jones && brown);
  EXPECT_EQ(jones->name, "Statement Jones Building");
  EXPECT_EQ(jones->lastPage, 1);
  EXPECT_EQ(brown->name, "Statement Brown & Co");
  EXPECT_EQ(brown->firstPage, 2);
}

// Nobody owes anything as at 31/07/05: no statement, and the user is told.
TEST_F(InvoiceReports, WithoutStatementsTheUserIsTold) {
  reports.setStatementCustomers({1, 2});
  prompter.thenType("31/07/05");
  ASSERT_TRUE(reports.askReportDate(ReportCode::Statements));
  reports.runReports();
  EXPECT_EQ(pages.yazan().pageCount(), 0);
  EXPECT_EQ(prompter.texts().back(), "No customer has invoices unpaid as at 31/07/05.");
}

TEST_F(InvoiceReports, TheCustomersAndProductsLists) {
  const std::string customers = run(ReportCode::CustomersList);
  EXPECT_TRUE(has(customers, " R 1\n"));
  EXPECT_TRUE(has(customers, " L Jones Building\n"));
  EXPECT_TRUE(has(customers, " L Penrith NSW 2750\n"));
  EXPECT_TRUE(has(customers, " L Ann Jones 02 4721 0000\n"));
  const std::string products = run(ReportCode::ProductsList);
  EXPECT_TRUE(has(products, " L Products/Services List\n"));
  EXPECT_TRUE(has(products, " L Labour per hour\n"));
  EXPECT_TRUE(has(products, " R 80.00\n"));
}

// Printed from the invoice window, whose book has the files open: the
// report reads through them and leaves them open for the window.
TEST_F(InvoiceReports, PrintingLeavesTheInvoiceWindowsFilesOpen) {
  const InvoiceBook window(session);
  taxInvoice(1);
  ASSERT_TRUE(window.invoice(1).has_value());
  EXPECT_EQ(window.invoice(1)->total, Currency::fromCents(28600));
}

TEST_F(InvoiceReports, DamageIsToldAfterThePages) {
  setCounter(EntityCounter::Invoices, 9, "Invoices");
  sale(8, {1, "20/08/05", "", "", 1100, 100, 0, 0, 0, {1, 250}});
  const std::string listing = taxInvoice(8);
  EXPECT_TRUE(has(listing, " L 0008\n"));
  ASSERT_EQ(prompter.texts().size(), 1u);
  EXPECT_EQ(prompter.texts()[0],
            "Inv-0001.dat holds 8 invoices but its counter says 9: the missing ones read as "
            "blank.\nInvoice 8 line 2 names line record 250, which InD-0001.dat has not: the "
            "line is left out.");
}

TEST_F(InvoiceReports, ClientSelectionChoosesTheCustomersOfTheStatements) {
  int shown = 0;
  ClientSelection& selection = installClientSelection(session, reports, [&] { ++shown; });
  openWindow(session, kClientSelection);
  InputPanel& panel = *session.panel(kClientSelection);
  EXPECT_FALSE(panel.boxEnabled(ClientSelection::kFirstBox));
  EXPECT_FALSE(panel.boxEnabled(ClientSelection::kChosenBox));
  selection.choose(ClientChoice::Selected);
  EXPECT_TRUE(panel.boxEnabled(ClientSelection::kChosenBox));
  EXPECT_FALSE(panel.boxEnabled(ClientSelection::kLastBox));
  EXPECT_EQ(panel.focusedBox(), ClientSelection::kChosenBox);

  // A customer that is not there is told and asks no date.
  panel.textEdited(ClientSelection::kChosenBox, "40000");
  selection.accept();
  EXPECT_EQ(
      prompter.texts(),
      std::vector<std::string>{"There is no customer 40000: the customers are numbered 1 to 2."});
  EXPECT_EQ(shown, 0);

  panel.textEdited(ClientSelection::kChosenBox, "2");
  prompter.thenType("31/08/05");
  selection.accept();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(session.currentWindow, kJournalsList);  // closed
  EXPECT_EQ(session.reportRequests[ReportCode::Statements], 1);
  screen.clear();
  reports.runReports();
  const std::string listing = screen.listing();
  EXPECT_TRUE(has(listing, " L Brown & Co\n"));
  EXPECT_FALSE(has(listing, " L Jones Building\n"));
}

}  // namespace
}  // namespace lum
