#include "panel/input_panel.h"

#include <fmt/core.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lum {
namespace {

using Texts = std::vector<std::string>;

// An owning window over records held in memory.
class FakeOwner : public PanelHooks {
 public:
  std::vector<Texts> records;  // lists
  Texts details;               // detail panels, box by box
  std::optional<int> countOverride;
  bool rejectLines = false;
  std::vector<int> checkedLines;
  std::vector<std::pair<int, Texts>> stored;
  std::vector<Texts> added;
  std::vector<int> badRequests;  // records asked for outside 1..N
  int closes = 0;
  std::vector<PanelKey> functionKeys;

  int lineCount() const override {
    return countOverride.value_or(static_cast<int>(records.size()));
  }
  Texts fillListLine(int record) override {
    if (record < 1 || record > std::min(lineCount(), InputPanel::kMaxLines)) {
      badRequests.push_back(record);
      return {};
    }
    if (record <= static_cast<int>(records.size())) {
      return records[static_cast<std::size_t>(record - 1)];
    }
    return {"Record " + std::to_string(record)};
  }
  void fillDetail(Texts& boxes) override {
    for (std::size_t i = 0; i < boxes.size() && i < details.size(); ++i) {
      boxes[i] = details[i];
    }
  }
  std::string detailLabel(int row) const override { return "Field " + std::to_string(row + 1); }
  void storeListLine(int record, const Texts& texts) override {
    stored.emplace_back(record, texts);
    if (record <= static_cast<int>(records.size())) {
      records[static_cast<std::size_t>(record - 1)] = texts;
    }
  }
  void addListLine(const Texts& texts) override {
    added.push_back(texts);
    records.push_back(texts);
  }
  bool checkLine(int line) override {
    checkedLines.push_back(line);
    return !rejectLines;
  }
  void closeWindow() override { ++closes; }
  void functionKey(PanelKey key) override { functionKeys.push_back(key); }
};

std::vector<Texts> journals(int count) {
  std::vector<Texts> records;
  for (int i = 1; i <= count; ++i) {
    records.push_back({"Journal " + std::to_string(i)});
  }
  return records;
}

std::vector<Texts> accounts(int count) {
  std::vector<Texts> records;
  for (int i = 1; i <= count; ++i) {
    records.push_back({"Account " + std::to_string(i), "IG"});
  }
  return records;
}

PanelSpec list(int window, int kind, bool startAtEnd = false) {
  return {window, kind, 10, true, 1000, startAtEnd};
}

PanelSpec detail(int window, int kind, int lines) {
  return {window, kind, lines, false, 1200, false};
}

// A panel shown over its owner, as a window opens.
struct Panel {
  Panel(PanelSpec shape, std::vector<Texts> records) {
    owner.records = std::move(records);
    panel.emplace(shape, owner, shared);
    panel->show();
  }
  Panel(PanelSpec shape, Texts details) {
    owner.details = std::move(details);
    owner.countOverride = static_cast<int>(owner.details.size()) / shape.kind;
    panel.emplace(shape, owner, shared);
    panel->show();
  }
  InputPanel* operator->() { return &*panel; }
  void type(int box, std::string text) {
    panel->focusGained(box);
    panel->textEdited(box, std::move(text));
  }

