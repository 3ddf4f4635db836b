#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lum {

// The shape of one input panel, as the window table gives it.
struct PanelSpec {
  int windowIndex = 0;    // drives what Enter continues as
  int kind = 1;           // boxes per line: 1 or 2
  int visibleLines = 10;  // rows on screen
  bool isList = true;     // a scrolling list of records, else a detail panel of fixed lines
  int labelWidthTwips = 1000;
  bool startAtEnd = false;  // a list that opens showing its last lines (journals, entities)
};

// Where the line being typed stands: as stored, typed into, or refused
// when it was stored.
enum class LineEdit { Clean, Changed, Rejected };

// Shared by every panel of a running program.
struct PanelShared {
  LineEdit edit = LineEdit::Clean;
};

enum class PanelKey {
  Enter,
  Escape,
  PageUp,
  PageDown,
  Home,
  End,
  Left,
  Up,
  Right,
  Down,
  F2,
  F3,
  F4,
  F5
};

// What the owning window supplies. Records and lines are numbered from 1.
class PanelHooks {
 public:
  virtual ~PanelHooks() = default;

  // N: the records of a list or the fields of a detail panel.
  virtual int lineCount() const = 0;
  // The box texts of a record (lists).
  virtual std::vector<std::string> fillListLine(int record) = 0;
  // Every box of a detail panel, box by box.
  virtual void fillDetail(std::vector<std::string>& boxes) = 0;
  // The caption of a detail panel's row label, row from 0.
  virtual std::string detailLabel(int row) const = 0;
  // A changed line: the record of a list, the field line of a detail panel.
  virtual void storeListLine(int record, const std::vector<std::string>& texts) = 0;
  // A line typed after the last record of a list.
  virtual void addListLine(const std::vector<std::string>& texts) = 0;
  // Checks a changed line before it is stored; false when rejected, after
  // the owner has told the user. The panel then puts the line back as stored.
  virtual bool checkLine(int line) = 0;
  // Esc. The panel is still used after this returns: hide it, do not destroy it here.
  virtual void closeWindow() = 0;
  // F2 to F5, forwarded; the owner decides whether they act.
  virtual void functionKey(PanelKey key) = 0;
};

// One panel window: a column of rows, each a label and one or two input
// boxes, scrolling over the lines of a list. Positions (scroll offset,
// current line) are counted in boxes from 0 over the whole list; for lists
// the line after the last record is the add line. The view forwards its
// events here and shows what this object holds.
class InputPanel {
 public:
  static constexpr int kNoBox = -1;
  static constexpr int kMaxKind = 2;
  static constexpr int kMaxVisibleLines = 100;
  // Line counts are cut here, so that positions always fit an int.
  static constexpr int kMaxLines = 100'000'000;
  // Longer lists scroll by kLongListStep lines per scroll-bar unit.
  static constexpr int kLongListLines = 30000;
  static constexpr int kLongListStep = 10;
  // Lists up to this many lines page by their own length on the scroll bar.
  static constexpr int kShortListLines = 10;

  InputPanel(PanelSpec shape, PanelHooks& hooks, PanelShared& shared);

  // As when the window is shown: scroll bar, rows and focus (a detail
  // panel's on its first box).
  void show();
  // Refills every row from the owner (unstored typing is replaced) and
  // puts the focus back on a box it may rest on.
  void redraw();
  void setBoxEnabled(int box, bool enabled);
  // Amount boxes show their text as currency when they lose the focus.
  void setAmountBox(int box, bool amount);
  // A text the owner puts into a box; it does not count as typing.
  void setBoxText(int box, std::string text);
  // Called after every call that may change what the view shows.
  void setChangeListener(std::function<void()> listener);
  // Stores the current line when it has changed (a command of the owning
  // window acting on it); false when the owner rejected it.
  bool commitLine();

  // Events from the view.
  void focusGained(int box);
  void focusLost(int box);
  void textEdited(int box, std::string text);
  void keyDown(PanelKey key, bool shift);
  void scrollBarChanged(int value);

  // What the view shows.
  const PanelSpec& shape() const { return mShape; }
  int lineCount() const { return mLineCount; }
  int boxCount() const { return mShape.kind * mShape.visibleLines; }
  const std::string& boxText(int box) const;
  bool boxEnabled(int box) const;
  bool isAmountBox(int box) const;
  bool boxHighlighted(int box) const { return box != kNoBox && box == mHighlighted; }
  // Lists: the record number as "0001", empty past the add line. Details: the owner's caption.
  std::string labelText(int row) const;
  int focusedBox() const { return mFocused; }
  int scrollOffset() const { return mOffset; }
  int currentLine() const { return mOffset + mFocused; }
  int scrollStep() const;
  int scrollMaximum() const;
  int scrollLargeChange() const;
  int scrollSmallChange() const;
  int scrollValue() const;
  // Grows with every change the view should show.
  long changeCount() const { return mChangeCount; }

 private:
  enum class Direction { Left, Up, Right, Down };
  struct Place {
    int focused;
    int offset;
    bool operator==(const Place&) const = default;
  };
  class Change;

  bool validBox(int box) const { return box >= 0 && box < boxCount(); }
  int clampBox(int box) const;
  int lastPosition() const;
  int maxOffset() const;
  int recordAt(int position) const { return position / mShape.kind + 1; }
  int rowStart(int box) const { return box - box % mShape.kind; }
  Place here() const { return {mFocused, mOffset}; }
  bool enabledAt(Place place) const { return boxEnabled(place.focused); }

  void readLineCount();
  void fillRows();
  void fillListRow(int row);
  void restoreRow(int row);
  std::vector<std::string> rowTexts(int row) const;
  void putRow(int row, std::vector<std::string> texts);

  void enterBox(int box);
  bool leaveBox(int box);
  bool storeLine();

  void moveBy(Direction direction);
  void moveHomeEnd(bool end, bool withinLine);
  void page(int pages);
  // Shows the list from another offset, the focused box staying in its row.
  void scrollTo(int offset);
  void goTo(Place place);
  Place step(Place from, Direction direction, bool mayScroll) const;
  Place firstEnabled(Place landing, Direction direction) const;
  Place placeFor(int position) const;
  Direction enterDirection() const;

  PanelSpec mShape;
  PanelHooks& mHooks;
  PanelShared& mShared;
  int mLineCount = 0;
  std::vector<std::string> mTexts;
  std::vector<bool> mEnabled;
  std::vector<bool> mAmount;
  int mFocused = 0;
  int mOffset = 0;
  int mHighlighted = kNoBox;
  bool mHoldFocus = false;  // a rejected line keeps the focus when the user clicks away
  std::function<void()> mListener;
  long mChangeCount = 0;
  int mCallDepth = 0;
};

}  // namespace lum
