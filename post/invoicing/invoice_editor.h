#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/currency.h"
#include "platform/prompter.h"
#include "post/invoicing/invoice_book.h"
#include "post/journals/journal_editor.h"

namespace lum {

// What the invoice editor needs from around it.
struct InvoiceContext {
  Prompter* prompter = nullptr;
  const Clock* clock = nullptr;
  FileOps* ops = nullptr;
  std::filesystem::path rollbackFolder;  // the work area's transactions
  double gstRate = 0;                    // a fraction: 0.1 for 10%
  // Writes the journal (with its updated row) to its files. Called inside
  // the invoice's transaction, so the invoice and its row are saved as one.
  std::function<void()> saveJournal;
};

// One line of the invoice as the window holds it.
struct InvoiceLineEntry {
  int productCode = 0;
  std::string particulars;
  float quantity = 0;
  Currency unitPrice;
  std::string gst;  // "y", "n" or blank
  Currency amount;
  int detailNumber = 0;

  // Whether saving writes it: it holds anything, or has a record already.
  bool isUsed() const;
};

// What Ok did.
enum class InvoiceSave {
  Saved,
  NoNumber,   // the invoice number is below 1
  ZeroTotal,  // an invoice with a zero total is not saved
};

// The invoice window without the window: the invoice of one journal row,
// its boxes (InBox 0 to 17), its line grid with the journal grid's keys
// and the invoice rules, the searches, Inv Paid, Clear Line, Clear Invoice
// and Ok. A view shows boxText() and cellText() and forwards its events.
class InvoiceEditor {
 public:
  // Boxes of the window (InBox indexes).
  enum Box : int {
    kCustomerNumber = 0,
    kFirstCustomerField = 1,  // 1 to 9: the customer's nine fields
    kDate = 10,
    kDateDue = 11,
    kDatePaid = 12,
    kAmountPaid = 13,
    kWrittenOff = 14,
    kDiscount = 15,
    kGst = 16,
    kTotal = 17,
  };
  static constexpr int kBoxes = 18;
  // Grid columns.
  enum Column : int {
    kCode = 0,
    kParticulars = 1,
    kQty = 2,
    kUnit = 3,
    kGstColumn = 4,
    kAmount = 5
  };
  static constexpr int kLastColumn = kAmount;
  // The reference's number when the row has none: a new invoice.
  static constexpr int kNewInvoice = 29999;
  // The journal row's reference is "i" and the number in five characters.
  static constexpr int kMaxInvoiceNumber = 9999;

  InvoiceEditor(InvoiceBook& book, Journal& journal, JournalEditor& journalEditor,
                InvoiceContext context);

  // Opens the invoice of the journal editor's current row. False, after
  // "There is no invoice allocated to this line.", when the row's
  // reference names none (the window then closes).
  bool open();

  int invoiceNumber() const { return mNumber; }
  // Label4: the invoice number as "000".
  std::string numberText() const;
  int customerNumber() const { return mCustomer; }

  const std::string& boxText(int box) const { return mBoxes.at(static_cast<std::size_t>(box)); }
  // A box typed into: dates follow the panels' date rule (an entry that is
  // not a date becomes empty); the others keep the text.
  void setBox(int box, std::string text);

  // Makes customer n the invoice's (box 0 and the customer boxes). A
  // number outside 1 to the customers' count, or of a free record, starts
  // a new customer (count + 1, fields empty); false for a number outside.
  bool selectCustomer(int number);
  // Customer Search and Product Search: the next match (step +1 or -1,
  // with wrap-around) of the text; "Cannot find " + text when none. The
  // product search fills the current line.
  bool searchCustomer(std::string_view text, int step);
  bool searchProduct(std::string_view text, int step);

  // The line grid: rows 1 to 40, columns kCode to kAmount.
  void enterCell(int row, int column);
  void leaveCell();
  void keyDown(int keyCode, bool shift);
  void editBoxChanged(std::string text);
  std::string cellText(int row, int column) const;
  int row() const { return mRow; }
  int column() const { return mColumn; }
  const InvoiceLineEntry& line(int row) const { return mLines.at(static_cast<std::size_t>(row)); }

  // Check1 "Inv Paid".
  void setPaid(bool paid);
  bool paid() const { return mPaid; }
  // "&Clear Line": the current line.
  void clearLine();
  // "&Ok": saves the invoice and updates its journal row, as one change.
  InvoiceSave ok();
  // "&Clear Invoice": clears this invoice (see clearInvoice).
  void clearThisInvoice();

 private:
  std::string storedText(int row, int column) const;
  void loadInvoice();
  void clearMemory();
  void showCustomer(const CustomerRecord& record);
  void fillLine(int row, int code, const ProductRecord& product);
  void recomputeTotals();
  void enter();
  void commit();
  bool commitCell();
  void readBack();
  void writeInvoice();
  // Save step 6, or its clearing form (texts but the reference kept, amounts 0).
  void updateJournalRow(Currency total, Currency gst, bool cleared);

  InvoiceBook& mBook;
  Journal& mJournal;
  JournalEditor& mJournalEditor;
  InvoiceContext mContext;
  int mJournalRow = 0;
  int mNumber = 0;
  int mCustomer = 0;
  int mLastCustomerFound = 0;
  int mLastProductFound = 0;
  bool mPaid = false;
  std::array<std::string, kBoxes> mBoxes{};
  std::array<InvoiceLineEntry, kInvoiceLines + 1> mLines{};
  // The header as read (its fields the boxes do not show).
  InvoiceRecord mHeader;
  int mRow = 1;
  int mColumn = kCode;
  std::string mText;
  std::string mRemembered;
  CellEdit mEdit = CellEdit::Untouched;
};

// Clears invoice n (n >= 1): its header and every line record it names
// become blank and free; the counters stay. Used by Clear Invoice and by
// the journal window's Del Row. Writes under one work-area transaction.
void clearInvoice(InvoiceBook& book, int number, FileOps& ops,
                  const std::filesystem::path& rollbackFolder);

}  // namespace lum
