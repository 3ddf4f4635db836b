#include "post/journals/journal_editor.h"

#include <gtest/gtest.h>

#include "platform/scripted_prompter.h"
#include "post/journals/journal_checks.h"

namespace lum {
namespace {

Currency dollars(long long value) {
  return Currency::fromCents(value * 100);
}

// Types text the way the keyboard sends it.
void typeText(JournalEditor& editor, std::string_view text) {
  for (const char c : text) {
    if (c >= 'a' && c <= 'z') {
      editor.keyDown(c - 'a' + 'A', false);
    } else if (c >= 'A' && c <= 'Z') {
      editor.keyDown(c, true);
    } else if (c >= '0' && c <= '9') {
      editor.keyDown(c, false);
    } else if (c == '/') {
      editor.keyDown(191, false);
    } else if (c == '.') {
      editor.keyDown(190, false);
    } else if (c == '-') {
      editor.keyDown(189, false);
    } else if (c == ' ') {
      editor.keyDown(JournalEditor::kSpace, false);
    }
  }
}

class JournalEditorTest : public ::testing::Test {
 protected:
  JournalEditor& editorFor(int postingMode, char period, bool quarterly) {
    journal = std::make_unique<Journal>(postingModeOf(postingMode));
    EditorContext context;
    context.prompter = &prompter;
    context.clock = &clock;
    context.periodLetter = period;
    context.quarterly = quarterly;
    context.autosave = [this] { ++saves; };
    context.clearInvoice = [this](int invoice) { clearedInvoice = invoice; };
    editor = std::make_unique<JournalEditor>(*journal, context);
    return *editor;
  }

  // Types into a cell (after what it holds) and presses Enter.
  void enterText(int row, int column, std::string_view text) {
    editor->enterCell(row, column);
    typeText(*editor, text);
    editor->keyDown(JournalEditor::kEnter, false);
  }
  // Empties the cell with Delete first.
  void retype(int row, int column, std::string_view text) {
    editor->enterCell(row, column);
    editor->keyDown(JournalEditor::kDelete, false);
    typeText(*editor, text);
    editor->keyDown(JournalEditor::kEnter, false);
  }

  ScriptedPrompter prompter;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 8, 20), 10, 0, 0}};
  std::unique_ptr<Journal> journal;
  std::unique_ptr<JournalEditor> editor;
  int saves = 0;
  int clearedInvoice = 0;
};

TEST_F(JournalEditorTest, EnterFillsTheReferenceAndDateFromTheRowAbove) {
  editorFor(0, 'I', true);
  enterText(1, JournalEditor::kRefColumn, "12");
  enterText(2, JournalEditor::kRefColumn, "");
  EXPECT_EQ(journal->row(2).reference, "13");
  enterText(3, JournalEditor::kRefColumn, "abc");
  enterText(4, JournalEditor::kRefColumn, "");
  EXPECT_EQ(journal->row(4).reference, "1");

  enterText(1, JournalEditor::kDateColumn, "3.8.05");
  EXPECT_EQ(journal->row(1).date, "03/08/05");
  enterText(2, JournalEditor::kDateColumn, "7");
  EXPECT_EQ(journal->row(2).date, "07/08/05");
  EXPECT_EQ(editor->column(), JournalEditor::kParticularsColumn);  // moved on
  enterText(3, JournalEditor::kDateColumn, "");
  EXPECT_EQ(journal->row(3).date, "07/08/05");
  EXPECT_EQ(journal->rowsInUse, 4);
}

TEST_F(JournalEditorTest, DatesMustBeRealAndInThePeriod) {
  editorFor(0, 'M', false);  // monthly, full year
  enterText(1, JournalEditor::kDateColumn, "1.2.05");
  EXPECT_EQ(journal->row(1).date, "01/02/05");

  editorFor(0, 'F', true);  // the June quarter
  for (const char* date : {"1/4/05", "15/5/05", "30/6/05"}) {
    enterText(1, JournalEditor::kDateColumn, date);
    EXPECT_NE(journal->row(1).date, "") << date;
  }
  EXPECT_TRUE(prompter.texts().empty());
  enterText(2, JournalEditor::kDateColumn, "1/7/05");
  EXPECT_EQ(journal->row(2).date, "");
  EXPECT_EQ(editor->cellText(2, 0), "");
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"Date entered is not within the GST Period selected.  Either "
                                     "correct the date or change the GST Period"});
  enterText(2, JournalEditor::kDateColumn, "99/99/99");
  EXPECT_EQ(journal->row(2).date, "");
  EXPECT_EQ(prompter.texts().size(), 1u);  // not a date: put back, nothing said
}