  FakeOwner owner;
  PanelShared shared;
  std::optional<InputPanel> panel;
};

TEST(InputPanel, ClickPastTheAddLineGoesBackToTheSelectedLine) {
  Panel journalsList(list(0, 1), journals(3));
  journalsList->focusGained(3);
  EXPECT_EQ(journalsList->focusedBox(), 3);
  EXPECT_EQ(journalsList->labelText(3), "0004");
  EXPECT_EQ(journalsList->labelText(4), "");
  journalsList->focusGained(1);
  journalsList->focusGained(7);
  EXPECT_EQ(journalsList->focusedBox(), 1);
  EXPECT_EQ(journalsList->currentLine(), 1);
  journalsList->focusGained(500);
  EXPECT_EQ(journalsList->focusedBox(), 1);
  journalsList->focusGained(-4);
  EXPECT_EQ(journalsList->focusedBox(), 0);

  // When the selected line itself lies past the list, the focus goes to the
  // add line's first box.
  Panel accountsList(list(3, 2), accounts(5));
  accountsList->focusGained(11);
  EXPECT_EQ(accountsList->focusedBox(), 11);
  accountsList.owner.records.resize(2);
  accountsList->redraw();
  EXPECT_EQ(accountsList->focusedBox(), 4);
  EXPECT_EQ(accountsList->boxText(4), "");
  EXPECT_EQ(accountsList->boxText(3), "IG");
}

TEST(InputPanel, TypingOnTheAddLineAddsARecordAndTheListGrows) {
  Panel panel(list(0, 1), journals(3));
  panel.type(3, "Wages");
  EXPECT_EQ(panel.shared.edit, LineEdit::Changed);
  panel->focusLost(3);
  EXPECT_EQ(panel.owner.added, std::vector<Texts>{{"Wages"}});
  EXPECT_TRUE(panel.owner.stored.empty());
  EXPECT_EQ(panel->lineCount(), 4);
  EXPECT_EQ(panel.shared.edit, LineEdit::Clean);
  EXPECT_EQ(panel->labelText(4), "0005");
  EXPECT_EQ(panel->scrollMaximum(), 4);

  panel.type(4, "Rent");
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel->lineCount(), 5);
  EXPECT_EQ(panel->focusedBox(), 5);
  EXPECT_EQ(panel->boxText(4), "Rent");

  // An add line typed into and emptied again adds nothing.
  panel.type(5, "x");
  panel->textEdited(5, "   ");
  panel->keyDown(PanelKey::Up, false);
  EXPECT_EQ(panel->lineCount(), 5);
  EXPECT_EQ(panel.owner.added.size(), 2U);
  EXPECT_EQ(panel.shared.edit, LineEdit::Clean);
}

TEST(InputPanel, EnterStoresTheLineThenMovesDownOrRight) {
  Panel journalsList(list(0, 1), journals(3));
  journalsList.type(0, "Cash");
  journalsList->keyDown(PanelKey::Enter, false);
  EXPECT_EQ(journalsList.owner.stored, (std::vector<std::pair<int, Texts>>{{1, {"Cash"}}}));
  EXPECT_EQ(journalsList->focusedBox(), 1);

  Panel configuration(list(11, 2), accounts(3));
  configuration->keyDown(PanelKey::Enter, false);
  EXPECT_EQ(configuration->focusedBox(), 1);
  configuration->keyDown(PanelKey::Enter, false);
  EXPECT_EQ(configuration->focusedBox(), 2);

  // The accounts list has two boxes a line but goes down; the names list follows its kind.
  Panel accountsList(list(3, 2), accounts(3));
  accountsList->keyDown(PanelKey::Enter, false);
  EXPECT_EQ(accountsList->focusedBox(), 2);
  Panel names(list(8, 2), accounts(3));
  names->keyDown(PanelKey::Enter, false);
  EXPECT_EQ(names->focusedBox(), 1);
}

TEST(InputPanel, ArrowsScrollOneLineAtTheEdgesAndStopAtTheAddLine) {
  Panel panel(list(0, 1), journals(12));
  panel->focusGained(9);
  panel->keyDown(PanelKey::Down, false);
  panel->keyDown(PanelKey::Right, false);
  EXPECT_EQ(panel->scrollOffset(), 2);
  EXPECT_EQ(panel->currentLine(), 11);
  panel->keyDown(PanelKey::Down, false);
  panel->keyDown(PanelKey::Right, false);
  EXPECT_EQ(panel->scrollOffset(), 3);
  EXPECT_EQ(panel->currentLine(), 12);
  EXPECT_EQ(panel->labelText(9), "0013");
  panel->focusGained(0);
  panel->keyDown(PanelKey::Up, false);
  panel->keyDown(PanelKey::Left, false);
  EXPECT_EQ(panel->scrollOffset(), 1);
  EXPECT_EQ(panel->focusedBox(), 0);

  Panel twoBoxes(list(11, 2), accounts(12));
  twoBoxes->focusGained(19);
  twoBoxes->keyDown(PanelKey::Right, false);
  EXPECT_EQ(twoBoxes->scrollOffset(), 2);
  EXPECT_EQ(twoBoxes->focusedBox(), 18);
  twoBoxes->focusGained(0);
  twoBoxes->keyDown(PanelKey::Left, false);
  EXPECT_EQ(twoBoxes->scrollOffset(), 0);
  EXPECT_EQ(twoBoxes->focusedBox(), 1);
}

