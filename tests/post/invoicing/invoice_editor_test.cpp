#include "post/invoicing/invoice_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/post/invoicing/invoice_fixture.h"
#include "tests/support/records.h"

namespace lum {
namespace {

using test::InvoiceParts;
using Editor = InvoiceEditor;

class InvoiceEditing : public ::testing::Test, protected InvoiceParts {};

TEST_F(InvoiceEditing, ANewInvoiceTakesTheNextNumberNotInUse) {
  setCounter(EntityCounter::Invoices, 2);
  put("Inv-0001.dat", 3, invoiceInUse(Currency::fromCents(100)));
  put("Inv-0001.dat", 4, invoiceInUse(Currency::fromCents(100)));
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  EXPECT_EQ(editor->numberText(), "005");
  EXPECT_EQ(editor->boxText(Editor::kDate), "05/08/05");  // the row's
  // Nothing is written by opening.
  EXPECT_EQ(book->counter(EntityCounter::Invoices), 2);

  // Past 9999 the number no longer fits the row's reference.
  setCounter(EntityCounter::Invoices, Editor::kMaxInvoiceNumber);
  EXPECT_FALSE(invoiceEditor()->open());
  EXPECT_NE(prompter.texts().back().find("Every invoice number up to 9999 is in use"),
            std::string::npos);
}

TEST_F(InvoiceEditing, TheReferenceNamesTheInvoice) {
  setCounter(EntityCounter::Invoices, 9);
  InvoiceRecord seven = invoiceInUse(Currency::fromCents(11000));
  seven.gst = Currency::fromCents(1000);
  put("Inv-0001.dat", 7, seven);
  startRow("i7");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  EXPECT_EQ(editor->invoiceNumber(), 7);
  EXPECT_EQ(editor->boxText(Editor::kTotal), "110.00");
  EXPECT_EQ(editor->boxText(Editor::kDate), "01/08/05");

  for (const char* reference : {"7", "i", "ix", "i-3"}) {
    startRow(reference);
    EXPECT_FALSE(invoiceEditor()->open()) << reference;
  }
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>(4, "There is no invoice allocated to this line."));
}

TEST_F(InvoiceEditing, LineAmountsFollowTheGstIndicatorAndTheTotalsFollowTheLines) {
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  type(*editor, 1, Editor::kQty, "2");
  type(*editor, 1, Editor::kUnit, "50");
  type(*editor, 1, Editor::kGstColumn, "y");
  EXPECT_EQ(editor->cellText(1, Editor::kAmount), "110.00");
  EXPECT_EQ(editor->line(1).gst, "y");
  EXPECT_EQ(editor->boxText(Editor::kGst), "10.00");
  EXPECT_EQ(editor->boxText(Editor::kTotal), "110.00");

  type(*editor, 2, Editor::kQty, "2");
  type(*editor, 2, Editor::kUnit, "50.00");
  type(*editor, 2, Editor::kGstColumn, "N");
  EXPECT_EQ(editor->line(2).amount, Currency::fromCents(10000));
  EXPECT_EQ(editor->boxText(Editor::kGst), "10.00");
  EXPECT_EQ(editor->boxText(Editor::kTotal), "210.00");

  // Enter on an empty GST cell takes the line above's indicator.
  type(*editor, 3, Editor::kQty, "1");
  type(*editor, 3, Editor::kUnit, "10");
  type(*editor, 3, Editor::kGstColumn, "");
  EXPECT_EQ(editor->line(3).gst, "n");
  EXPECT_EQ(editor->boxText(Editor::kTotal), "220.00");

  type(*editor, 4, Editor::kGstColumn, "x");
  EXPECT_EQ(prompter.texts().back(), "Incorrect Entry - expected Y or N");
  EXPECT_EQ(editor->line(4).gst, "");

  // An amount typed over the computed one, then the line cleared.
  type(*editor, 2, Editor::kAmount, "90");
  EXPECT_EQ(editor->boxText(Editor::kTotal), "210.00");
  editor->enterCell(2, Editor::kParticulars);
  editor->clearLine();
  EXPECT_EQ(editor->boxText(Editor::kTotal), "120.00");
  EXPECT_EQ(editor->cellText(2, Editor::kAmount), "");

  // Inv Paid takes today and the total.
  editor->setPaid(true);
  EXPECT_EQ(editor->boxText(Editor::kDatePaid), "20/08/26");
  EXPECT_EQ(editor->boxText(Editor::kAmountPaid), "120.00");
  editor->setPaid(false);
  EXPECT_EQ(editor->boxText(Editor::kAmountPaid), "");
}

TEST_F(InvoiceEditing, ProductCodesAboveTheLimitAreRefusedAndKnownOnesFillTheLine) {
  setCounter(EntityCounter::Products, 3);
  put("Prd-0001.dat", 3, ProductRecord{"Copper pipe 15mm", Currency::fromCents(1250), "y", kInUse});
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  type(*editor, 1, Editor::kCode, "30001");
  EXPECT_EQ(prompter.texts().back(), "Product Code greater than 30000 is not admissible");
  EXPECT_EQ(editor->line(1).productCode, 0);
  EXPECT_EQ(editor->cellText(1, Editor::kCode), "");

  type(*editor, 1, Editor::kCode, "3");
  EXPECT_EQ(editor->cellText(1, Editor::kParticulars), "Copper pipe 15mm");
  EXPECT_EQ(editor->cellText(1, Editor::kUnit), "12.50");
  EXPECT_EQ(editor->cellText(1, Editor::kGstColumn), "Y");
  EXPECT_EQ(editor->column(), Editor::kParticulars);  // Enter moved on

  // Enter through the indicator the product gave, nothing typed, makes the amount.
  type(*editor, 1, Editor::kQty, "2");
  editor->enterCell(1, Editor::kGstColumn);
  editor->keyDown(JournalEditor::kEnter, false);
  EXPECT_EQ(editor->cellText(1, Editor::kAmount), "27.50");
  EXPECT_EQ(editor->boxText(Editor::kTotal), "27.50");
}

TEST_F(InvoiceEditing, SearchesWrapAroundAndSayWhatTheyCannotFind) {
  setCounter(EntityCounter::Customers, 3);
  put("Cus-0001.dat", 1, CustomerRecord{{"Harbour Cafe"}, kInUse});
  put("Cus-0001.dat", 2, CustomerRecord{{"Bayside", "Bakery"}, kInUse});
  put("Cus-0001.dat", 3, CustomerRecord{{"Harbour Motors"}, kInUse});
  setCounter(EntityCounter::Products, 2);
  put("Prd-0001.dat", 2, ProductRecord{"Labour per hour", Currency::fromCents(8000), "y", kInUse});
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  EXPECT_EQ(editor->customerNumber(), 4);  // a new customer until one is chosen

  ASSERT_TRUE(editor->searchCustomer(" harbour ", +1));
  EXPECT_EQ(editor->customerNumber(), 1);
  ASSERT_TRUE(editor->searchCustomer("harbour", +1));
  EXPECT_EQ(editor->boxText(Editor::kFirstCustomerField), "Harbour Motors");
  ASSERT_TRUE(editor->searchCustomer("harbour", +1));  // round again
  EXPECT_EQ(editor->customerNumber(), 1);
  ASSERT_TRUE(editor->searchCustomer("harbour", -1));  // backwards past the first
  EXPECT_EQ(editor->customerNumber(), 3);
  ASSERT_TRUE(editor->searchCustomer("BAYSIDEBAK", +1));  // the name runs on into its second line
  EXPECT_EQ(editor->customerNumber(), 2);
  EXPECT_EQ(editor->boxText(Editor::kCustomerNumber), "2");

  EXPECT_FALSE(editor->searchCustomer("plumb", +1));
  EXPECT_EQ(prompter.texts().back(), "Cannot find PLUMB");
  EXPECT_EQ(editor->customerNumber(), 4);
  EXPECT_EQ(editor->boxText(Editor::kFirstCustomerField), "");

  editor->enterCell(2, Editor::kCode);
  ASSERT_TRUE(editor->searchProduct("labour", +1));
  EXPECT_EQ(editor->cellText(2, Editor::kCode), "2");
  EXPECT_EQ(editor->cellText(2, Editor::kUnit), "80.00");
  EXPECT_FALSE(editor->searchProduct("pipe", -1));
  EXPECT_EQ(prompter.texts().back(), "Cannot find PIPE");
  EXPECT_EQ(editor->cellText(2, Editor::kParticulars), "");
}

// Ok writes the lines, header, customer and product, raises the counters
// and updates the journal row, which is saved with them.
TEST_F(InvoiceEditing, OkSavesTheInvoiceItsCustomerAndProductsAndTheJournalRow) {
  setCounter(EntityCounter::Customers, 2);
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  editor->setBox(Editor::kFirstCustomerField, "Harbour Cafe");
  editor->setBox(Editor::kDate, "5.8.05");
  type(*editor, 1, Editor::kCode, "3");
  type(*editor, 1, Editor::kParticulars, "Tap washers");
  type(*editor, 1, Editor::kQty, "2");
  type(*editor, 1, Editor::kUnit, "50");
  type(*editor, 1, Editor::kGstColumn, "Y");
  type(*editor, 2, Editor::kParticulars, "Thank you");
  ASSERT_EQ(editor->ok(), InvoiceSave::Saved);

  EXPECT_EQ(book->counter(EntityCounter::InvoiceDetails), 2);
  EXPECT_EQ(book->counter(EntityCounter::Customers), 3);  // a new customer
  const auto invoice = book->invoice(1);
  ASSERT_TRUE(invoice);
  EXPECT_EQ(invoice->customer, 3);
  EXPECT_EQ(invoice->gst, Currency::fromCents(1000));
  ASSERT_EQ(invoice->lines.size(), 2u);
  EXPECT_EQ(invoice->lines[1].particulars, "Thank you");
  EXPECT_EQ(book->customerName(3), "Harbour Cafe");
  EXPECT_EQ(book->product(3)->unitPrice, Currency::fromCents(5000));

  // The row, on disk as well as in memory.
  const auto row = test::recordOf<TransactionRecord>(area() / "DI010001.dat", 3);
  EXPECT_EQ(row.particulars, "Harbour Cafe");
  EXPECT_EQ(row.reference, "i1");
  EXPECT_EQ(files.load().am(3, 4), Currency::fromCents(11000));

  // Reopened from the row, the invoice is the one saved.
  journalEditor->enterCell(3, 0);
  auto again = invoiceEditor();
  ASSERT_TRUE(again->open());
  EXPECT_EQ(again->invoiceNumber(), 1);
  EXPECT_EQ(again->customerNumber(), 3);
  EXPECT_EQ(again->cellText(1, Editor::kAmount), "110.00");
}

TEST_F(InvoiceEditing, AZeroTotalIsNotSavedAndACashSaleStoresNoCustomer) {
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  EXPECT_EQ(editor->ok(), InvoiceSave::ZeroTotal);
  EXPECT_EQ(book->counter(EntityCounter::Invoices), 0);

  type(*editor, 1, Editor::kAmount, "25");
  ASSERT_EQ(editor->ok(), InvoiceSave::Saved);
  EXPECT_EQ(book->invoice(1)->customer, 0);
  EXPECT_EQ(book->counter(EntityCounter::Customers), 0);
  EXPECT_EQ(book->customerName(book->invoice(1)->customer), "Cash Sale");
}

// Older files hold four-digit years; the journal row takes dd/mm/yy.
TEST_F(InvoiceEditing, AnInvoiceDatedWithAFourDigitYearGivesTheRowItsDate) {
  setCounter(EntityCounter::Invoices, 1);
  InvoiceRecord one = invoiceInUse(Currency::fromCents(5000));
  one.date = "06/08/2005";
  put("Inv-0001.dat", 1, one);
  startRow("i1");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  type(*editor, 1, Editor::kAmount, "50");
  ASSERT_EQ(editor->ok(), InvoiceSave::Saved);
  EXPECT_EQ(journal->row(3).date, "06/08/05");
}

class InvoiceEditingModeThree : public ::testing::Test, protected InvoiceParts {
 protected:
  InvoiceEditingModeThree() : InvoiceParts(PostingMode::OtherBusiness) {}
};

TEST_F(InvoiceEditingModeThree, ACreditNoteLandsPositiveInCreditsAndAnInvoiceInCharges) {
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  type(*editor, 1, Editor::kQty, "-1");
  type(*editor, 1, Editor::kUnit, "40");
  type(*editor, 1, Editor::kGstColumn, "Y");
  EXPECT_EQ(editor->boxText(Editor::kTotal), "-44.00");
  ASSERT_EQ(editor->ok(), InvoiceSave::Saved);
  EXPECT_EQ(journal->am(3, 4), Currency::fromCents(4400));  // Credits
  EXPECT_EQ(journal->am(3, 5), Currency());
  EXPECT_EQ(files.load().am(3, 4), Currency::fromCents(4400));

  // The same invoice made a charge moves the figure to Charges.
  journalEditor->enterCell(3, 0);
  auto again = invoiceEditor();
  ASSERT_TRUE(again->open());
  type(*again, 1, Editor::kQty, "1");
  type(*again, 1, Editor::kGstColumn, "Y");
  ASSERT_EQ(again->ok(), InvoiceSave::Saved);
  EXPECT_EQ(journal->am(3, 4), Currency());
  EXPECT_EQ(journal->am(3, 5), Currency::fromCents(4400));
  EXPECT_EQ(journal->am(0, 5), journal->am(3, 5) + journal->am(1, 5) + journal->am(2, 5));
}

TEST_F(InvoiceEditing, DeletingItsRowClearsTheInvoiceWhenAsked) {
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  type(*editor, 1, Editor::kParticulars, "Call-out");
  type(*editor, 1, Editor::kAmount, "80");
  ASSERT_EQ(editor->ok(), InvoiceSave::Saved);
  ASSERT_TRUE(book->invoice(1));

  prompter.then(Answer::Yes).then(Answer::Yes);
  journalEditor->enterCell(3, 0);
  journalEditor->deleteRow();
  EXPECT_EQ(prompter.texts().at(1), "Do you want to clear Invoice number 1 as well?");
  EXPECT_FALSE(book->invoice(1));
  EXPECT_EQ(book->lineRecord(1).inUse, 0);
  // The counter stays, so the next new invoice is the one after.
  startRow("", 3);
  auto next = invoiceEditor();
  ASSERT_TRUE(next->open());
  EXPECT_EQ(next->invoiceNumber(), 2);
}

TEST_F(InvoiceEditing, ClearInvoiceEmptiesTheInvoiceAndItsRowsAmount) {
  startRow("");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  type(*editor, 1, Editor::kAmount, "80");
  ASSERT_EQ(editor->ok(), InvoiceSave::Saved);
  editor->clearThisInvoice();
  EXPECT_FALSE(book->invoice(1));
  EXPECT_EQ(journal->row(3).reference, "i1");
  EXPECT_EQ(files.load().am(3, 4), Currency());
}

// Damaged files: told, read as blank, never a crash.
TEST_F(InvoiceEditing, DamagedFilesAreToldAndReadAsBlank) {
  setCounter(EntityCounter::Invoices, 9);
  setCounter(EntityCounter::InvoiceDetails, 40);
  InvoiceRecord seven = invoiceInUse(Currency::fromCents(11000));
  seven.customer = -5;
  seven.detailNumbers[1] = 1;
  seven.detailNumbers[2] = 500;  // past the file
  seven.detailNumbers[3] = std::numeric_limits<float>::quiet_NaN();
  seven.detailNumbers[4] = 1.5f;
  put("Inv-0001.dat", 7, seven);
  put("InD-0001.dat", 1,
      InvoiceLineRecord{0, "Odd", std::numeric_limits<float>::quiet_NaN(), Currency::fromCents(100),
                        "y", Currency::fromCents(110), kInUse});
  InvoiceBook damaged(session);
  EXPECT_EQ(damaged.problems().size(), 2u);  // both files shorter than their counters
  EXPECT_NE(damaged.problems()[0].find("Inv-0001.dat holds 7 invoices but its counter says 9"),
            std::string::npos)
      << damaged.problems()[0];

  startRow("i7");
  auto editor = invoiceEditor();
  ASSERT_TRUE(editor->open());
  const std::string told = prompter.texts().back();
  EXPECT_NE(told.find("Invoice 7 line 2 names line record 500"), std::string::npos) << told;
  EXPECT_NE(told.find("Invoice 7 line 1 has a quantity that is not a number"), std::string::npos)
      << told;
  EXPECT_EQ(editor->line(1).quantity, 0.0f);
  for (const int line : {2, 3, 4}) {
    EXPECT_EQ(editor->line(line).detailNumber, 0) << line;
  }
  EXPECT_EQ(editor->customerNumber(), 1);  // -5 is no customer: a new one
  EXPECT_FALSE(editor->selectCustomer(40000));
  EXPECT_EQ(editor->customerNumber(), 1);

  // A quantity that is no number typed at the grid counts as 0.
  type(*editor, 5, Editor::kQty, "NaN");
  EXPECT_EQ(editor->line(5).quantity, 0.0f);
  editor->setBox(Editor::kCustomerNumber, "40000");
  editor->setBox(Editor::kFirstCustomerField, "New Customer");
  ASSERT_EQ(editor->ok(), InvoiceSave::Saved);
  EXPECT_EQ(book->invoice(7)->customer, 1);
  EXPECT_EQ(book->counter(EntityCounter::Customers), 1);
}

}  // namespace
}  // namespace lum
