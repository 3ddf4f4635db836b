// The journal window's Bank Statement: a bank's CSV through the entity's
// rules into the open journal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "post/app/lum_post_form.h"
#include "post/journals/statement_columns_window.h"
#include "post/journals/statement_import_window.h"
#include "post/journals/statement_rules_window.h"
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
    test::writeText(area() / "Rules-0001.dat",
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

  // Clicks a button of `window` that opens a modal window, in which `inside` is
  // done; the window is then left as it says.
  template <class Window>
  static void throughModal(QWidget& window, const char* button,
                           const std::function<void(Window&)>& inside) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* modal = qobject_cast<Window*>(QApplication::activeModalWidget());
      ASSERT_NE(modal, nullptr);
      seen = true;
      inside(*modal);
      if (modal->isVisible()) {
        modal->reject();
      }
    });
    QTest::mouseClick(window.findChild<QPushButton*>(button), Qt::LeftButton);
    EXPECT_TRUE(seen) << button;
  }

  // Imports the statement through the journal window's button; `inside`
  // is done in the import window.
  void importThroughTheWindow(const std::string& statement,
                              const std::function<void(StatementImportWindow&)>& inside) {
    const auto file = dir / "statement.csv";
    test::writeText(file, statement);
    form.setStatementChooser([file] { return QString::fromStdString(file.string()); });
    throughModal<StatementImportWindow>(*form.mdiArea()->activeSubWindow(), "Command12", inside);
    QApplication::processEvents();
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
  if (const char* shot = std::getenv("LUM_JOURNAL_SCREENSHOT")) {
    form.grab().save(shot);
  }

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

// A bank whose heading names nothing known: its columns are set once under
// the journal's name and taken again the next time; a rule is made from
// an unmatched line, refused while its amount is none.
TEST_F(StatementImportWindowTest, ColumnsKeptForTheJournalAndARuleMadeFromALine) {
  openJournal();
  const std::string statement =
      "Posted,Code,Narrative,Value\n03/08/2026,X1,CALTEX NEWTOWN,-45.50\n"
      "04/08/2026,X2,OFFICEWORKS 12,-19.95\n";
  importThroughTheWindow(statement, [this](StatementImportWindow& window) {
    ASSERT_EQ(prompter.texts().size(), 1u);  // the columns cannot be told
    EXPECT_EQ(window.table()->rowCount(), 0);
    throughModal<StatementColumnsWindow>(window, "SetColumns", [](StatementColumnsWindow& columns) {
      EXPECT_EQ(columns.nameEdit()->text(), "Takings Book");
      columns.columnBox(StatementColumnsWindow::kDate)->setValue(1);
      columns.columnBox(StatementColumnsWindow::kDescription)->setValue(3);
      columns.columnBox(StatementColumnsWindow::kAmount)->setValue(4);
      columns.accept();
    });
    ASSERT_EQ(window.table()->rowCount(), 2);
    EXPECT_EQ(window.table()->item(1, 6)->text(), "unmatched");

    window.table()->setCurrentCell(1, 1);
    throughModal<StatementRulesWindow>(window, "EditRules", [this](StatementRulesWindow& rules) {
      QTableWidget* table = rules.table();
      ASSERT_EQ(table->rowCount(), 3);  // the two of the file, and the new one
      EXPECT_EQ(table->item(2, StatementRulesWindow::kText)->text(), "OFFICEWORKS 12");
      EXPECT_EQ(table->item(2, StatementRulesWindow::kSign)->text(), "-");
      EXPECT_EQ(table->currentColumn(), StatementRulesWindow::kAccount);
      table->item(2, StatementRulesWindow::kText)->setText("OFFICEWORKS");
      table->item(2, StatementRulesWindow::kAccount)->setText("Fuel");
      table->item(2, StatementRulesWindow::kAmount)->setText("lots");
      rules.accept();
      ASSERT_EQ(prompter.texts().size(), 2u);
      EXPECT_EQ(prompter.texts()[1].substr(0, 33), "The rules are not saved: line 3: ");
      EXPECT_TRUE(rules.isVisible());
      table->item(2, StatementRulesWindow::kAmount)->setText("..100");
      if (const char* shot = std::getenv("LUM_RULES_SCREENSHOT")) {
        rules.grab().save(shot);
      }
      rules.accept();
      EXPECT_FALSE(rules.isVisible());
    });
    EXPECT_EQ(window.table()->item(1, 6)->text(), "Fuel");
    window.accept();
  });
  EXPECT_EQ(test::readText(area() / "Banks-0001.dat"),
            "# name | date | description | amount | debit | credit | balance\n"
            "Takings Book | 1 | 3 | 4 | | |\n");
  EXPECT_EQ(test::readText(area() / "Rules-0001.dat"),
            "# text | amount | sign | account | GST | particulars\n"
            "CALTEX | | - | Fuel | Y |\nTAKINGS | | + | Sales | Y | Takings\n"
            "OFFICEWORKS | ..100.00 | - | Fuel | |\n");
  EXPECT_EQ(cell(2, 1), "OFFICEWORKS 12");

  // The next statement of the account is read by the columns kept.
  importThroughTheWindow(statement, [](StatementImportWindow& window) {
    EXPECT_EQ(window.findChild<QComboBox*>("Mapping")->currentText(), "Takings Book");
    EXPECT_EQ(window.summary(), "2 lines: 0 unmatched, 2 in the journal already");
  });
}

}  // namespace
}  // namespace lum