TEST_F(JournalEditorTest, TheGstColumnTakesYOrN) {
  editorFor(0, 'M', false);
  enterText(1, JournalEditor::kGstColumn, "y");
  EXPECT_EQ(journal->row(1).gst, "Y");
  enterText(2, JournalEditor::kGstColumn, "x");
  EXPECT_EQ(journal->row(2).gst, "");
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Incorrect Entry - expected Y or N"});
}

TEST_F(JournalEditorTest, ModeZeroBalancesAndTheSalesTotal) {
  editorFor(0, 'M', false);
  journal->column(5).accountType = "S";
  journal->column(6).accountType = "E";
  enterText(1, 4, "100");
  EXPECT_EQ(journal->am(1, 0), dollars(-100));
  enterText(1, 5, "100");
  EXPECT_EQ(journal->am(1, 0), Currency());
  EXPECT_EQ(journal->budget.actualSales, dollars(100));
  EXPECT_EQ(journal->am(0, 5), dollars(100));
  enterText(2, 4, "30");
  enterText(2, 6, "5");
  EXPECT_EQ(journal->budget.actualSales, dollars(100));  // only type S counts
  // Enter on an empty analysis cell brings the row into balance.
  enterText(2, 7, "");
  EXPECT_EQ(journal->am(2, 7), dollars(25));
  EXPECT_EQ(journal->am(2, 0), Currency());
  enterText(3, 5, "25");
  enterText(3, 6, "");
  EXPECT_EQ(journal->am(3, 6), dollars(-25));
  // Retyping a figure replaces it in the totals.
  retype(1, 5, "40");
  EXPECT_EQ(journal->am(0, 5), dollars(65));
  EXPECT_EQ(journal->budget.actualSales, dollars(65));
  EXPECT_EQ(journal->lastColumnInUse, 7);
  enterText(1, 5, "5");  // typed after "40.00"
  EXPECT_EQ(journal->am(1, 5), Currency::fromRaw(400050));
}

TEST_F(JournalEditorTest, AmountsThatAreNoNumbersCountAsNothing) {
  editorFor(0, 'M', false);
  enterText(1, 5, "12");
  editor->enterCell(1, 5);
  editor->editBoxChanged("1e400");
  editor->leaveCell();
  EXPECT_EQ(journal->am(1, 5), Currency());
  editor->enterCell(1, 5);
  editor->editBoxChanged("abc");
  editor->leaveCell();
  EXPECT_EQ(journal->am(1, 5), Currency());
  EXPECT_EQ(journal->am(0, 5), Currency());
}

TEST_F(JournalEditorTest, TheNumericPadReplacesAnAmountAndEscPutsItBack) {
  editorFor(0, 'M', false);
  enterText(1, 5, "12");
  editor->enterCell(1, 5);
  EXPECT_EQ(editor->cellText(1, 5), "12.00");
  editor->keyDown(96 + 7, false);  // pad 7
  editor->keyDown(110, false);     // pad point
  editor->keyDown(96 + 5, false);  // pad 5
  EXPECT_EQ(editor->cellText(1, 5), "7.5");
  editor->keyDown(JournalEditor::kEscape, false);
  EXPECT_EQ(editor->cellText(1, 5), "12.00");
  editor->keyDown(JournalEditor::kBackspace, false);
  editor->keyDown(JournalEditor::kEnter, false);
  EXPECT_EQ(journal->am(1, 5), dollars(12));  // "12.0"
  editor->enterCell(1, 1);
  editor->keyDown('1', true);
  editor->keyDown(186, true);
  editor->keyDown(220, true);
  EXPECT_EQ(editor->cellText(1, 1), "!:\u00a6");
  editor->keyDown(JournalEditor::kEnter, false);
  EXPECT_EQ(journal->row(1).particulars, "!:\u00a6");
}

