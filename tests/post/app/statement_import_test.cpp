// The journal window's Bank Statement: a bank's CSV through the entity's
// rules into the open journal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "post/app/lum_post_form.h"
#include "post/journals/statement_import_window.h"
#include "post/login/work_area.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"

namespace lum {
namespace {

class StatementImportWindowTest : public ::testing::Test, protected test::SessionParts {
 protected:
  StatementImportWindowTest() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
    test::writeText(area() / "Rules-0001.txt",
                    "CALTEX | | - | Fuel | Y |\nTAKINGS | | + | Sales | Y | Takings\n");
    session.setHost(form);
    form.keepWindowSizesIn(QString::fromStdString((dir / "sizes.ini").string()));
  }

  void openJournal() {
    ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
    form.resize(1200, 860);
    form.show();
    QApplication::processEvents();
    QMdiSubWindow* journals = form.mdiArea()->activeSubWindow();
    QTest::mouseClick(journals->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(session.currentWindow, kJournalGrid);
  }

  // Imports the statement through the journal window's button; `inside`
  // is done in the import window, which is then left as it says.
  void importThroughTheWindow(const std::string& statement,
                              const std::function<void(StatementImportWindow&)>& inside) {
    const auto file = dir / "statement.csv";
    test::writeText(file, statement);
    form.setStatementChooser([file] { return QString::fromStdString(file.string()); });
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* window = qobject_cast<StatementImportWindow*>(QApplication::activeModalWidget());
      ASSERT_NE(window, nullptr);
      seen = true;
      inside(*window);
      if (window->isVisible()) {
        window->reject();
      }
    });
    QWidget* journal = form.mdiArea()->activeSubWindow();
    QTest::mouseClick(journal->findChild<QPushButton*>("Command12"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(seen);
  }

  QString cell(int row, int column) {
    auto* grid = form.mdiArea()->activeSubWindow()->findChild<QTableView*>("Grid");
    return grid->model()->index(row - 1, column).data().toString().trimmed();
  }

  LumPostForm form{session};
};

TEST_F(StatementImportWindowTest, FromTheStatementToTheJournalsRows) {
  openJournal();
  importThroughTheWindow(
      "Date,Amount,Description\n03/08/2026,-45.50,CALTEX NEWTOWN\n"
      "04/08/2026,110.00,TAKINGS\n05/08/2026,-10.00,MYSTERY\n",
      [this](StatementImportWindow& window) {
        QTableWidget* table = window.table();
        ASSERT_EQ(table->rowCount(), 3);
        EXPECT_EQ(table->item(0, 6)->text(), "Fuel");
        EXPECT_EQ(table->item(1, 2)->text(), "Takings");
        EXPECT_EQ(table->item(2, 6)->text(), "unmatched");
        EXPECT_EQ(window.summary(), "3 lines: 1 unmatched, 0 in the journal already");
        if (const char* shot = std::getenv("LUM_SCREENSHOT")) {
          window.grab().save(shot);
        }
        window.accept();
      });
  EXPECT_EQ(session.currentWindow, kJournalGrid);  // open for the unmatched row
  EXPECT_EQ(cell(1, 1), "CALTEX NEWTOWN");
  EXPECT_EQ(cell(2, 1), "Takings");
  EXPECT_EQ(cell(3, 1), "MYSTERY");
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();

  // The same statement again: every line is in the journal, none ticked.
  importThroughTheWindow("Date,Amount,Description\n03/08/2026,-45.50,CALTEX NEWTOWN\n",
                         [](StatementImportWindow& window) {
                           EXPECT_EQ(window.summary(),
                                     "1 lines: 0 unmatched, 1 in the journal already");
                           EXPECT_EQ(window.table()->item(0, 0)->checkState(), Qt::Unchecked);
                         });
}

// A date typed in the grid's cell before the import goes in first; the
// statement's rows come after it.
TEST_F(StatementImportWindowTest, WhatWasTypedInTheCellGoesInFirst) {
  openJournal();
  auto* grid = form.mdiArea()->activeSubWindow()->findChild<QTableView*>("Grid");
  ASSERT_EQ(grid->currentIndex().row(), 0);
  QTest::keyClicks(grid, "01/08/26");
  importThroughTheWindow("Date,Amount,Description\n03/08/2026,-45.50,CALTEX NEWTOWN\n",
                         [](StatementImportWindow& window) { window.accept(); });
  EXPECT_EQ(cell(1, 0), "01/08/26");
  EXPECT_EQ(cell(2, 1), "CALTEX NEWTOWN");
  EXPECT_EQ(cell(2, 0), "03/08/26");
}

TEST_F(StatementImportWindowTest, ALineOutsideThePeriodAddsNothing) {
  openJournal();
  importThroughTheWindow(
      "Date,Amount,Description\n03/08/2026,-45.50,CALTEX\n"
      "03/11/2026,-1.00,CALTEX\n",
      [](StatementImportWindow& window) { window.accept(); });
  ASSERT_EQ(prompter.texts().size(), 1u);
  EXPECT_EQ(prompter.texts()[0].substr(0, 37), "Nothing was added:\nLine 3: Date enter");
  EXPECT_EQ(cell(1, 1), "");
}

}  // namespace
}  // namespace lum
