#include "panel/input_panel_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "panel/input_panel.h"

namespace lum {
namespace {

using Texts = std::vector<std::string>;

// An owning window over records held in memory.
class FakeOwner : public PanelHooks {
 public:
  std::vector<Texts> records;
  Texts details;
  int closes = 0;

  int lineCount() const override {
    return details.empty() ? static_cast<int>(records.size()) : static_cast<int>(details.size());
  }
  Texts fillListLine(int record) override {
    return records.at(static_cast<std::size_t>(record - 1));
  }
  void fillDetail(Texts& boxes) override {
    for (std::size_t i = 0; i < boxes.size() && i < details.size(); ++i) {
      boxes[i] = details[i];
    }
  }
  std::string detailLabel(int row) const override { return "Month " + std::to_string(row + 1); }
  void storeListLine(int record, const Texts& texts) override {
    if (!details.empty()) {
      return;
    }
    records.at(static_cast<std::size_t>(record - 1)) = texts;
  }
  void addListLine(const Texts& texts) override { records.push_back(texts); }
  bool checkLine(int) override { return true; }
  void closeWindow() override { ++closes; }
  void functionKey(PanelKey) override {}
};

class InputPanelWidgetTest : public ::testing::Test {
 protected:
  // Builds the panel and its widget, shows the window and puts the focus in it.
  void open(PanelSpec shape) {
    mPanel.emplace(shape, mOwner, mShared);
    mWidget.emplace(*mPanel);
    mWidget->show();
    mWidget->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*mWidget));
    mPanel->show();
    mWidget->focusCurrentBox();
  }
  void openJournalsList(int count) {
    for (int i = 1; i <= count; ++i) {
      mOwner.records.push_back({"Journal " + std::to_string(i)});
    }
    open({0, 1, 10, true, 1000, false});
  }

  QLineEdit* box(int index) const { return mWidget->box(index); }
  QLabel* label(int row) const {
    for (QLabel* label : mWidget->findChildren<QLabel*>("Label1")) {
      if (label->property("index").toInt() == row) {
        return label;
      }
    }
    return nullptr;
  }
  QScrollBar* scrollBar() const { return mWidget->findChild<QScrollBar*>("VScroll1"); }
  QWidget* focus() const { return QApplication::focusWidget(); }

  FakeOwner mOwner;
  PanelShared mShared;
  std::optional<InputPanel> mPanel;
  std::optional<InputPanelWidget> mWidget;
};

TEST_F(InputPanelWidgetTest, ControlsCarryTheirNamesIndexesAndWidths) {
  mOwner.records = {{"Sales", "IG"}, {"Wages", "EN"}};
  open({3, 2, 10, true, 1260, false});
  ASSERT_EQ(mWidget->findChildren<QLineEdit*>("InBox").size(), 20);
  EXPECT_EQ(box(19)->property("index").toInt(), 19);
  EXPECT_EQ(label(0)->width(), 84);
  EXPECT_EQ(label(2)->text(), "0003");
  EXPECT_EQ(label(3)->text(), "");
  EXPECT_EQ(box(3)->text(), "EN");
  ASSERT_NE(scrollBar(), nullptr);
  EXPECT_EQ(scrollBar()->maximum(), 2);
  EXPECT_EQ(focus(), box(0));
}

