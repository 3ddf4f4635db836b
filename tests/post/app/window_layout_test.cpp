// How the journal and entity details windows stand on screen: the journal
// window's size, headings, totals boxes and frozen columns, and the entity
// details form with its focus.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "post/app/lum_post_form.h"
#include "post/app/window_sizes.h"
#include "post/journals/flex_grid_widget.h"
#include "post/login/window_dispatch.h"
#include "post/login/work_area.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/records.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// Journal 1's analysis accounts, named as given.
void writeAccounts(const fs::path& area, const std::vector<std::string>& names) {
  test::Bytes accounts;
  for (const std::string& name : names) {
    accounts.text(name, 23).text("Y", 1).text("E", 1).zeros(8).int16(400);
  }
  test::writeBytes(area / "An010001.dat", accounts);
}

// The x range a widget's rectangle covers on screen.
struct Span {
  int left;
  int right;  // one past
};
Span spanOf(const QWidget& widget, int x, int width) {
  const int left = widget.mapToGlobal(QPoint(x, 0)).x();
  return {left, left + width};
}

class WindowLayoutTest : public ::testing::Test, protected test::SessionParts {
 protected:
  WindowLayoutTest() {
    test::writeOneEntityWorkArea(area());
    test::writeText(prog() / "lum.ini", "Report=Account\r\n");
    session.setHost(form);
    form.keepWindowSizesIn(sizesFile());
  }

  QString sizesFile() const { return QString::fromStdString((dir / "sizes.ini").string()); }

  void logIn(QSize formSize = {1600, 900}) {
    form.resize(formSize);
    ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
    form.show();
    QApplication::processEvents();
  }

