#include "post/reports/invoice_documents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "post/invoicing/invoice_book.h"
#include "post/reports/client_selection.h"
#include "tests/post/reports/invoicing_fixture.h"

namespace lum {
namespace {

Currency cents(long long value) {
  return Currency::fromCents(value);
}

std::vector<int> numbersOf(const InvoiceList& list) {
  std::vector<int> numbers;
  for (const InvoiceListEntry& entry : list.entries) {
    numbers.push_back(entry.invoice);
  }
  return numbers;
}

class InvoiceDocuments : public ::testing::Test, protected test::InvoicingParts {
 protected:
  InvoiceDocuments() { writeSales(); }

  InvoiceList list(InvoiceListKind kind) {
    const InvoiceBook book(session);
    return invoiceListOf(book, kind, asAt, clock);
  }

  const Date asAt = *Date::fromYmd(2005, 8, 31);
};

// As at 31/08/05: 1 owes 180.00, due 04/09; 2 is dated on the day, without
// a due date; 3 was paid in full on 05/09, after the day; 4 was paid; 5 is
// a credit note; 6 is free; 7 is dated after the day.
TEST_F(InvoiceDocuments, EachListTakesTheInvoicesOfItsRule) {
  EXPECT_EQ(numbersOf(list(InvoiceListKind::All)), (std::vector<int>{1, 3, 4, 5}));
  EXPECT_EQ(numbersOf(list(InvoiceListKind::Unpaid)), (std::vector<int>{1, 2, 3}));
  // 2 has no due date: it is overdue from its own date.
  EXPECT_EQ(numbersOf(list(InvoiceListKind::Overdue)), (std::vector<int>{2, 3}));
  // Once its due date is reached, 1 is overdue as well.
  const InvoiceBook book(session);
  EXPECT_EQ(
      numbersOf(invoiceListOf(book, InvoiceListKind::Overdue, *Date::fromYmd(2005, 9, 4), clock)),
      (std::vector<int>{1, 2, 3}));
  // After the payment of 3, only 1, 2 and the new 7 are owing.
  EXPECT_EQ(
      numbersOf(invoiceListOf(book, InvoiceListKind::Unpaid, *Date::fromYmd(2005, 9, 5), clock)),
      (std::vector<int>{1, 2, 7}));
}

TEST_F(InvoiceDocuments, AListCarriesEachInvoicesFiguresAndTheirTotals) {
  const InvoiceList all = list(InvoiceListKind::All);
  ASSERT_EQ(all.entries.size(), 4u);
  const InvoiceListEntry& first = all.entries[0];
  EXPECT_EQ(first.client, "Jones Building");
  EXPECT_EQ(printedDate(first.date), "05/08/05");
  EXPECT_EQ(printedDate(first.due), "04/09/05");
  EXPECT_EQ(first.amounts.balance, cents(18000));
  // A four-digit year reads as well.
  EXPECT_EQ(printedDate(all.entries[1].date), "01/08/05");
  EXPECT_EQ(all.entries[2].client, "Cash Sale");
  // A date paid that is not a date prints blank.
  EXPECT_EQ(printedDate(all.entries[3].paidDate), "");
  EXPECT_EQ(all.totals.total, cents(28600 + 22000 + 3300 - 2200));
  EXPECT_EQ(all.totals.paid, cents(10000 + 22000 + 3300));
  EXPECT_EQ(all.totals.discount, cents(600));
  EXPECT_EQ(all.totals.balance, cents(18000 - 2200));
}

TEST_F(InvoiceDocuments, TheTaxInvoiceNamesItsProductsAfterTheEntity) {
  const InvoiceBook book(session);
  const auto invoice = taxInvoiceOf(book, 1, "Smith Plumbing", clock);
  ASSERT_TRUE(invoice.has_value());
  EXPECT_STREQ(invoice->title(), "Tax Invoice");
  EXPECT_EQ(invoice->customer.name, "Jones Building");
  EXPECT_EQ(invoice->customer.lines,
            (std::vector<std::string>{"Contractors", "Unit 3", "4 Main Road"}));
  EXPECT_EQ(invoice->customer.locality, "Penrith NSW 2750");
  ASSERT_EQ(invoice->lines.size(), 3u);
  EXPECT_EQ(invoice->lines[0].code, "SMI00003");
  EXPECT_EQ(invoice->lines[2].code, "");  // particulars only
  EXPECT_EQ(invoice->deductions(), "Less Amount paid including $6.00 discount");
  EXPECT_EQ(drCrText(invoice->deducted(), false), "$106.00 Cr.");
  EXPECT_EQ(invoice->balance, cents(18000));
  EXPECT_FALSE(taxInvoiceOf(book, 6, "Smith Plumbing", clock).has_value());  // free
}

TEST_F(InvoiceDocuments, StatementsGoToCustomersWithInvoicesUnpaidOnTheDay) {
  const InvoiceBook book(session);
  const auto statements = statementsOf(book, {1, 2}, asAt, clock);
  ASSERT_EQ(statements.size(), 2u);
  const Statement& jones = statements[0];
  EXPECT_EQ(jones.customer.number, 1);
  ASSERT_EQ(jones.entries.size(), 2u);
  EXPECT_EQ(jones.entries[0].invoice, 1);
  EXPECT_EQ(jones.entries[0].credits, cents(600));
  EXPECT_EQ(jones.entries[1].invoice, 3);  // paid after the day
  EXPECT_EQ(jones.totals.charge, cents(50600));
  EXPECT_EQ(jones.totals.paid, cents(32000));
  EXPECT_EQ(jones.totals.balance, cents(18000));
  EXPECT_EQ(statements[1].customer.name, "Brown & Co");
  EXPECT_EQ(statements[1].entries.size(), 1u);  // the credit note owes nothing

  EXPECT_EQ(statementsOf(book, {2, 2}, asAt, clock).size(), 1u);
  EXPECT_TRUE(statementsOf(book, {2, 1}, asAt, clock).empty());
}

TEST(ClientChoices, RangesAreLimitedToTheCustomersInUseAndAChosenOneMustBeThere) {
  const auto range = [](ClientChoice choice, std::array<std::string, 3> boxes) {
    const CustomerRange r = customerRangeOf(choice, boxes, 12);
    return std::pair<int, int>{r.first, r.last};
  };
  using P = std::pair<int, int>;
  EXPECT_EQ(range(ClientChoice::All, {"5", "6", "7"}), (P{1, 12}));
  EXPECT_EQ(range(ClientChoice::Range, {"3", "8", ""}), (P{3, 8}));
  EXPECT_EQ(range(ClientChoice::Range, {"-5", "40000", ""}), (P{1, 12}));
  EXPECT_EQ(range(ClientChoice::Selected, {"", "", "7"}), (P{7, 7}));
  EXPECT_EQ(range(ClientChoice::Selected, {"", "", "40000"}), (P{1, 0}));
  EXPECT_EQ(range(ClientChoice::Selected, {"", "", "-5"}), (P{1, 0}));
  EXPECT_EQ(range(ClientChoice::Selected, {"", "", "abc"}), (P{1, 0}));
  const CustomerRange none = customerRangeOf(ClientChoice::All, {}, 0);
  EXPECT_GT(none.first, none.last);
}

// Damaged files: every record the counters promise that is not there, a
// detail number past the lines file, a quantity that is not a number and
// a customer number below 0 read as blank, a line left out, 0 and a cash
// sale; nothing throws.
TEST_F(InvoiceDocuments, DamagedFilesReadAsBlankRecords) {
  setCounter(EntityCounter::Invoices, 40, "Invoices");
  setCounter(EntityCounter::Customers, 30, "Customers");
  sale(8, {-5, "20/08/05", "", "", 1100, 100, 0, 0, 0, {1, 99}});
  InvoiceLineRecord nan;
  nan.particulars = "Odd";
  nan.quantity = std::numeric_limits<float>::quiet_NaN();
  nan.inUse = kInUse;
  put("InD-0001.dat", 1, nan);
  const InvoiceBook book(session);
  const InvoiceList unpaid = invoiceListOf(book, InvoiceListKind::Unpaid, asAt, clock);
  EXPECT_EQ(numbersOf(unpaid), (std::vector<int>{1, 2, 3, 8}));
  EXPECT_EQ(unpaid.entries.back().client, "Cash Sale");
  const auto invoice = taxInvoiceOf(book, 8, "Smith Plumbing", clock);
  ASSERT_TRUE(invoice.has_value());
  ASSERT_EQ(invoice->lines.size(), 1u);
  EXPECT_EQ(invoice->lines[0].quantity, 0.0);
  EXPECT_EQ(invoice->customer.name, "Cash Sale");
  EXPECT_EQ(statementsOf(book, {1, 30}, asAt, clock).size(), 2u);
  // Two short files, and invoice 8's line past the end and NaN (the lists
  // read no lines).
  EXPECT_EQ(book.problems().size(), 4u);
}

}  // namespace
}  // namespace lum