TEST_F(JournalEditorTest, LongTextsAreCutToTheirFieldsByCharacter) {
  editorFor(0, 'M', false);
  std::string cafes;
  for (int i = 0; i < 50; ++i) {
    cafes += "\u00e9";
  }
  editor->enterCell(1, JournalEditor::kParticularsColumn);
  editor->editBoxChanged(cafes);
  editor->leaveCell();
  EXPECT_EQ(journal->row(1).particulars.size(), 46u * 2);  // 46 characters of two bytes
  EXPECT_EQ(journal->row(1).encode().size(), TransactionRecord::kSize);
}

TEST_F(JournalEditorTest, ModeThreeRunningBalancesFollowAnOpeningBalance) {
  editorFor(3, 'M', false);
  enterText(1, 6, "1000");  // an opening balance, no payment or receipt
  EXPECT_EQ(journal->am(1, 6), dollars(1000));
  enterText(2, 4, "200");  // a payment
  EXPECT_EQ(journal->am(2, 6), dollars(800));
  enterText(3, 5, "50");  // a receipt
  EXPECT_EQ(journal->am(3, 6), dollars(850));
  retype(1, 6, "2000");  // a new opening balance carries down
  EXPECT_EQ(journal->am(3, 6), dollars(1850));
  EXPECT_EQ(journal->am(0, 6), Currency());  // the balance column has no total
  EXPECT_EQ(journal->am(1, 0), Currency());
  EXPECT_EQ(journal->am(2, 0), dollars(-200));
}

TEST_F(JournalEditorTest, FarColumnsFreezeTheAmountsAndScrollUnderTheLastTotalsBox) {
  using Boxes = std::array<int, JournalEditor::kTotalsBoxes>;
  editorFor(3, 'M', false);
  editor->enterCell(1, 9);
  EXPECT_EQ(editor->fixedColumns(), 0);
  EXPECT_EQ(editor->totalsColumns(), (Boxes{4, 5, 6, 7, 8, 9, 10}));
  typeText(*editor, "1");
  editor->keyDown(JournalEditor::kEnter, false);  // on to column 10: Date to Balance freeze
  EXPECT_EQ(editor->fixedColumns(), 7);
  EXPECT_EQ(editor->leftColumn(), 7);
  typeText(*editor, "1");
  editor->keyDown(JournalEditor::kEnter, false);  // column 11 would pass the last box
  EXPECT_EQ(editor->leftColumn(), 8);
  EXPECT_EQ(editor->totalsColumns(), (Boxes{4, 5, 6, 8, 9, 10, 11}));
  editor->scrolledTo(97);  // the user scrolled to the end
  EXPECT_EQ(editor->totalsColumns(), (Boxes{4, 5, 6, 97, 98, 99, 100}));
  editor->enterCell(2, 3);  // back among the first columns: nothing frozen
  EXPECT_EQ(editor->fixedColumns(), 0);
  editor->scrolledTo(99);
  EXPECT_EQ(editor->totalsColumns(),
            (Boxes{99, 100, JournalEditor::kNoColumn, JournalEditor::kNoColumn,
                   JournalEditor::kNoColumn, JournalEditor::kNoColumn, JournalEditor::kNoColumn}));

  editorFor(0, 'M', false);  // mode 0 freezes Date to Amount and keeps six boxes scrolling
  editor->enterCell(1, 10);
  EXPECT_EQ(editor->fixedColumns(), 5);
  typeText(*editor, "1");
  editor->keyDown(JournalEditor::kEnter, false);
  EXPECT_EQ(editor->leftColumn(), 6);
  EXPECT_EQ(editor->totalsColumns(), (Boxes{4, 6, 7, 8, 9, 10, 11}));
}

