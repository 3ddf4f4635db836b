#include "post/invoicing/invoice_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "platform/scripted_prompter.h"
#include "post/app/lum_post_form.h"
#include "post/invoicing/invoice_records.h"
#include "post/journals/flex_grid_widget.h"
#include "post/login/journal_line_records.h"
#include "post/login/window_dispatch.h"
#include "post/login/work_area.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/records.h"

namespace lum {
namespace {

// The invoice window over journal 1 of a one-entity work area (posting
// mode 0, GST at 10%), opened from the journal window's Invoice button and
// driven at the keyboard on the offscreen platform.
class InvoiceWindowTest : public ::testing::Test, protected test::SessionParts {
 protected:
  InvoiceWindowTest() {
    test::writeOneEntityWorkArea(area());
    test::writeSetup(area(), {"0", "Q", "C", "0.1"});
    session.setHost(form);
    EXPECT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
    form.show();
    QApplication::processEvents();
  }

  // Opens journal 1 and dates its first row, the cursor moving on to Particulars.
  void openJournalOnADatedRow() {
    QMdiSubWindow* journals = form.mdiArea()->activeSubWindow();
    QTest::mouseClick(journals->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QApplication::processEvents();
    journal = form.mdiArea()->activeSubWindow();
    ASSERT_EQ(session.currentWindow, kJournalGrid);
    journalGrid = journal->findChild<FlexGrid*>("Grid");
    journalGrid->setFocus();
    QTest::keyClicks(journalGrid, "15/8/26");
    QTest::keyClick(journalGrid, Qt::Key_Return);
  }

  QMdiSubWindow* clickInvoice() {
    QTest::mouseClick(journal->findChild<QPushButton*>("Command11"), Qt::LeftButton);
    QApplication::processEvents();
    return form.mdiArea()->activeSubWindow();
  }

  static QLineEdit* box(QWidget* window, int index) {
    for (QLineEdit* edit : window->findChildren<QLineEdit*>("InBox")) {
      if (edit->property("index").toInt() == index) {
        return edit;
      }
    }
    return nullptr;
  }

  // Types a line's cells at the grid, each ended by Enter.
  static void typeLine(FlexGrid* grid, std::initializer_list<const char*> cells) {
    for (const char* cell : cells) {
      QTest::keyClicks(grid, cell);
      QTest::keyClick(grid, Qt::Key_Return);
    }
  }

  LumPostForm form{session};
  QMdiSubWindow* journal = nullptr;
  FlexGrid* journalGrid = nullptr;
};

TEST_F(InvoiceWindowTest, ALineTypedAtTheKeyboardAndOkUpdateTheJournalRow) {
  openJournalOnADatedRow();
  QMdiSubWindow* window = clickInvoice();
  ASSERT_EQ(session.currentWindow, kInvoice);
  EXPECT_FALSE(journal->isEnabled());
  EXPECT_EQ(window->findChild<QLabel*>("Label4")->text(), "001");
  EXPECT_EQ(box(window, 0)->text(), "1");                           // a new customer
  EXPECT_TRUE(window->findChild<QLineEdit*>("Text2")->hasFocus());  // Customer Search

  QTest::mouseClick(box(window, 1), Qt::LeftButton);
  QTest::keyClicks(box(window, 1), "Acme Pty Ltd");
  QTest::keyClick(box(window, 1), Qt::Key_Tab);
  EXPECT_EQ(box(window, 10)->text(), "15/08/26");  // a new invoice is dated as its row

  auto* grid = window->findChild<FlexGrid*>("Grid");
  ASSERT_NE(grid, nullptr);
  grid->setFocus();
  typeLine(grid, {"3", "Plumbing", "2", "50", "y"});
  EXPECT_EQ(grid->model()->index(0, 4).data().toString(), "Y");
  EXPECT_EQ(box(window, 16)->text(), "10.00");  // GST
  EXPECT_EQ(box(window, 17)->text(), "110.00");
  EXPECT_EQ(window->findChild<QLineEdit*>("Text1")->text(), "110.00");  // the Amount cell

  QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);  // Ok
  QApplication::processEvents();
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
  ASSERT_EQ(session.currentWindow, kJournalGrid);
  EXPECT_TRUE(journal->isEnabled());
  QAbstractItemModel* cells = journalGrid->model();
  EXPECT_EQ(cells->index(0, 1).data().toString(), "Acme Pty Ltd");
  EXPECT_EQ(cells->index(0, 4).data().toString(), "110.00");