TEST(InputPanel, PageKeysMoveAPageAndStopAtTheEnds) {
  Panel panel(list(0, 1), journals(25));
  panel->focusGained(2);
  panel->keyDown(PanelKey::PageDown, false);
  EXPECT_EQ(panel->scrollOffset(), 10);
  EXPECT_EQ(panel->currentLine(), 12);
  for (int presses = 0; presses < 2; ++presses) {
    panel->keyDown(PanelKey::PageDown, false);
    EXPECT_EQ(panel->scrollOffset(), 15);
    EXPECT_EQ(panel->labelText(9), "0025");
  }
  panel->keyDown(PanelKey::PageUp, false);
  EXPECT_EQ(panel->scrollOffset(), 5);
  for (int presses = 0; presses < 2; ++presses) {
    panel->keyDown(PanelKey::PageUp, false);
    EXPECT_EQ(panel->scrollOffset(), 0);
  }
  EXPECT_EQ(panel->focusedBox(), 2);

  Panel twoBoxes(list(11, 2), accounts(25));
  for (const int expected : {20, 30, 30}) {
    twoBoxes->keyDown(PanelKey::PageDown, false);
    EXPECT_EQ(twoBoxes->scrollOffset(), expected);
  }
  Panel shortList(list(0, 1), journals(5));
  shortList->keyDown(PanelKey::PageDown, false);
  EXPECT_EQ(shortList->scrollOffset(), 0);

  // A changed line is stored under its own record before the page moves.
  panel.type(2, "Petty cash");
  panel->keyDown(PanelKey::PageDown, false);
  EXPECT_EQ(panel.owner.stored, (std::vector<std::pair<int, Texts>>{{3, {"Petty cash"}}}));
  EXPECT_EQ(panel->boxText(2), "Journal 13");
}

TEST(InputPanel, ListsOpenedAtTheEndShowTheirLastTenLines) {
  for (const auto& [count, offset] : {std::pair{25, 16}, {10, 1}, {9, 0}, {0, 0}}) {
    Panel panel(list(0, 1, true), journals(count));
    EXPECT_EQ(panel->scrollOffset(), offset) << count;
    EXPECT_EQ(panel->scrollValue(), offset) << count;
    EXPECT_EQ(panel->labelText(count - offset), fmt::format("{:04}", count + 1)) << count;
  }
  Panel notAtEnd(list(0, 1, false), journals(25));
  EXPECT_EQ(notAtEnd->scrollOffset(), 0);
}

TEST(InputPanel, ScrollBarRangeFollowsTheLineCount) {
  struct Case {
    int lines, kind, step, maximum, largeChange;
  };
  for (const Case& c :
       {Case{0, 1, 1, 0, 1}, Case{0, 2, 1, 0, 2}, Case{5, 1, 1, 5, 5}, Case{100, 2, 1, 100, 10},
        Case{30000, 1, 1, 30000, 10}, Case{30001, 1, 10, 3000, 1}, Case{45678, 2, 10, 4567, 1}}) {
    Panel panel(list(0, c.kind), journals(0));
    panel.owner.countOverride = c.lines;
    panel->show();
    EXPECT_EQ(panel->scrollStep(), c.step) << c.lines;
    EXPECT_EQ(panel->scrollMaximum(), c.maximum) << c.lines;
    EXPECT_EQ(panel->scrollLargeChange(), c.largeChange) << c.lines;
    EXPECT_EQ(panel->scrollSmallChange(), 1) << c.lines;
  }
}

