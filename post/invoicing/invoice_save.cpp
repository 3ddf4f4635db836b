// The invoice window's Ok and Clear Invoice: what they write, and the
// journal row they update, as one change of the work area.

#include <fmt/core.h>

#include <algorithm>
#include <stdexcept>

#include "panel/dates.h"
#include "panel/money.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/invoicing/invoice_editor.h"

namespace lum {
namespace {

constexpr std::size_t kJournalParticularsWidth = 46;
constexpr std::size_t kJournalReferenceWidth = 5;

Currency boxAmount(const std::string& text) {
  if (const auto amount = parseMoney(text)) {
    return *amount;
  }
  return Currency::fromDouble(leadingNumber(text)).value_or(Currency());
}

// The next free line record: above the counter, past the records in use.
int nextFreeDetail(const InvoiceBook& book) {
  int candidate = book.counter(EntityCounter::InvoiceDetails) + 1;
  while (candidate <= kMaxRecordNumber && book.lineRecord(candidate).inUse == kInUse) {
    ++candidate;
  }
  if (candidate > kMaxRecordNumber) {
    throw std::runtime_error(
        fmt::format("Every invoice line number up to {} is in use.", kMaxRecordNumber));
  }
  return candidate;
}

}  // namespace

void InvoiceEditor::readBack() {
  mCustomer = static_cast<int>(
      std::clamp(leadingNumber(mBoxes[kCustomerNumber]), -1.0, kMaxRecordNumber + 1.0));
  mHeader.date = mBoxes[kDate];
  mHeader.dateDue = mBoxes[kDateDue];
  mHeader.datePaid = mBoxes[kDatePaid];
  mHeader.amountPaid = boxAmount(mBoxes[kAmountPaid]);
  mHeader.writtenOff = boxAmount(mBoxes[kWrittenOff]);
  mHeader.discount = boxAmount(mBoxes[kDiscount]);
  mHeader.gst = boxAmount(mBoxes[kGst]);
  mHeader.total = boxAmount(mBoxes[kTotal]);
}

InvoiceSave InvoiceEditor::ok() {
  if (mNumber < 1) {
    return InvoiceSave::NoNumber;
  }
  leaveCell();
  readBack();
  if (mHeader.total.isZero()) {
    return InvoiceSave::ZeroTotal;
  }
  // What a failed save puts back in memory; the transaction puts back the files.
  const Journal journal = mJournal;
  const auto lines = mLines;
  const InvoiceRecord header = mHeader;
  const int customer = mCustomer;
  const auto boxes = mBoxes;
  try {
    WorkAreaTransaction transaction(*mContext.ops, mContext.rollbackFolder);
    writeInvoice();
    updateJournalRow(mHeader.total, mHeader.gst, false);
    if (mContext.saveJournal) {
      mContext.saveJournal();
    }
    transaction.commit();
  } catch (...) {
    mJournal = journal;
    mLines = lines;
    mHeader = header;
    mCustomer = customer;
    mBoxes = boxes;
    throw;
  }
  return InvoiceSave::Saved;
}

void InvoiceEditor::writeInvoice() {
  // Step 2: the lines, each in its own record.
  for (int i = 1; i <= kInvoiceLines; ++i) {
    InvoiceLineEntry& line = mLines[static_cast<std::size_t>(i)];
    if (!line.isUsed()) {
      mHeader.detailNumbers[static_cast<std::size_t>(i)] = 0;
      continue;
    }
    if (line.detailNumber == 0) {
      line.detailNumber = nextFreeDetail(mBook);
      if (line.detailNumber > mBook.counter(EntityCounter::InvoiceDetails)) {
        mBook.setCounter(EntityCounter::InvoiceDetails, line.detailNumber);
      }
    }
    mBook.putLine(line.detailNumber,
                  InvoiceLineRecord{static_cast<std::int16_t>(line.productCode), line.particulars,
                                    line.quantity, line.unitPrice, line.gst, line.amount, kInUse});
    mHeader.detailNumbers[static_cast<std::size_t>(i)] = static_cast<float>(line.detailNumber);
  }

  // The customer before the header, so that the header names the number
  // the customer is stored under: a new one is the next after the count.
  const int customers = mBook.counter(EntityCounter::Customers);
  const bool named = !trim(mBoxes[kFirstCustomerField] + mBoxes[kFirstCustomerField + 1]).empty();
  if (mCustomer > 0 && named) {
    if (mCustomer > customers) {
      mCustomer = customers + 1;
      mBook.setCounter(EntityCounter::Customers, mCustomer);
    }
    CustomerRecord record;
    for (std::size_t f = 0; f < CustomerRecord::kFields; ++f) {
      record.texts[f] = mBoxes[kFirstCustomerField + f];
    }
    record.inUse = kInUse;
    mBook.putCustomer(mCustomer, record);
  } else if (mCustomer > customers || mCustomer < 0) {
    mCustomer = 0;  // no customer is stored: a cash sale
  }
  mBoxes[kCustomerNumber] = std::to_string(mCustomer);

  mHeader.customer = static_cast<std::int16_t>(mCustomer);
  mHeader.inUse = kInUse;
  mBook.putInvoice(mNumber, mHeader);
  if (mNumber > mBook.counter(EntityCounter::Invoices)) {
    mBook.setCounter(EntityCounter::Invoices, mNumber);
  }

  // The products follow the lines that name them.
  for (int i = 1; i <= kInvoiceLines; ++i) {
    const InvoiceLineEntry& line = mLines[static_cast<std::size_t>(i)];
    if (line.productCode < 1) {
      continue;
    }
    ProductRecord product = mBook.productRecord(line.productCode);
    product.description = leftCharacters(trim(line.particulars), 72);
    product.gst = line.gst;
    product.unitPrice = line.unitPrice;
    product.inUse = kInUse;
    mBook.putProduct(line.productCode, product);
    if (line.productCode > mBook.counter(EntityCounter::Products)) {
      mBook.setCounter(EntityCounter::Products, line.productCode);
    }
  }
}

void InvoiceEditor::updateJournalRow(Currency total, Currency gst, bool cleared) {
  TransactionRecord& row = mJournal.row(mJournalRow);
  // An invoice date stored as dd/mm/yyyy still gives the row dd/mm/yy.
  const std::string date = normaliseDate(mHeader.date, *mContext.clock);
  if (!date.empty()) {
    row.date = date;
  }
  if (!cleared) {
    row.particulars = leftCharacters(trim(mBoxes[kFirstCustomerField]), kJournalParticularsWidth);
  }
  row.reference = leftCharacters(fmt::format("i{}", mNumber), kJournalReferenceWidth);
  row.gst = std::string(1, gst.isZero() ? 'n' : 'y');

  // The figure goes in as typed at the grid, and is committed there.
  const auto commitAt = [&](int column, Currency value) {
    mJournalEditor.enterCell(mJournalRow, column);
    mJournalEditor.editBoxChanged(value.isZero() ? std::string() : formatMoney(value));
    mJournalEditor.leaveCell();
  };
  if (!mJournal.hasRunningBalance()) {
    commitAt(mJournal.amountColumn(), total);
    return;
  }
  // Credits for a credit note, Charges otherwise; the other of the pair is
  // emptied, so that an invoice turned into a credit note is not both.
  const int credits = mJournal.amountColumn();
  const int charges = mJournal.receiptsColumn();
  const bool credit = total < Currency();
  const int other = credit ? charges : credits;
  if (!mJournal.am(mJournalRow, other).isZero()) {
    commitAt(other, Currency());
  }
  if (!total.isZero() || cleared) {
    commitAt(credit ? credits : charges, total.abs());
  }
}

void InvoiceEditor::clearThisInvoice() {
  if (mNumber < 1) {
    return;
  }
  const Journal before = mJournal;
  try {
    WorkAreaTransaction transaction(*mContext.ops, mContext.rollbackFolder);
    clearInvoice(mBook, mNumber, *mContext.ops, mContext.rollbackFolder);
    mHeader = mBook.invoiceRecord(mNumber);
    updateJournalRow(Currency(), Currency(), true);
    if (mContext.saveJournal) {
      mContext.saveJournal();
    }
    transaction.commit();
  } catch (...) {
    mJournal = before;
    throw;
  }
  clearMemory();
}

void clearInvoice(InvoiceBook& book, int number, FileOps& ops,
                  const std::filesystem::path& rollbackFolder) {
  if (number < 1 || number > kMaxRecordNumber) {
    return;
  }
  WorkAreaTransaction transaction(ops, rollbackFolder);
  InvoiceRecord header = book.invoiceRecord(number);
  for (int i = 1; i <= kInvoiceLines; ++i) {
    const int detail = book.detailNumberOf(number, header, i);
    if (detail != 0) {
      book.putLine(detail, InvoiceLineRecord{});
    }
  }
  header.customer = 0;
  header.date.clear();
  header.datePaid.clear();
  header.dateDue.clear();
  header.total = header.gst = header.amountPaid = header.discount = header.writtenOff = Currency();
  header.inUse = 0;
  book.putInvoice(number, header);
  transaction.commit();
}

}  // namespace lum