  QMdiSubWindow* openJournal() {
    QMdiSubWindow* journals = form.mdiArea()->activeSubWindow();
    QTest::mouseClick(journals->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(session.currentWindow, kJournalGrid);
    return form.mdiArea()->activeSubWindow();
  }
  void saveJournal(QMdiSubWindow* window) {
    QTest::mouseClick(window->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(session.currentWindow, kJournalsList);
  }
  QMdiSubWindow* openEntityDetails() {
    openWindow(session, kEntitiesList);
    QApplication::processEvents();
    QTest::mouseClick(form.mdiArea()->activeSubWindow()->findChild<QPushButton*>("Command3"),
                      Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(session.currentWindow, kEntityDetails);
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
  QSize workSpace() const { return form.mdiArea()->viewport()->size(); }

  LumPostForm form{session};
};

TEST_F(WindowLayoutTest, TheJournalWindowFillsTheWorkSpaceAndKeepsTheSizeGivenIt) {
  logIn();
  QMdiSubWindow* window = openJournal();
  EXPECT_EQ(window->geometry(), QRect(QPoint(0, 0), workSpace()));

  window->resize(900, 560);
  saveJournal(window);
  window = openJournal();
  EXPECT_EQ(window->size(), QSize(900, 560));
  saveJournal(window);

  // The next run reads it back for the same operator only.
  WindowSizes nextRun(sizesFile());
  nextRun.setOperator(1, 1);
  EXPECT_EQ(nextRun.size("JournalWindow"), QSize(900, 560));
  nextRun.setOperator(1, 2);
  EXPECT_EQ(nextRun.size("JournalWindow"), std::nullopt);

  // A work space grown smaller cuts the size to it.
  form.resize(800, 500);
  QApplication::processEvents();
  window = openJournal();
  EXPECT_TRUE(QRect(QPoint(0, 0), workSpace()).contains(window->geometry()));
  EXPECT_EQ(window->size(), QSize(900, 560).boundedTo(workSpace()));

  // Made to fill the work space again, it fills the next one, whatever its size.
  window->setGeometry(QRect(QPoint(0, 0), workSpace()));
  saveJournal(window);
  form.resize(1400, 850);
  QApplication::processEvents();
  window = openJournal();
  EXPECT_EQ(window->geometry(), QRect(QPoint(0, 0), workSpace()));
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
}

// Qt hides a shown window's children as it deletes it, and the grid then
// tells of its columns again: the journal window must not hear it.
TEST_F(WindowLayoutTest, AShownJournalWindowIsDeletedWhole) {
  logIn();
  QMdiSubWindow* window = openJournal();
  QWidget* journal = window->widget();
  journal->setParent(nullptr);  // on its own, as a window of the desktop
  journal->show();
  QApplication::processEvents();
  delete journal;
  delete window;
}

TEST_F(WindowLayoutTest, AnalysisHeadingsAreShownWhole) {
  writeAccounts(area(), {"Sales", "Commission Received", "SuperannuationExpenses"});
  logIn();
  QMdiSubWindow* window = openJournal();
  auto* grid = window->findChild<FlexGrid*>("Grid");
  ASSERT_NE(grid, nullptr);
  const QAbstractItemModel& model = *grid->model();
  EXPECT_EQ(model.headerData(5, Qt::Horizontal).toString(), "Sales");
  EXPECT_EQ(model.headerData(6, Qt::Horizontal).toString(), "Commission\nReceived");
  EXPECT_EQ(model.headerData(6, Qt::Horizontal, Qt::ToolTipRole).toString(), "Commission Received");
  EXPECT_EQ(model.headerData(4, Qt::Horizontal, Qt::ToolTipRole).toString().trimmed(), "Amount");

  // Every line of every heading fits its column, on a heading row two lines high.
  const QFontMetrics metrics = grid->horizontalHeader()->fontMetrics();
  EXPECT_GE(grid->horizontalHeader()->height(), 2 * metrics.height());
  for (int column = 0; column <= 7; ++column) {
    for (const QString& line : model.headerData(column, Qt::Horizontal).toString().split('\n')) {
      EXPECT_LT(metrics.horizontalAdvance(line), grid->columnWidth(column)) << line.toStdString();
    }
  }

  // The frozen columns' heading row is as high as the grid's.
  grid->setFocus();
  for (int i = 0; i < 12; ++i) {
    QTest::keyClick(grid, Qt::Key_Right);
  }
  QApplication::processEvents();
  ASSERT_GT(grid->fixedCols(), 0);
  auto* frozen = grid->findChild<QTableView*>("FrozenColumns");
  EXPECT_EQ(frozen->horizontalHeader()->height(), grid->horizontalHeader()->height());
  EXPECT_EQ(frozen->rowViewportPosition(3) + frozen->viewport()->mapToGlobal(QPoint()).y(),
            grid->rowViewportPosition(3) + grid->viewport()->mapToGlobal(QPoint()).y());
}

TEST_F(WindowLayoutTest, EachTotalsBoxStandsUnderTheColumnItTotals) {
  writeAccounts(area(), {"Cash Sales", "Commission Received", "Interest Received"});
  test::writeFourRows(area());
  logIn();
  QMdiSubWindow* window = openJournal();
  auto* grid = window->findChild<FlexGrid*>("Grid");
  auto* frozen = grid->findChild<QTableView*>("FrozenColumns");

  // Box i totals column first + i, after the frozen Amount column when frozen.
  const auto check = [&](const std::vector<int>& columns, const char* where) {
    int shown = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      QLineEdit* total = box(window->widget(), static_cast<int>(i));
      ASSERT_NE(total, nullptr);
      const int column = columns[i];
      const bool isFrozen = column < grid->fixedCols();
      const QTableView& view = isFrozen ? *frozen : *grid;
      const Span under =
          spanOf(*view.viewport(), view.columnViewportPosition(column), view.columnWidth(column));
      const bool inSight =
          under.left >= spanOf(*grid->viewport(), 0, 0).left &&
          under.right <= spanOf(*grid->viewport(), grid->viewport()->width(), 0).left;
      if (!total->isVisible()) {
        continue;
      }
      ++shown;
      EXPECT_TRUE(inSight) << where << ": box " << i;
      const Span span = spanOf(*total, 0, total->width());
      EXPECT_GE(span.left, under.left) << where << ": box " << i;
      EXPECT_LE(span.right, under.right) << where << ": box " << i;
      const QString heading =
          grid->model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString().trimmed();
      EXPECT_EQ(total->toolTip(), "Total of " + heading) << where << ": box " << i;
    }
    EXPECT_GE(shown, 4) << where;
  };

  QTest::mouseClick(window->findChild<QPushButton*>("Command6"), Qt::LeftButton);  // Quick Totals
  QApplication::processEvents();
  check({4, 5, 6, 7, 8, 9, 10}, "at the date");
  EXPECT_EQ(box(window->widget(), 0)->text(), "40.00");
  EXPECT_EQ(box(window->widget(), 1)->text(), "40.00");
  EXPECT_EQ(box(window->widget(), 2)->text(), "0.00");
  EXPECT_TRUE(box(window->widget(), 6)->isVisible());  // the window has room for all seven

  grid->setFocus();
  for (int i = 0; i < 16; ++i) {
    QTest::keyClick(grid, Qt::Key_Right);
  }
  QApplication::processEvents();
  ASSERT_EQ(grid->fixedCols(), 5);
  const int left = grid->leftCol();
  check({4, left, left + 1, left + 2, left + 3, left + 4, left + 5}, "far right");
}

TEST_F(WindowLayoutTest, ScrollingNeverHidesAColumnUnderTheFrozenOnes) {
  logIn({1000, 700});
  QMdiSubWindow* window = openJournal();
  auto* grid = window->findChild<FlexGrid*>("Grid");
  grid->setFocus();
  for (int i = 0; i < 12; ++i) {
    QTest::keyClick(grid, Qt::Key_Right);
  }
  QApplication::processEvents();
  ASSERT_EQ(grid->fixedCols(), 5);
  const int edge = grid->horizontalHeader()->sectionPosition(5);
  const auto noneHalfUnder = [&](const char* where) {
    for (int column = 5; column < grid->model()->columnCount(); ++column) {
      const int left = grid->columnViewportPosition(column);
      const int right = left + grid->columnWidth(column);
      EXPECT_FALSE(left < edge && right > edge) << where << ": column " << column;
    }
  };

  QScrollBar* bar = grid->horizontalScrollBar();
  for (int step = 0; step < 6; ++step) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    noneHalfUnder("a step right");
  }
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  noneHalfUnder("a page right");
  bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  noneHalfUnder("a step left");
  const int before = bar->value();
  bar->setSliderDown(true);  // dragged
  bar->setValue(before + edge / 3);
  bar->setSliderDown(false);
  noneHalfUnder("dragged");
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  noneHalfUnder("at the end");
  const int last = grid->model()->columnCount() - 1;
  EXPECT_LE(grid->columnViewportPosition(last) + grid->columnWidth(last),
            grid->viewport()->width());  // the last column wholly in sight
}

TEST_F(WindowLayoutTest, TheEntityDetailsAreAFormThatStartsInTheName) {
  logIn();
  QMdiSubWindow* window = openEntityDetails();
  EXPECT_EQ(QApplication::focusWidget(), box(window, 0));
  EXPECT_EQ(box(window, 0)->text(), "Smith Plumbing");
  EXPECT_EQ(box(window, 1)->text(), "Pty Ltd");

  const auto at = [&](int index) { return box(window, index)->mapTo(window, QPoint()); };
  const auto captioned = [&](const QString& text) -> QLabel* {
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->text() == text) {
        return label;
      }
    }
    ADD_FAILURE() << "no caption " << text.toStdString();
    return nullptr;
  };
  // The postcode beside the address's second line.
  EXPECT_EQ(at(4).y(), at(3).y());
  EXPECT_GT(at(4).x(), at(3).x() + box(window, 3)->width());
  // Telephone, Fax and Mobile rows under Area Code and Number.
  QLabel* areaCode = captioned("Area Code");
  QLabel* number = captioned("Number");
  ASSERT_NE(areaCode, nullptr);
  ASSERT_NE(number, nullptr);
  const char* const rows[] = {"Telephone", "Fax", "Mobile"};
  for (int row = 0; row < 3; ++row) {
    const int areaBox = 6 + 2 * row;
    EXPECT_EQ(at(areaBox).y(), at(areaBox + 1).y()) << rows[row];
    EXPECT_EQ(at(areaBox).x(), areaCode->mapTo(window, QPoint()).x()) << rows[row];
    EXPECT_EQ(at(areaBox + 1).x(), number->mapTo(window, QPoint()).x()) << rows[row];
    EXPECT_GT(at(areaBox).y(), areaCode->mapTo(window, QPoint()).y()) << rows[row];
    QLabel* label = captioned(rows[row]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), box(window, areaBox));
  }
  QLabel* secondLine = captioned("Name Line 2");
  ASSERT_NE(secondLine, nullptr);
  EXPECT_EQ(secondLine->buddy(), box(window, 1));
  EXPECT_GT(at(12).y(), at(10).y());  // the ABN last

  // The focused box is tinted, not shaded as a box that cannot be typed into.
  const QPalette focused = box(window, 0)->palette();
  const QColor tint = focused.color(QPalette::Active, QPalette::Base);
  EXPECT_NE(tint, focused.color(QPalette::Disabled, QPalette::Base));
  EXPECT_NE(tint, focused.color(QPalette::Mid));
  EXPECT_NE(tint, focused.color(QPalette::Window));
  EXPECT_NE(tint, box(window, 1)->palette().color(QPalette::Active, QPalette::Base));

  // Left on the ABN, the window opens again on the name.
  QTest::keyClick(box(window, 0), Qt::Key_End);
  EXPECT_EQ(QApplication::focusWidget(), box(window, 12));
  QTest::keyClick(box(window, 12), Qt::Key_Escape);
  QApplication::processEvents();
  ASSERT_EQ(session.currentWindow, kEntitiesList);
  window = openEntityDetails();
  EXPECT_EQ(QApplication::focusWidget(), box(window, 0));
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
}

}  // namespace
}  // namespace lum