TEST_F(JournalEditorTest, DeletingARowWithAnInvoiceReferenceAsksAboutTheInvoice) {
  editorFor(0, 'M', false);
  enterText(1, JournalEditor::kRefColumn, "i17");
  enterText(1, 4, "10");
  enterText(2, JournalEditor::kRefColumn, "9");
  enterText(2, 5, "4");
  prompter.then(Answer::Yes).then(Answer::Yes);
  editor->enterCell(1, 0);
  editor->deleteRow();
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"Selected Row will be deleted.  Are you sure? ",
                                      "Do you want to clear Invoice number 17 as well?"}));
  for (const auto& exchange : prompter.exchanges()) {
    EXPECT_EQ(exchange.prompt.defaultAnswer, Answer::No) << exchange.prompt.text;  // Enter: No
  }
  EXPECT_EQ(clearedInvoice, 17);
  EXPECT_EQ(journal->rowsInUse, 1);
  EXPECT_EQ(journal->row(1).reference, "9");
  EXPECT_EQ(journal->am(0, 4), Currency());
  EXPECT_EQ(journal->am(0, 5), dollars(4));
  EXPECT_EQ(journal->am(1, 0), dollars(4));
}

TEST_F(JournalEditorTest, ColumnsInsertedAndDeletedMoveTheirFiguresAndAccounts) {
  editorFor(0, 'M', false);
  journal->column(5).name = "Sales";
  journal->column(6).name = "Fuel";
  enterText(1, 4, "30");
  enterText(1, 5, "10");
  enterText(1, 6, "20");
  editor->enterCell(1, 5);
  editor->insertColumn();
  EXPECT_EQ(journal->column(5).name, "");
  EXPECT_EQ(journal->column(5).gstCode, "C");
  EXPECT_EQ(journal->column(6).name, "Sales");
  EXPECT_EQ(journal->am(1, 6), dollars(10));
  EXPECT_EQ(journal->am(0, 7), dollars(20));
  EXPECT_EQ(journal->lastColumnInUse, 7);
  EXPECT_EQ(journal->pendingColumnChanges, std::vector<int>{5});

  prompter.then(Answer::No).then(Answer::Yes);
  editor->enterCell(1, 6);
  editor->deleteColumn();  // No: nothing changes
  EXPECT_EQ(journal->column(6).name, "Sales");
  editor->deleteColumn();
  EXPECT_EQ(journal->column(6).name, "Fuel");
  EXPECT_EQ(journal->am(1, 6), dollars(20));
  EXPECT_EQ(journal->am(1, 0), dollars(-10));  // the deleted 10 no longer balances the row
  EXPECT_EQ(journal->pendingColumnChanges, (std::vector<int>{5, -6}));
  EXPECT_EQ(prompter.texts().back(), "Selected Column will be deleted.  Are you sure? ");
  EXPECT_EQ(prompter.exchanges().back().prompt.defaultAnswer, Answer::No);

  editor->enterCell(1, 3);  // not an analysis column
  editor->insertColumn();
  EXPECT_EQ(journal->pendingColumnChanges.size(), 2u);
}

TEST_F(JournalEditorTest, DeleteJournalAndTheInvoiceButtonsChecks) {
  editorFor(0, 'M', false);
  enterText(1, JournalEditor::kRefColumn, "17");
  editor->enterCell(1, 0);
  EXPECT_FALSE(editor->mayStartInvoice());
  enterText(1, JournalEditor::kDateColumn, "3/8/05");
  editor->enterCell(1, 0);
  EXPECT_FALSE(editor->mayStartInvoice());
  enterText(1, JournalEditor::kRefColumn, "");
  retype(1, JournalEditor::kRefColumn, "i17");
  editor->enterCell(1, 0);
  EXPECT_TRUE(editor->mayStartInvoice());
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{
                "To start an invoice you must enter a valid date into the date column of the "
                "journal",
                "The ref column of the journal represents invoice number.  You must either have a "
                "valid invoice number starting with letter 'i' or the the column must be left "
                "blank"}));

  enterText(2, 4, "5");
  prompter.then(Answer::No).then(Answer::Yes);
  EXPECT_FALSE(editor->deleteJournal());
  EXPECT_EQ(journal->rowsInUse, 2);
  EXPECT_TRUE(editor->deleteJournal());
  EXPECT_EQ(prompter.exchanges().back().prompt.title, "Warning");
  EXPECT_EQ(prompter.exchanges().back().prompt.defaultAnswer, Answer::No);
  EXPECT_EQ(journal->rowsInUse, 0);
  EXPECT_EQ(journal->row(1).reference, "");
  EXPECT_EQ(journal->am(2, 4), Currency());
}