TEST(InputPanel, ScrollBarMovesTheListAndTheCurrentLine) {
  Panel panel(list(0, 1), journals(100));
  panel->focusGained(4);
  panel->scrollBarChanged(7);
  EXPECT_EQ(panel->scrollOffset(), 7);
  EXPECT_EQ(panel->currentLine(), 11);
  EXPECT_EQ(panel->boxText(0), "Journal 8");
  panel->scrollBarChanged(-3);
  EXPECT_EQ(panel->scrollOffset(), 0);

  // Past the last page the list stops with the add line on its last row.
  panel->scrollBarChanged(100);
  EXPECT_EQ(panel->scrollOffset(), 91);
  EXPECT_EQ(panel->scrollValue(), 91);

  Panel longList(list(0, 1), journals(0));
  longList.owner.countOverride = 40000;
  longList->show();
  longList->scrollBarChanged(2);
  EXPECT_EQ(longList->scrollOffset(), 20);
  EXPECT_EQ(longList->scrollValue(), 2);
  EXPECT_EQ(longList->boxText(0), "Record 21");

  Panel twoBoxes(list(11, 2), accounts(100));
  twoBoxes.type(1, "XG");
  twoBoxes->scrollBarChanged(3);
  EXPECT_EQ(twoBoxes->scrollOffset(), 6);
  EXPECT_EQ(twoBoxes.owner.stored, (std::vector<std::pair<int, Texts>>{{1, {"Account 1", "XG"}}}));
}

TEST(InputPanel, MovesSkipDisabledBoxesAndTurnBackAtTheEnd) {
  Panel panel(detail(6, 1, 5), Texts{"a", "b", "c", "d", "e"});
  panel->setBoxEnabled(2, false);
  panel->focusGained(1);
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel->focusedBox(), 3);
  panel->keyDown(PanelKey::Up, false);
  EXPECT_EQ(panel->focusedBox(), 1);

  panel->setBoxEnabled(4, false);
  panel->focusGained(3);
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel->focusedBox(), 3);

  // From a box disabled under the focus the turn goes on past it.
  panel->setBoxEnabled(3, false);
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel->focusedBox(), 1);
  // A click on a disabled box passes the focus upwards.
  panel->focusGained(4);
  EXPECT_EQ(panel->focusedBox(), 1);
  // Upwards into the disabled top the move turns down past its own box.
  panel->setBoxEnabled(0, false);
  panel->setBoxEnabled(1, false);
  panel->setBoxEnabled(2, true);
  panel->keyDown(PanelKey::Up, false);
  EXPECT_EQ(panel->focusedBox(), 2);

  Panel budget(detail(4, 2, 3), Texts{"Jan", "", "Feb", "", "Mar", ""});
  budget->setBoxEnabled(1, false);
  budget->keyDown(PanelKey::Right, false);
  EXPECT_EQ(budget->focusedBox(), 2);
  budget->keyDown(PanelKey::Left, false);
  EXPECT_EQ(budget->focusedBox(), 0);
  budget->setBoxEnabled(5, false);
  budget->keyDown(PanelKey::End, false);
  EXPECT_EQ(budget->focusedBox(), 4);

  // With every box disabled the move finds nowhere to rest and the focus
  // rule leaves the first box.
  for (int box = 0; box < budget->boxCount(); ++box) {
    budget->setBoxEnabled(box, false);
  }
  budget->keyDown(PanelKey::Up, false);
  EXPECT_EQ(budget->focusedBox(), 0);
}

