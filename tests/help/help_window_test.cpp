#include "help/help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

#include "help/help_topics.h"
#include "help/manual_anchors.h"

namespace lum {
namespace {

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class HelpWindowTest : public ::testing::Test {
 protected:
  HelpWindowTest() {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QTextBrowser* page() { return window.findChild<QTextBrowser*>("Page"); }
  QLineEdit* search() { return window.findChild<QLineEdit*>("Search"); }
  int selectionStart() { return page()->textCursor().selectionStart(); }

  HelpWindow window{HelpProgram::LumPost};
};

// A heading renamed without its window's entry (or the other way round)
// fails here.
TEST_F(HelpWindowTest, EveryWindowsSectionIsInTheManual) {
  ASSERT_FALSE(helpTopics().empty());
  for (const HelpTopic& topic : helpTopics()) {
    EXPECT_TRUE(window.hasSection(qt(topic.anchor))) << topic.anchor;
  }
  EXPECT_TRUE(window.hasSection(qt(kContentsAnchor)));
  EXPECT_FALSE(window.hasSection("no-such-section"));
  // A window without a section of its own opens the contents.
  EXPECT_EQ(helpSection(HelpProgram::LumPost, 14), kContentsAnchor);
  EXPECT_EQ(helpSection(HelpProgram::LumPost, 1), "the-journal-window");
  EXPECT_EQ(helpSection(HelpProgram::LumUtils, 1), "store-away");
}

TEST_F(HelpWindowTest, ThePicturesOfTheManualAreThere) {
  int pictures = 0;
  for (QTextBlock block = page()->document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (format.isImageFormat()) {
        ++pictures;
        const QString name = format.toImageFormat().name();
        EXPECT_TRUE(QFile::exists(":/manual/" + name)) << name.toStdString();
      }
    }
  }
  EXPECT_GE(pictures, 5);
}

TEST_F(HelpWindowTest, TheContentsListTheChaptersAndOpenTheirSections) {
  auto* contents = window.findChild<QTreeWidget*>("Contents");
  ASSERT_GE(contents->topLevelItemCount(), 9);
  EXPECT_EQ(contents->topLevelItem(0)->text(0), "The first day with a new entity");
  QTreeWidgetItem* journal = nullptr;
  for (int i = 0; i < contents->topLevelItemCount(); ++i) {
    EXPECT_NE(contents->topLevelItem(i)->text(0), "Contents");
    if (contents->topLevelItem(i)->text(0) == "The journal window") {
      journal = contents->topLevelItem(i);
    }
  }
  ASSERT_NE(journal, nullptr);
  ASSERT_GT(journal->childCount(), 0);
  EXPECT_EQ(journal->child(0)->text(0), "The grid's keys");

  emit contents->itemActivated(journal->child(0), 0);
  EXPECT_EQ(window.currentSection(), "the-grids-keys");
  window.showSection("transfer-to-the-ledgers");
  EXPECT_EQ(window.currentSection(), "transfer-to-the-ledgers");
  EXPECT_EQ(contents->currentItem()->text(0), "Transfer to the ledgers");
}

TEST_F(HelpWindowTest, EnterInTheSearchMovesFromHitToHitAndRoundAgain) {
  const QString word = "snapshot";
  int hits = 0;
  for (QTextCursor at = page()->document()->find(word); !at.isNull();
       at = page()->document()->find(word, at)) {
    ++hits;
  }
  ASSERT_GE(hits, 2);

  search()->setFocus();
  QTest::keyClicks(search(), word);
  QTest::keyClick(search(), Qt::Key_Return);
  EXPECT_EQ(page()->textCursor().selectedText().toLower(), word);
  const int first = selectionStart();
  QTest::keyClick(search(), Qt::Key_Return);
  const int second = selectionStart();
  EXPECT_GT(second, first);
  EXPECT_EQ(page()->textCursor().selectedText().toLower(), word);
  QTest::keyClick(search(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(selectionStart(), first);

  // From the last hit Enter goes round to the first.
  for (int i = 1; i < hits; ++i) {
    QTest::keyClick(search(), Qt::Key_Return);
  }
  EXPECT_GE(selectionStart(), second);
  QTest::keyClick(search(), Qt::Key_Return);
  EXPECT_EQ(selectionStart(), first);
  EXPECT_TRUE(window.findChild<QLabel*>("Found")->text().isEmpty());
  // The search keeps the focus, for the next Enter.
  EXPECT_TRUE(search()->hasFocus());
}

TEST_F(HelpWindowTest, WordsNotInTheManualAreSaidToBeNotFound) {
  search()->setText("xyzzy plugh");
  QTest::keyClick(search(), Qt::Key_Return);
  EXPECT_FALSE(page()->textCursor().hasSelection());
  EXPECT_EQ(window.findChild<QLabel*>("Found")->text(), "Not found");
}

TEST_F(HelpWindowTest, EscClosesTheWindow) {
  search()->setFocus();
  QTest::keyClick(search(), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace lum
