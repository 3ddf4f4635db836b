// The GST report's details: from the report viewer to the rows behind a
// BAS label, and from a row to its journal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <cstdlib>

#include "post/app/lum_post_form.h"
#include "post/login/work_area.h"
#include "post/render/rep_disp.h"
#include "post/reports/gst_details_window.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class GstDetailsTest : public ::testing::Test, protected test::SessionParts {
 protected:
  GstDetailsTest() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
    test::writeFourRows(area());
    session.setHost(form);
    form.keepWindowSizesIn(QString::fromStdString((dir / "sizes.ini").string()));
  }

  void logIn() {
    ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
    form.resize(1200, 860);
    form.show();
    QApplication::processEvents();
  }

  QPushButton* mainButton(const char* name) {
    return form.findChild<QWidget*>("Picture1")->findChild<QPushButton*>(name);
  }

  LumPostForm form{session};
};

TEST_F(GstDetailsTest, FromALabelToTheJournalRowBehindIt) {
  logIn();
  QTest::mouseClick(mainButton("Command5"), Qt::LeftButton);  // GST Report
  QApplication::processEvents();
  auto* viewer = form.findChild<RepDisp*>("RepDisp");
  ASSERT_NE(viewer, nullptr);
  auto* detailsButton = viewer->findChild<QPushButton*>("Command10");
  ASSERT_NE(detailsButton, nullptr);
  EXPECT_TRUE(detailsButton->isVisible());
  QTest::mouseClick(detailsButton, Qt::LeftButton);
  QApplication::processEvents();
  ASSERT_EQ(session.currentWindow, kGstDetails);
  auto* details = form.findChild<GstDetailsWindow*>("GstDetails");
  ASSERT_NE(details, nullptr);
  // Over the viewer the main window's commands stay closed, as over the viewer itself.
  EXPECT_FALSE(mainButton("Command5")->isEnabled());
  EXPECT_FALSE(mainButton("Command2")->isEnabled());

  // G1 comes after the seven columns: the four sales rows, and their total is the figure.
  auto* figures = details->findChild<QListWidget*>("Figures");
  figures->setCurrentRow(7);
  EXPECT_EQ(details->findChild<QLabel*>("FigureTitle")->text(), "G1 - Total Suppies: 40.00");
  QTableView* table = details->table();
  ASSERT_EQ(table->model()->rowCount(), 4);
  EXPECT_EQ(table->model()->index(2, 3).data().toString(), "Row");
  EXPECT_EQ(table->model()->index(2, 5).data().toString(), "Sales");
  EXPECT_EQ(details->totalsText(), "4 rows: 40.00    G1: 40.00");
  // Sorted by date, newest first, row 3 is the second line.
  table->sortByColumn(2, Qt::DescendingOrder);
  EXPECT_EQ(table->model()->index(1, 1).data().toString(), "3");
  if (const char* shot = std::getenv("LUM_SCREENSHOT")) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.grab().save(shot);
  }

  const QRect cell = table->visualRect(table->model()->index(1, 3));
  // As a mouse does it: a press and release, then the double click.
  QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
  QApplication::processEvents();
  ASSERT_EQ(session.currentWindow, kJournalGrid);
  auto* grid = form.mdiArea()->activeSubWindow()->findChild<QTableView*>("Grid");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->currentIndex().row(), 2);  // row 3
  EXPECT_EQ(form.mdiArea()->activeSubWindow()->windowTitle(), "Takings Book - Sep");

  // Saving the journal comes back to the details, and Esc there to the report.
  QTest::mouseClick(form.mdiArea()->activeSubWindow()->findChild<QPushButton*>("Command2"),
                    Qt::LeftButton);
  QApplication::processEvents();
  ASSERT_EQ(session.currentWindow, kGstDetails);
  EXPECT_EQ(details->totalsText(), "4 rows: 40.00    G1: 40.00");  // gathered again
  QTest::keyClick(details, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(session.currentWindow, kReportDisplay);
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
}

TEST_F(GstDetailsTest, NotCountedAndTheCsvOfAFigure) {
  logIn();
  QTest::mouseClick(mainButton("Command5"), Qt::LeftButton);
  QApplication::processEvents();
  QTest::mouseClick(form.findChild<RepDisp*>("RepDisp")->findChild<QPushButton*>("Command10"),
                    Qt::LeftButton);
  QApplication::processEvents();
  auto* details = form.findChild<GstDetailsWindow*>("GstDetails");
  ASSERT_NE(details, nullptr);
  details->choose(GstDetailsWindow::kNotCounted);
  EXPECT_EQ(details->table()->model()->rowCount(), 0);  // every row counted
  EXPECT_EQ(details->totalsText(), "0 left out");

  details->choose(0);  // column 1: income subject to GST
  details->setFileChooser([this](const QString& offered) {
    EXPECT_EQ(offered.toStdString(),
              "Smith Plumbing GST Report September Quarter 2026 trail C1.csv");
    return QString::fromStdString((dir / "c1.csv").string());
  });
  QTest::mouseClick(details->findChild<QPushButton*>("SaveFigure"), Qt::LeftButton);
  const std::string csv = test::readText(dir / "c1.csv");
  EXPECT_NE(csv.find("\n1,4,04/08/26,Row,4,Sales,10.0000,taxed,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",total,,,,,,,,,,40.0000,\n"), std::string::npos) << csv;
  EXPECT_EQ(form.findChild<QStatusBar*>("StatusBar")->currentMessage().toStdString(),
            "Saved " + (dir / "c1.csv").string());
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
}

}  // namespace
}  // namespace lum