TEST(InputPanel, ADetailPanelOpensOnItsFirstBoxAndAListWhereItWasLeft) {
  Panel details(detail(6, 1, 5), Texts{"a", "b", "c", "d", "e"});
  details->keyDown(PanelKey::End, false);
  ASSERT_EQ(details->focusedBox(), 4);
  details->show();
  EXPECT_EQ(details->focusedBox(), 0);
  EXPECT_TRUE(details->boxHighlighted(0));
  details->setBoxEnabled(0, false);
  details->show();
  EXPECT_EQ(details->focusedBox(), 1);

  Panel journalsList(list(0, 1), journals(5));
  journalsList->keyDown(PanelKey::Down, false);
  journalsList->keyDown(PanelKey::Down, false);
  journalsList->show();
  EXPECT_EQ(journalsList->currentLine(), 2);
}

TEST(InputPanel, HomeAndEndReachTheListEndsOrWithShiftTheLineEnds) {
  Panel panel(list(11, 2), accounts(30));
  panel->focusGained(5);
  panel->keyDown(PanelKey::End, false);
  EXPECT_EQ(panel->currentLine(), 59);
  EXPECT_EQ(panel->focusedBox(), 19);
  EXPECT_EQ(panel->boxText(19), "IG");
  panel->keyDown(PanelKey::Home, true);
  EXPECT_EQ(panel->currentLine(), 58);
  panel->keyDown(PanelKey::End, true);
  EXPECT_EQ(panel->currentLine(), 59);
  panel->keyDown(PanelKey::Home, false);
  EXPECT_EQ(panel->currentLine(), 0);
  EXPECT_EQ(panel->scrollOffset(), 0);

  Panel empty(list(11, 2), accounts(0));
  empty->keyDown(PanelKey::End, false);
  EXPECT_EQ(empty->currentLine(), 1);
}

TEST(InputPanel, EscapeClosesAndFunctionKeysGoToTheOwner) {
  Panel panel(list(0, 1), journals(3));
  panel.type(1, "Changed");
  panel->keyDown(PanelKey::Escape, false);
  EXPECT_EQ(panel.owner.closes, 1);
  EXPECT_TRUE(panel.owner.stored.empty());
  for (const PanelKey key : {PanelKey::F2, PanelKey::F3, PanelKey::F4, PanelKey::F5}) {
    panel->keyDown(key, false);
  }
  EXPECT_EQ(panel.owner.functionKeys,
            (std::vector{PanelKey::F2, PanelKey::F3, PanelKey::F4, PanelKey::F5}));
  EXPECT_EQ(panel->focusedBox(), 1);
}

TEST(InputPanel, OnlyChangedLinesAreCheckedAndStored) {
  Panel panel(list(0, 1), journals(3));
  panel->keyDown(PanelKey::Down, false);
  panel->keyDown(PanelKey::Down, false);
  panel->focusLost(2);
  panel->focusGained(2);
  EXPECT_TRUE(panel.owner.checkedLines.empty());
  EXPECT_TRUE(panel.owner.stored.empty());

  panel->textEdited(2, "Bank");
  panel->keyDown(PanelKey::Up, false);
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel.owner.checkedLines, std::vector<int>{3});
  EXPECT_EQ(panel.owner.stored, (std::vector<std::pair<int, Texts>>{{3, {"Bank"}}}));

  // Typing reaches only the focused box.
  panel->textEdited(0, "elsewhere");
  EXPECT_EQ(panel->boxText(0), "Journal 1");
  EXPECT_EQ(panel.shared.edit, LineEdit::Clean);

  // A command of the owner stores the line in place, once.
  panel->textEdited(2, "Bank 2");
  EXPECT_TRUE(panel->commitLine());
  EXPECT_TRUE(panel->commitLine());
  EXPECT_EQ(panel.owner.stored.size(), 2U);
  EXPECT_EQ(panel.owner.stored.back(), (std::pair<int, Texts>{3, {"Bank 2"}}));
  EXPECT_EQ(panel->focusedBox(), 2);
}