TEST_F(InputPanelWidgetTest, KeysMoveTheFocusAndScrollTheList) {
  openJournalsList(25);
  // Moving the focus on screen does not come back as more of the user's events.
  const long changes = mPanel->changeCount();
  QTest::keyClick(box(0), Qt::Key_Down);
  EXPECT_EQ(mPanel->changeCount(), changes + 1);
  EXPECT_EQ(mPanel->focusedBox(), 1);
  EXPECT_EQ(focus(), box(1));
  // The focused box stands out, and not as a disabled box would.
  const QColor focusedBase = box(1)->palette().color(QPalette::Base);
  EXPECT_NE(focusedBase, box(0)->palette().color(QPalette::Base));
  EXPECT_NE(focusedBase, box(1)->palette().color(QPalette::Disabled, QPalette::Base));
  EXPECT_NE(focusedBase, box(1)->palette().color(QPalette::Mid));
  EXPECT_NE(focusedBase, box(1)->palette().color(QPalette::Window));

  QTest::keyClick(box(1), Qt::Key_PageDown);
  EXPECT_EQ(mPanel->scrollOffset(), 10);
  EXPECT_EQ(scrollBar()->value(), 10);
  EXPECT_EQ(label(0)->text(), "0011");
  EXPECT_EQ(box(1)->text(), "Journal 12");
  EXPECT_EQ(focus(), box(1));

  QTest::keyClick(box(1), Qt::Key_End);
  EXPECT_EQ(mPanel->currentLine(), 24);
  EXPECT_EQ(focus(), box(mPanel->focusedBox()));
  QTest::keyClick(focus(), Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(mPanel->currentLine(), 24);
  QTest::keyClick(focus(), Qt::Key_Home);
  EXPECT_EQ(mPanel->currentLine(), 0);
  EXPECT_EQ(focus(), box(0));

  QTest::keyClick(box(0), Qt::Key_Escape);
  EXPECT_EQ(mOwner.closes, 1);
}

TEST_F(InputPanelWidgetTest, ANewLineTypedOnTheAddLineJoinsTheList) {
  openJournalsList(3);
  QTest::mouseClick(box(7), Qt::LeftButton);
  EXPECT_EQ(focus(), box(0));
  for (int presses = 0; presses < 3; ++presses) {
    QTest::keyClick(focus(), Qt::Key_Down);
  }
  ASSERT_EQ(focus(), box(3));
  QTest::keyClicks(box(3), "Wages");
  EXPECT_EQ(mShared.edit, LineEdit::Changed);
  QTest::keyClick(box(3), Qt::Key_Return);
  EXPECT_EQ(mPanel->lineCount(), 4);
  EXPECT_EQ(mOwner.records.back(), Texts{"Wages"});
  EXPECT_EQ(label(4)->text(), "0005");
  EXPECT_EQ(box(3)->text(), "Wages");
  EXPECT_EQ(focus(), box(4));
  EXPECT_EQ(scrollBar()->maximum(), 4);
}

TEST_F(InputPanelWidgetTest, AnAmountBoxShowsCurrencyOnceLeft) {
  mOwner.details = {"Sales", "", "Costs", "", "Other", ""};
  open({4, 2, 3, false, 1580, false});
  mPanel->setAmountBox(1, true);
  EXPECT_EQ(mWidget->findChild<QScrollBar*>("VScroll1"), nullptr);
  EXPECT_EQ(label(0)->text(), "Month 1");
  EXPECT_EQ(box(1)->alignment() & Qt::AlignRight, Qt::AlignRight);

  QTest::keyClick(box(0), Qt::Key_Right);
  ASSERT_EQ(focus(), box(1));
  QTest::keyClicks(box(1), "12.5");
  QTest::mouseClick(box(4), Qt::LeftButton);
  EXPECT_EQ(box(1)->text(), "    12.50");
  EXPECT_EQ(focus(), box(4));
  EXPECT_EQ(mPanel->focusedBox(), 4);
}

// A click into the window while another program had the focus: the box
// clicked gets the focus only as the window comes back.
TEST_F(InputPanelWidgetTest, AClickFromAnotherWindowSelectsTheLineClicked) {
  openJournalsList(3);
  ASSERT_EQ(mPanel->focusedBox(), 0);
  QFocusEvent comingBack(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(box(2), &comingBack);
  EXPECT_EQ(mPanel->currentLine(), 2);
}

TEST_F(InputPanelWidgetTest, TheScrollBarMovesTheListAndKeepsTheFocusInTheBoxes) {
  openJournalsList(40);
  QTest::keyClick(box(0), Qt::Key_Down);
  scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(mPanel->scrollOffset(), 10);
  EXPECT_EQ(mPanel->currentLine(), 11);
  EXPECT_EQ(box(0)->text(), "Journal 11");
  EXPECT_EQ(focus(), box(1));

  // A change made by the owner shows without coming back as the user's events.
  mOwner.records[10] = {"Renamed"};
  mPanel->redraw();
  EXPECT_EQ(box(0)->text(), "Renamed");
  EXPECT_EQ(mShared.edit, LineEdit::Clean);
  EXPECT_EQ(mPanel->scrollOffset(), 10);
}

}  // namespace
}  // namespace lum