  // Saved with the journal, as one change.
  EXPECT_EQ(test::recordOf<InvoiceRecord>(area() / "Inv-0001.dat", 1).total,
            Currency::fromCents(11000));
  EXPECT_EQ(test::recordOf<CustomerRecord>(area() / "Cus-0001.dat", 1).texts[0], "Acme Pty Ltd");
  EXPECT_EQ(test::recordOf<TransactionRecord>(area() / "DI010001.dat", 1).reference, "i1");

  // Abandoning the journal afterwards goes back to the invoice's save, not
  // past it: the row keeps naming its invoice.
  prompter.then(Answer::Yes);
  QTest::mouseClick(journal->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(test::recordOf<TransactionRecord>(area() / "DI010001.dat", 1).reference, "i1");
}

// Print saves the invoice, then shows its tax invoice in the viewer.
TEST_F(InvoiceWindowTest, PrintSavesTheInvoiceAndShowsItsTaxInvoice) {
  openJournalOnADatedRow();
  QMdiSubWindow* window = clickInvoice();
  ASSERT_EQ(session.currentWindow, kInvoice);
  QTest::mouseClick(box(window, 1), Qt::LeftButton);
  QTest::keyClicks(box(window, 1), "Acme Pty Ltd");
  auto* grid = window->findChild<FlexGrid*>("Grid");
  grid->setFocus();
  typeLine(grid, {"3", "Plumbing", "2", "50", "y"});

  QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);  // Print
  QApplication::processEvents();
  EXPECT_EQ(session.currentWindow, kReportDisplay);
  EXPECT_EQ(test::recordOf<InvoiceRecord>(area() / "Inv-0001.dat", 1).total,
            Currency::fromCents(11000));
  EXPECT_EQ(test::recordOf<TransactionRecord>(area() / "DI010001.dat", 1).reference, "i1");
}

TEST_F(InvoiceWindowTest, EscClosesWithoutSavingAndARowNamingNoInvoiceOpensNone) {
  openJournalOnADatedRow();
  QMdiSubWindow* window = clickInvoice();
  ASSERT_EQ(session.currentWindow, kInvoice);
  auto* grid = window->findChild<FlexGrid*>("Grid");
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Tab);  // Tab leaves the grid for the next control
  EXPECT_TRUE(window->findChild<QLineEdit*>("Text1")->hasFocus());
  grid->setFocus();
  QTest::keyClicks(grid, "12");
  QTest::keyClick(grid, Qt::Key_Escape);  // puts back the cell typed into
  EXPECT_EQ(session.currentWindow, kInvoice);
  EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "");
  QTest::keyClick(grid, Qt::Key_Escape);  // nothing to put back: closes
  QApplication::processEvents();
  EXPECT_EQ(session.currentWindow, kJournalGrid);
  const auto invoices = area() / "Inv-0001.dat";
  EXPECT_TRUE(!std::filesystem::exists(invoices) || std::filesystem::file_size(invoices) == 0);

  // A reference of "i0" names no invoice.
  QTest::keyClicks(journalGrid, "x");  // Particulars
  QTest::keyClick(journalGrid, Qt::Key_Return);
  QTest::keyClicks(journalGrid, "i0");  // Ref
  clickInvoice();
  EXPECT_EQ(session.currentWindow, kJournalGrid);
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"There is no invoice allocated to this line."});
}

TEST_F(InvoiceWindowTest, DeletingTheRowOfAnInvoiceClearsItWhenAsked) {
  openJournalOnADatedRow();
  QMdiSubWindow* window = clickInvoice();
  auto* grid = window->findChild<FlexGrid*>("Grid");
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Right);  // no product code
  typeLine(grid, {"Call out", "1", "80", "n"});
  QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);  // Ok
  QApplication::processEvents();
  ASSERT_EQ(session.currentWindow, kJournalGrid);
  ASSERT_EQ(test::recordOf<InvoiceRecord>(area() / "Inv-0001.dat", 1).inUse, kInUse);

  prompter.then(Answer::Yes).then(Answer::Yes);
  QTest::mouseClick(journal->findChild<QPushButton*>("Command10"), Qt::LeftButton);  // Del Row
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"Selected Row will be deleted.  Are you sure? ",
                                      "Do you want to clear Invoice number 1 as well?"}));
  EXPECT_EQ(test::recordOf<InvoiceRecord>(area() / "Inv-0001.dat", 1).inUse, 0);
  EXPECT_EQ(journalGrid->model()->index(0, 2).data().toString(), "");
}

}  // namespace
}  // namespace lum
