#include "post/invoicing/invoice_editor.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "panel/dates.h"
#include "panel/money.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/journals/grid_keys.h"

namespace lum {
namespace {

constexpr std::size_t kParticularsWidth = 72;

// A typed number as the old programs read it, held to a range that any
// check of it can use without overflowing an int.
int wholeNumber(std::string_view text) {
  const double value = leadingNumber(text);
  return static_cast<int>(std::clamp(std::trunc(value), -1e6, 1e6));
}

// A typed amount; text that is not a number counts as 0.
Currency amountOf(std::string_view text) {
  if (const auto amount = parseMoney(text)) {
    return *amount;
  }
  return Currency::fromDouble(leadingNumber(text)).value_or(Currency());
}

std::string amountBox(Currency amount) {
  return amount.isZero() ? std::string() : formatMoney(amount);
}

// The name a customer is matched and listed by: name and second line.
std::string searchName(const CustomerRecord& record) {
  return toUpper(trim(record.texts[0])) + toUpper(trim(record.texts[1]));
}

// The next number of a walk over 1 to count with wrap-around.
int stepRound(int number, int step, int count) {
  number += step;
  if (number > count) {
    return 1;
  }
  if (number < 1) {
    return count;
  }
  return number;
}

}  // namespace

bool InvoiceLineEntry::isUsed() const {
  return !amount.isZero() || !trim(particulars).empty() || !trim(gst).empty() || productCode != 0 ||
         quantity != 0 || !unitPrice.isZero() || detailNumber != 0;
}

InvoiceEditor::InvoiceEditor(InvoiceBook& book, Journal& journal, JournalEditor& journalEditor,
                             InvoiceContext context)
    : mBook(book), mJournal(journal), mJournalEditor(journalEditor), mContext(std::move(context)) {}

bool InvoiceEditor::open() {
  const int last = mBook.counter(EntityCounter::Invoices);
  mJournalRow = mJournalEditor.row();
  const std::string reference(
      trim(mJournalEditor.cellText(mJournalRow, JournalEditor::kRefColumn)));
  int number = 0;
  if (reference.empty()) {
    number = kNewInvoice;
  } else if (reference.size() >= 2 && (reference[0] == 'i' || reference[0] == 'I')) {
    number = wholeNumber(reference.substr(1));
  }
  if (number < 1) {
    mContext.prompter->message("There is no invoice allocated to this line.");
    return false;
  }
  if (number > last) {
    int candidate = last + 1;
    while (candidate <= kMaxInvoiceNumber && mBook.invoiceRecord(candidate).inUse == kInUse) {
      ++candidate;
    }
    if (candidate > kMaxInvoiceNumber) {
      mContext.prompter->message(fmt::format(
          "Every invoice number up to {} is in use: the journal's Ref column holds \"i\" and "
          "four digits. Clear the invoices no longer needed, or start a new book.",
          kMaxInvoiceNumber));
      return false;
    }
    mNumber = candidate;
    clearMemory();
    // A new invoice is dated as its row, which the Invoice button has checked.
    mBoxes[kDate] = std::string(trim(mJournal.row(mJournalRow).date));
  } else {
    mNumber = number;
    loadInvoice();
  }

  const int customers = mBook.counter(EntityCounter::Customers);
  if (mHeader.customer < 1 || mHeader.customer > customers) {
    mCustomer = customers + 1;
    showCustomer(CustomerRecord{});
  } else {
    mCustomer = mHeader.customer;
    const CustomerRecord record = mBook.customerRecord(mCustomer);
    showCustomer(record.inUse == kInUse ? record : CustomerRecord{});
  }
  mBoxes[kCustomerNumber] = std::to_string(mCustomer);
  enterCell(1, kCode);

  const auto problems = mBook.takeNewProblems();
  if (!problems.empty()) {
    std::string text;
    for (const auto& problem : problems) {
      text += (text.empty() ? "" : "\n") + problem;
    }
    mContext.prompter->message(text, Icon::Exclamation);
  }
  return true;
}

std::string InvoiceEditor::numberText() const {
  return fmt::format("{:03}", mNumber);
}

void InvoiceEditor::clearMemory() {
  mHeader = InvoiceRecord{};
  mLines = {};
  mBoxes = {};
  mPaid = false;
  mBoxes[kGst] = formatMoney(Currency());
  mBoxes[kTotal] = formatMoney(Currency());
}

void InvoiceEditor::loadInvoice() {
  mHeader = mBook.invoiceRecord(mNumber);
  if (mHeader.inUse != kInUse) {
    clearMemory();
    return;
  }
  mLines = {};
  mBoxes = {};
  for (int i = 1; i <= kInvoiceLines; ++i) {
    InvoiceLineEntry& line = mLines[static_cast<std::size_t>(i)];
    line.detailNumber = mBook.detailNumberOf(mNumber, mHeader, i);
    if (line.detailNumber == 0) {
      continue;
    }
    const InvoiceLineRecord stored = mBook.lineRecord(line.detailNumber);
    if (stored.inUse != kInUse) {
      continue;  // a free record reads as an empty line
    }
    line.productCode = std::clamp<int>(stored.productCode, 0, kMaxProductCode);
    line.particulars = stored.particulars;
    line.quantity = std::isfinite(stored.quantity) ? stored.quantity : 0;
    line.unitPrice = stored.unitPrice;
    line.gst = std::string(trim(stored.gst));
    line.amount = stored.amount;
  }
  // The quantity check of the reader, so that it is told the same way.
  (void)mBook.invoice(mNumber);
  mBoxes[kDate] = std::string(trim(mHeader.date));
  mBoxes[kDateDue] = std::string(trim(mHeader.dateDue));
  mBoxes[kDatePaid] = std::string(trim(mHeader.datePaid));
  mBoxes[kAmountPaid] = amountBox(mHeader.amountPaid);
  mBoxes[kWrittenOff] = amountBox(mHeader.writtenOff);
  mBoxes[kDiscount] = amountBox(mHeader.discount);
  mBoxes[kGst] = formatMoney(mHeader.gst);
  mBoxes[kTotal] = formatMoney(mHeader.total);
  mPaid = !mBoxes[kDatePaid].empty();
}

void InvoiceEditor::showCustomer(const CustomerRecord& record) {
  for (std::size_t i = 0; i < CustomerRecord::kFields; ++i) {
    mBoxes[kFirstCustomerField + i] = std::string(trim(record.texts[i]));
  }
}

void InvoiceEditor::setBox(int box, std::string text) {
  if (box < 0 || box >= kBoxes) {
    return;
  }
  if (box == kDate || box == kDateDue || box == kDatePaid) {
    text = normaliseDate(text, *mContext.clock);
  }
  mBoxes[static_cast<std::size_t>(box)] = std::move(text);
}

bool InvoiceEditor::selectCustomer(int number) {
  const int customers = mBook.counter(EntityCounter::Customers);
  const bool known = number >= 1 && number <= customers;
  const CustomerRecord record = known ? mBook.customerRecord(number) : CustomerRecord{};
  if (known && record.inUse == kInUse) {
    mCustomer = number;
    showCustomer(record);
  } else {
    mCustomer = customers + 1;
    showCustomer(CustomerRecord{});
  }
  mBoxes[kCustomerNumber] = std::to_string(mCustomer);
  return known;
}

bool InvoiceEditor::searchCustomer(std::string_view text, int step) {
  const std::string wanted = toUpper(trim(text));
  const int customers = mBook.counter(EntityCounter::Customers);
  int number = std::clamp(mLastCustomerFound, 0, customers);
  for (int tried = 0; tried < customers; ++tried) {
    number = stepRound(number, step, customers);
    const CustomerRecord record = mBook.customerRecord(number);
    if (record.inUse == kInUse && searchName(record).find(wanted) != std::string::npos) {
      mLastCustomerFound = number;
      mCustomer = number;
      showCustomer(record);
      mBoxes[kCustomerNumber] = std::to_string(mCustomer);
      return true;
    }
  }
  mContext.prompter->message("Cannot find " + wanted);
  mCustomer = customers + 1;
  showCustomer(CustomerRecord{});
  mBoxes[kCustomerNumber] = std::to_string(mCustomer);
  return false;
}

bool InvoiceEditor::searchProduct(std::string_view text, int step) {
  const std::string wanted = toUpper(trim(text));
  const int products = std::min(mBook.counter(EntityCounter::Products), kMaxProductCode);
  int code = std::clamp(mLastProductFound, 0, products);
  for (int tried = 0; tried < products; ++tried) {
    code = stepRound(code, step, products);
    const ProductRecord record = mBook.productRecord(code);
    if (record.inUse == kInUse &&
        toUpper(trim(record.description)).find(wanted) != std::string::npos) {
      mLastProductFound = code;
      fillLine(mRow, code, record);
      return true;
    }
  }
  mContext.prompter->message("Cannot find " + wanted);
  fillLine(mRow, 0, ProductRecord{});
  return false;
}

void InvoiceEditor::fillLine(int row, int code, const ProductRecord& product) {
  InvoiceLineEntry& line = mLines.at(static_cast<std::size_t>(row));
  line.productCode = code < 1 ? 0 : code;
  line.particulars = std::string(trim(product.description));
  line.unitPrice = product.unitPrice;
  line.gst = std::string(trim(product.gst));
  if (row == mRow) {
    enterCell(mRow, mColumn);
  }
  recomputeTotals();
}

void InvoiceEditor::recomputeTotals() {
  Currency total;
  Currency gst;
  try {
    for (int i = 1; i <= kInvoiceLines; ++i) {
      const InvoiceLineEntry& line = mLines[static_cast<std::size_t>(i)];
      total += line.amount;
      if (line.gst == "y") {
        gst += line.amount - line.amount.scaledBy(1 / (1 + mContext.gstRate));
      }
    }
  } catch (const std::overflow_error&) {
    mContext.prompter->message("The amounts of this invoice are too large to add up.");
    total = Currency();
    gst = Currency();
  }
  mBoxes[kGst] = formatMoney(gst);
  mBoxes[kTotal] = formatMoney(total);
}

// The grid.

std::string InvoiceEditor::cellText(int row, int column) const {
  return row == mRow && column == mColumn ? mText : storedText(row, column);
}

std::string InvoiceEditor::storedText(int row, int column) const {
  if (row < 1 || row > kInvoiceLines) {
    return {};
  }
  const InvoiceLineEntry& line = mLines[static_cast<std::size_t>(row)];
  switch (column) {
    case kCode:
      return line.productCode == 0 ? std::string() : std::to_string(line.productCode);
    case kParticulars:
      return line.particulars;
    case kQty:
      return line.quantity == 0 ? std::string() : fmt::format("{}", line.quantity);
    case kUnit:
      return amountBox(line.unitPrice);
    case kGstColumn:
      return toUpper(line.gst);
    case kAmount:
      return amountBox(line.amount);
    default:
      return {};
  }
}

void InvoiceEditor::enterCell(int row, int column) {
  mRow = std::clamp(row, 1, kInvoiceLines);
  mColumn = std::clamp(column, 0, static_cast<int>(kLastColumn));
  mText = storedText(mRow, mColumn);
  mRemembered = mText;
  mEdit = CellEdit::Untouched;
}

void InvoiceEditor::leaveCell() {
  if (mEdit == CellEdit::Typed) {
    commit();
  }
}

void InvoiceEditor::editBoxChanged(std::string text) {
  mText = std::move(text);
  mEdit = CellEdit::Typed;
}

void InvoiceEditor::keyDown(int keyCode, bool shift) {
  if (const auto typed = typedKey(keyCode, shift)) {
    if (typed->replacesUntyped && mEdit != CellEdit::Typed) {
      mText.clear();
    }
    mEdit = CellEdit::Typed;
    mText = mColumn == kGstColumn ? typed->text : mText + typed->text;
    return;
  }
  switch (keyCode) {
    case JournalEditor::kEscape:
      mText = mRemembered;
      break;
    case JournalEditor::kDelete:
      mText.clear();
      mEdit = CellEdit::Typed;
      break;
    case JournalEditor::kBackspace:
      if (!mText.empty()) {
        mEdit = CellEdit::Typed;
        mText.pop_back();
      }
      break;
    case JournalEditor::kEnter:
      enter();
      break;
    default:
      break;
  }
}

void InvoiceEditor::enter() {
  if (trim(mText).empty() && mColumn == kGstColumn) {
    mText = mRow > 1 ? toUpper(mLines[static_cast<std::size_t>(mRow - 1)].gst) : "Y";
  }
  if (trim(mText).empty()) {
    return;
  }
  bool accepted = true;
  // The indicator's commit makes the line's amount, so Enter commits one
  // shown from a product too.
  if (mEdit == CellEdit::Typed || mColumn == kGstColumn || trim(mText) != trim(mRemembered)) {
    mEdit = CellEdit::Committing;
    accepted = commitCell();
    mEdit = CellEdit::Untouched;
  }
  if (accepted && mColumn == kCode) {
    const InvoiceLineEntry& line = mLines[static_cast<std::size_t>(mRow)];
    const int products = mBook.counter(EntityCounter::Products);
    if (line.productCode >= 1 && line.productCode <= products) {
      const ProductRecord product = mBook.productRecord(line.productCode);
      fillLine(mRow, line.productCode, product.inUse == kInUse ? product : ProductRecord{});
    }
  }
  if (mColumn < kLastColumn) {
    enterCell(mRow, mColumn + 1);
  }
}

void InvoiceEditor::commit() {
  mEdit = CellEdit::Committing;
  commitCell();
  mEdit = CellEdit::Untouched;
}

bool InvoiceEditor::commitCell() {
  InvoiceLineEntry& line = mLines[static_cast<std::size_t>(mRow)];
  const std::string entry(trim(mText));
  switch (mColumn) {
    case kCode: {
      const int code = wholeNumber(entry);
      if (code > kMaxProductCode) {
        mContext.prompter->message("Product Code greater than 30000 is not admissible");
        line.productCode = 0;
        mText.clear();
        recomputeTotals();
        return false;
      }
      line.productCode = std::max(code, 0);
      break;
    }
    case kParticulars:
      line.particulars = leftCharacters(mText, kParticularsWidth);
      break;
    case kQty: {
      const auto quantity = static_cast<float>(leadingNumber(entry));
      line.quantity = std::isfinite(quantity) ? quantity : 0;
      break;
    }
    case kUnit:
      line.unitPrice = amountOf(entry);
      break;
    case kGstColumn: {
      const std::string gst = toUpper(entry);
      if (!gst.empty() && gst != "Y" && gst != "N") {
        mContext.prompter->message("Incorrect Entry - expected Y or N");
        mText = mRemembered;
        return false;
      }
      line.gst = gst.empty() ? std::string() : std::string(1, gst == "Y" ? 'y' : 'n');
      if (!gst.empty()) {
        try {
          const Currency net = line.unitPrice.scaledBy(line.quantity);
          const Currency amount = gst == "Y" ? net + net.scaledBy(mContext.gstRate) : net;
          if (!amount.isZero()) {
            line.amount = amount;
          }
        } catch (const std::overflow_error&) {
          mContext.prompter->message("The amount of this line is too large.");
        }
      }
      break;
    }
    case kAmount:
      line.amount = amountOf(entry);
      break;
    default:
      return false;
  }
  mText = storedText(mRow, mColumn);
  recomputeTotals();
  return true;
}

void InvoiceEditor::setPaid(bool paid) {
  mPaid = paid;
  if (paid) {
    mBoxes[kDatePaid] = formatDate(mContext.clock->today());
    mBoxes[kAmountPaid] = mBoxes[kTotal];
  } else {
    mBoxes[kDatePaid].clear();
    mBoxes[kAmountPaid].clear();
  }
}

void InvoiceEditor::clearLine() {
  InvoiceLineEntry& line = mLines[static_cast<std::size_t>(mRow)];
  // The line's record, if it has one, is written back empty on saving.
  const int detailNumber = line.detailNumber;
  line = InvoiceLineEntry{};
  line.detailNumber = detailNumber;
  enterCell(mRow, mColumn);
  recomputeTotals();
}

}  // namespace lum