TEST_F(JournalEditorTest, TheTransactionCheckReportsEachFaultInOrder) {
  editorFor(0, 'M', false);
  Journal& j = *journal;
  j.rowsInUse = 4;
  j.row(1) = {"01/02/05", "Fuel", "1", "Y", 0};  // complete and balanced
  j.row(2).date = "01/02/05";                    // only a date
  j.am(3, 4) = dollars(5);                       // no text, balanced, with an analysis amount
  j.am(3, 5) = dollars(5);
  j.row(4) = {"01/02/05", "Sales", "2", "N", 0};
  j.am(4, 5) = dollars(3);  // does not add up
  j.computeRowBalances();
  prompter.then(Answer::No).then(Answer::No).then(Answer::Yes);
  const CheckOutcome outcome = transactionCheck(j, prompter);
  EXPECT_FALSE(outcome.passed);
  EXPECT_EQ(outcome.faultyRow, 4);
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{
                "Transaction is not correct:  Particulars are missing Reference is missing Gst "
                "indicator is missing\rDo you want to correct it?",
                "Transaction is not correct:  Date is missing Particulars are missing Reference is "
                "missing Gst indicator is missing\rDo you want to correct it?",
                "Transaction is not correct:  Columns do not add up\rDo you want to correct it?"}));
  EXPECT_EQ(prompter.exchanges()[0].prompt.title, "Transaction Check");

  prompter.clear();
  prompter.then(Answer::Cancel);
  EXPECT_TRUE(transactionCheck(j, prompter).passed);  // Cancel: no more questions
  EXPECT_EQ(prompter.texts().size(), 1u);
}

TEST_F(JournalEditorTest, QuickTotalsLowerTheCountsInUse) {
  editorFor(3, 'M', false);
  Journal& j = *journal;
  j.rowsInUse = 5;
  j.lastColumnInUse = 9;
  j.am(1, 4) = dollars(10);
  j.am(2, 8) = dollars(3);
  j.am(1, 6) = dollars(99);  // balances are figures of their own, never totals
  ASSERT_TRUE(recheckJournal(j, prompter, true));
  EXPECT_EQ(j.rowsInUse, 2);
  EXPECT_EQ(j.lastColumnInUse, 8);
  EXPECT_EQ(j.am(0, 4), dollars(10));
  EXPECT_EQ(j.am(0, 6), Currency());
  EXPECT_EQ(j.am(1, 0), dollars(-10));
  EXPECT_EQ(j.am(2, 6), dollars(-10));  // running balance from row 1's movement
  EXPECT_TRUE(prompter.texts().empty());

  prompter.then(Answer::No);
  EXPECT_FALSE(recheckJournal(j, prompter, false));
  EXPECT_EQ(prompter.texts().back(),
            "This procedure will re check the opened journal.  This will take a long time.  Do you "
            "want to proceed?");
}

TEST_F(JournalEditorTest, RowsInUseEndAtTheLastRowHoldingTextOrFigures) {
  editorFor(0, 'M', false);
  Journal& j = *journal;
  j.row(1) = {"01/02/05", "Fuel", "1", "Y", 0};
  j.am(1, 4) = dollars(10);
  j.am(1, 5) = dollars(10);
  j.row(3) = {"02/02/05", "Rent, amount to come", "2", "", 0};  // typed, no figure yet
  j.rowsInUse = 3;
  j.lastColumnInUse = 5;
  ASSERT_TRUE(recheckJournal(j, prompter, true));
  EXPECT_EQ(j.rowsInUse, 3);

  prompter.then(Answer::Yes);
  j.row(7).particulars = "beyond the rows in use";
  ASSERT_TRUE(recheckJournal(j, prompter, false));
  EXPECT_EQ(j.rowsInUse, 7);
  // The check now sees the typed rows: nothing is saved without a word.
  prompter.then(Answer::No).then(Answer::No);
  EXPECT_EQ(transactionCheck(j, prompter).askedRows, (std::vector<int>{3, 7}));
}

}  // namespace
}  // namespace lum
