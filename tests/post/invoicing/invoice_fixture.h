#pragma once

#include <memory>
#include <string>

#include "platform/record_file.h"
#include "post/invoicing/invoice_editor.h"
#include "post/journals/journal_files.h"
#include "tests/post/journals/journal_fixture.h"

namespace lum::test {

// The one-entity work area of the journal tests with a GST rate of 10%:
// its journal 1 (rows 1 and 2 in use) loaded with an editor, and the
// entity's invoicing files.
struct InvoiceParts : JournalParts {
  explicit InvoiceParts(PostingMode mode = PostingMode::SmallCashBusiness) {
    session.login.setup.gstRate = 0.1;
    session.login.setup.postingMode = mode;
    journal = std::make_unique<Journal>(files.load());
    EditorContext context;
    context.prompter = &prompter;
    context.clock = &clock;
    context.periodLetter = session.login.periodLetter;
    context.quarterly = true;
    context.clearInvoice = [this](int number) {
      clearInvoice(*book, number, ops, session.rollbackFolder());
    };
    journalEditor = std::make_unique<JournalEditor>(*journal, context);
    book = std::make_unique<InvoiceBook>(session);
  }

  // Row 3 dated in the period, with the reference given, under the cursor.
  void startRow(const std::string& reference, int row = 3) {
    journal->row(row).date = "05/08/05";
    journal->row(row).reference = reference;
    journal->rowsInUse = std::max(journal->rowsInUse, row);
    journalEditor->enterCell(row, 0);
  }

  // The invoice editor of the current journal row, saving the journal.
  std::unique_ptr<InvoiceEditor> invoiceEditor() {
    InvoiceContext context;
    context.prompter = &prompter;
    context.clock = &clock;
    context.ops = &ops;
    context.rollbackFolder = session.rollbackFolder();
    context.gstRate = session.login.setup.gstRate;
    context.saveJournal = [this] { files.save(*journal); };
    return std::make_unique<InvoiceEditor>(*book, *journal, *journalEditor, context);
  }

  // Types a cell and presses Enter, as at the grid.
  static void type(InvoiceEditor& editor, int row, int column, const std::string& text) {
    editor.enterCell(row, column);
    editor.editBoxChanged(text);
    editor.keyDown(JournalEditor::kEnter, false);
  }

  void setCounter(EntityCounter counter, int value) { book->setCounter(counter, value); }

  template <class Record>
  void put(const char* file, int number, const Record& record) {
    RecordFile(ops, area() / file, Record::kSize).put(number, record);
  }
  template <class Record>
  Record get(const char* file, int number) {
    return RecordFile(ops, area() / file, Record::kSize).get<Record>(number);
  }

  static InvoiceRecord invoiceInUse(Currency total) {
    InvoiceRecord record;
    record.date = "01/08/05";
    record.total = total;
    record.inUse = kInUse;
    return record;
  }

  JournalFiles files{session, 1};
  std::unique_ptr<Journal> journal;
  std::unique_ptr<JournalEditor> journalEditor;
  std::unique_ptr<InvoiceBook> book;
};

}  // namespace lum::test