TEST(InputPanel, ARejectedLineKeepsTheFocusAndGoesBackAsStored) {
  Panel panel(list(0, 1), journals(3));
  panel.owner.rejectLines = true;
  panel.type(1, "Bad");
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel.shared.edit, LineEdit::Rejected);
  EXPECT_EQ(panel->focusedBox(), 1);
  EXPECT_EQ(panel->boxText(1), "Journal 2");
  EXPECT_TRUE(panel.owner.stored.empty());

  // A click elsewhere after a rejection brings the focus back to the line.
  panel->textEdited(1, "Worse");
  panel->focusLost(1);
  panel->focusGained(2);
  EXPECT_EQ(panel->focusedBox(), 1);

  panel.owner.rejectLines = false;
  panel->textEdited(1, "Good");
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel.owner.stored, (std::vector<std::pair<int, Texts>>{{2, {"Good"}}}));
  EXPECT_EQ(panel->focusedBox(), 2);
  EXPECT_EQ(panel.shared.edit, LineEdit::Clean);

  // A detail panel puts back only the rejected line.
  Panel details(detail(2, 1, 3), Texts{"Payments", "P", "10"});
  details->setBoxText(0, "Receipts");
  details.owner.rejectLines = true;
  details.type(1, "Q");
  details->keyDown(PanelKey::Down, false);
  EXPECT_EQ(details.owner.checkedLines, std::vector<int>{2});
  EXPECT_EQ(details->boxText(1), "P");
  EXPECT_EQ(details->boxText(0), "Receipts");
}

TEST(InputPanel, AmountBoxesShowCurrencyWhenLeft) {
  Panel panel(detail(4, 2, 3), Texts{"Sales", "", "Costs", "", "Other", ""});
  for (const int box : {1, 3, 5}) {
    panel->setAmountBox(box, true);
  }
  panel.type(1, "12.5");
  panel->keyDown(PanelKey::Down, false);
  EXPECT_EQ(panel->boxText(1), "    12.50");
  EXPECT_EQ(panel.owner.stored, (std::vector<std::pair<int, Texts>>{{1, {"Sales", "    12.50"}}}));

  // The formatting itself is the money tests'; what is no amount stays as typed.
  panel.type(5, "abc");
  panel->focusLost(5);
  EXPECT_EQ(panel->boxText(5), "abc");
  panel.type(0, "12.5");
  panel->focusLost(0);
  EXPECT_EQ(panel->boxText(0), "12.5");
}

TEST(InputPanel, BadLineCountsAndShapesNeverLeaveTheList) {
  for (const int count : {-5, 0, INT_MAX}) {
    Panel panel(list(0, 2, true), accounts(0));
    panel.owner.countOverride = count;
    panel->show();
    const int lines = std::clamp(count, 0, InputPanel::kMaxLines);
    EXPECT_EQ(panel->lineCount(), lines);
    panel->focusGained(99);
    panel->focusGained(-1);
    panel->scrollBarChanged(INT_MAX);
    panel->textEdited(panel->focusedBox(), "x");
    for (const PanelKey key :
         {PanelKey::Enter, PanelKey::PageDown, PanelKey::End, PanelKey::Down, PanelKey::Right,
          PanelKey::PageUp, PanelKey::Home, PanelKey::Up, PanelKey::Left}) {
      for (const bool shift : {false, true}) {
        panel->keyDown(key, shift);
        EXPECT_GE(panel->focusedBox(), 0);
        EXPECT_LT(panel->focusedBox(), panel->boxCount());
        EXPECT_LE(panel->currentLine(), 2 * lines + 1);
        EXPECT_LE(panel->scrollValue(), panel->scrollMaximum());
      }
    }
    panel->keyDown(PanelKey::End, false);
    EXPECT_EQ(panel->currentLine(), std::max(2 * lines, 2) - 1) << count;
    EXPECT_TRUE(panel.owner.badRequests.empty()) << count;
  }

  FakeOwner owner;
  PanelShared shared;
  InputPanel odd({0, 0, -3, true, -100, false}, owner, shared);
  odd.show();
  EXPECT_EQ(odd.boxCount(), 1);
  EXPECT_EQ(odd.shape().labelWidthTwips, 0);
  EXPECT_EQ(odd.boxText(7), "");
  EXPECT_EQ(odd.labelText(-1), "");
}

}  // namespace
}  // namespace lum
