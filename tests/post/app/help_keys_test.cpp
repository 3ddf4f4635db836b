// F1 and the Help menu in LumPost: the manual opens at the section of the
// window in front.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <cstdlib>

#include "help/help_window.h"
#include "post/app/lum_post_form.h"
#include "post/login/work_area.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"

namespace lum {
namespace {

class HelpKeysTest : public ::testing::Test, protected test::SessionParts {
 protected:
  HelpKeysTest() {
    test::writeOneEntityWorkArea(area());
    session.setHost(form);
  }

  void logIn() {
    ASSERT_EQ(openWorkArea(session, 1, AreaMode::StartUp), AreaOutcome::Shown);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }

  HelpWindow* help() const { return form.findChild<HelpWindow*>("HelpWindow"); }

  LumPostForm form{session};
};

TEST_F(HelpKeysTest, F1InTheJournalWindowOpensItsSection) {
  logIn();
  QMdiSubWindow* journals = form.mdiArea()->activeSubWindow();
  QTest::mouseClick(journals->findChild<QPushButton*>("Command2"), Qt::LeftButton);  // Open
  QApplication::processEvents();
  ASSERT_EQ(session.currentWindow, kJournalGrid);
  auto* grid = form.mdiArea()->activeSubWindow()->findChild<QTableView*>("Grid");
  ASSERT_NE(grid, nullptr);
  grid->setFocus();
  EXPECT_EQ(help(), nullptr);

  QTest::keyClick(grid, Qt::Key_F1);
  ASSERT_NE(help(), nullptr);
  EXPECT_TRUE(help()->isVisible());
  EXPECT_EQ(help()->currentSection(), "the-journal-window");
  // LUM_SCREENSHOT names a file to keep a picture of the help window in
  // (docs/help-window.png is made so under Xvfb).
  if (const char* shot = std::getenv("LUM_SCREENSHOT")) {
    help()->grab().save(shot);
  }
  // F1 typed nothing into the grid and the journal is still open.
  EXPECT_EQ(session.currentWindow, kJournalGrid);
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
}

TEST_F(HelpKeysTest, F1InABoxOfTheJournalsListOpensItsSection) {
  logIn();
  ASSERT_EQ(session.currentWindow, kJournalsList);
  QWidget* box = QApplication::focusWidget();
  ASSERT_NE(box, nullptr);
  QTest::keyClick(box, Qt::Key_F1);
  ASSERT_NE(help(), nullptr);
  EXPECT_TRUE(help()->isVisible());
  EXPECT_EQ(help()->currentSection(), "the-journals-list");
}

TEST_F(HelpKeysTest, TheHelpMenuOpensTheSectionOfTheWindowInFront) {
  logIn();
  form.findChild<QAction*>("HelpM")->trigger();
  ASSERT_NE(help(), nullptr);
  EXPECT_EQ(help()->currentSection(), "the-journals-list");

  // Once open, the window is reused for the next window's section.
  help()->close();
  form.findChild<QAction*>("Entiy")->trigger();
  ASSERT_EQ(session.currentWindow, kEntitiesList);
  HelpWindow* first = help();
  form.findChild<QAction*>("HelpM")->trigger();
  EXPECT_EQ(help(), first);
  EXPECT_TRUE(help()->isVisible());
  EXPECT_EQ(help()->currentSection(), "the-entities-list-and-the-entity-details");
  EXPECT_TRUE(prompter.texts().empty()) << prompter.texts().front();
}

}  // namespace
}  // namespace lum
