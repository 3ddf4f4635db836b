#include "panel/input_panel.h"

#include <fmt/core.h>

#include <algorithm>
#include <array>
#include <utility>

#include "panel/money.h"
#include "platform/text.h"

namespace lum {
namespace {

// Windows whose Enter goes on downwards, or to the right, whatever their kind.
constexpr std::array kEnterDownWindows{0, 2, 3, 5, 6, 7, 9, 15, 17};
constexpr std::array kEnterRightWindows{4, 11, 18};

constexpr int kLabelDigits = 4;
// One scroll-bar unit: one line, or kLongListStep lines on long lists.
constexpr int kScrollSmallChange = 1;

bool contains(const auto& windows, int window) {
  return std::find(windows.begin(), windows.end(), window) != windows.end();
}

PanelSpec normalised(PanelSpec shape) {
  shape.kind = std::clamp(shape.kind, 1, InputPanel::kMaxKind);
  shape.visibleLines = std::clamp(shape.visibleLines, 1, InputPanel::kMaxVisibleLines);
  shape.labelWidthTwips = std::max(shape.labelWidthTwips, 0);
  return shape;
}

bool allBlank(const std::vector<std::string>& texts) {
  return std::all_of(texts.begin(), texts.end(),
                     [](const std::string& text) { return trim(text).empty(); });
}

}  // namespace

// Tells the listener once, when the outermost call into the panel returns.
class InputPanel::Change {
 public:
  explicit Change(InputPanel& panel) : mPanel(panel) { ++mPanel.mCallDepth; }
  ~Change() {
    if (--mPanel.mCallDepth == 0) {
      ++mPanel.mChangeCount;
      if (mPanel.mListener) {
        mPanel.mListener();
      }
    }
  }
  Change(const Change&) = delete;
  Change& operator=(const Change&) = delete;

 private:
  InputPanel& mPanel;
};

InputPanel::InputPanel(PanelSpec shape, PanelHooks& hooks, PanelShared& shared)
    : mShape(normalised(shape)),
      mHooks(hooks),
      mShared(shared),
      mTexts(boxCount()),
      mEnabled(boxCount(), true),
      mAmount(boxCount(), false) {}

void InputPanel::show() {
  Change change(*this);
  readLineCount();
  if (mShape.isList && mShape.startAtEnd) {
    mOffset = maxOffset();
  }
  // A detail window shows another record each time: it opens on its first
  // box that may be typed into, not where the cursor was left the last time.
  if (!mShape.isList) {
    mFocused = 0;
    while (mFocused + 1 < boxCount() && !mEnabled[mFocused]) {
      ++mFocused;
    }
  }
  fillRows();
  enterBox(mFocused);
}

void InputPanel::redraw() {
  Change change(*this);
  readLineCount();
  fillRows();
  enterBox(mFocused);
}

void InputPanel::setBoxEnabled(int box, bool enabled) {
  Change change(*this);
  if (validBox(box)) {
    mEnabled[box] = enabled;
  }
}

void InputPanel::setAmountBox(int box, bool amount) {
  Change change(*this);
  if (validBox(box)) {
    mAmount[box] = amount;
  }
}

void InputPanel::setBoxText(int box, std::string text) {
  Change change(*this);
  if (validBox(box)) {
    mTexts[box] = std::move(text);
  }
}

void InputPanel::setChangeListener(std::function<void()> listener) {
  mListener = std::move(listener);
}

bool InputPanel::commitLine() {
  Change change(*this);
  return storeLine();
}

void InputPanel::focusGained(int box) {
  Change change(*this);
  if (mHoldFocus) {
    mHoldFocus = false;
    enterBox(mFocused);
    return;
  }
  // A view that skipped the lost-focus event must not carry typing to another line.
  const bool otherLine = (mOffset + clampBox(box)) / mShape.kind != currentLine() / mShape.kind;
  if (otherLine && mShared.edit == LineEdit::Changed && !leaveBox(mFocused)) {
    enterBox(mFocused);
    return;
  }
  enterBox(box);
}

void InputPanel::focusLost(int box) {
  Change change(*this);
  if (validBox(box) && !leaveBox(box)) {
    mHoldFocus = true;
  }
}

void InputPanel::textEdited(int box, std::string text) {
  Change change(*this);
  // Only the focused box takes typing; the view shows the box as it was otherwise.
  if (box != mFocused || !boxEnabled(box)) {
    return;
  }
  mTexts[box] = std::move(text);
  mShared.edit = LineEdit::Changed;
}

void InputPanel::keyDown(PanelKey key, bool shift) {
  switch (key) {
    case PanelKey::Escape:
      mHooks.closeWindow();
      return;
    case PanelKey::F2:
    case PanelKey::F3:
    case PanelKey::F4:
    case PanelKey::F5:
      mHooks.functionKey(key);
      return;
    default:
      break;
  }
  Change change(*this);
  switch (key) {
    case PanelKey::Enter:
      moveBy(enterDirection());
      break;
    case PanelKey::PageUp:
      page(-1);
      break;
    case PanelKey::PageDown:
      page(1);
      break;
    case PanelKey::Home:
      moveHomeEnd(false, shift);
      break;
    case PanelKey::End:
      moveHomeEnd(true, shift);
      break;
    case PanelKey::Left:
      moveBy(Direction::Left);
      break;
    case PanelKey::Up:
      moveBy(Direction::Up);
      break;
    case PanelKey::Right:
      moveBy(Direction::Right);
      break;
    case PanelKey::Down:
      moveBy(Direction::Down);
      break;
    default:
      break;
  }
}

void InputPanel::scrollBarChanged(int value) {
  Change change(*this);
  if (!mShape.isList) {
    return;
  }
  const int units = std::clamp(value, 0, scrollMaximum());
  scrollTo(std::min(units * scrollStep() * mShape.kind, maxOffset()));
}

void InputPanel::scrollTo(int offset) {
  if (offset == mOffset) {
    return;
  }
  // The line under the focused box changes: store it first.
  if (!leaveBox(mFocused)) {
    enterBox(mFocused);
    return;
  }
  goTo({mFocused, offset});
}

const std::string& InputPanel::boxText(int box) const {
  static const std::string none;
  return validBox(box) ? mTexts[box] : none;
}

bool InputPanel::boxEnabled(int box) const {
  return validBox(box) && mEnabled[box];
}

bool InputPanel::isAmountBox(int box) const {
  return validBox(box) && mAmount[box];
}

std::string InputPanel::labelText(int row) const {
  if (row < 0 || row >= mShape.visibleLines) {
    return {};
  }
  if (!mShape.isList) {
    return mHooks.detailLabel(row);
  }
  const int record = recordAt(mOffset + row * mShape.kind);
  return record <= mLineCount + 1 ? fmt::format("{:0{}}", record, kLabelDigits) : std::string();
}

int InputPanel::scrollStep() const {
  return mLineCount > kLongListLines ? kLongListStep : 1;
}

int InputPanel::scrollMaximum() const {
  return mShape.isList ? mLineCount / scrollStep() : 0;
}

int InputPanel::scrollLargeChange() const {
  if (mLineCount > kShortListLines) {
    // A page of visible lines, in scroll-bar units.
    return std::max(1, mShape.visibleLines / scrollStep());
  }
  return mLineCount >= 1 ? mLineCount : mShape.kind;
}

int InputPanel::scrollSmallChange() const {
  return kScrollSmallChange;
}

int InputPanel::scrollValue() const {
  if (!mShape.isList) {
    return 0;
  }
  return std::min(scrollMaximum(), mOffset / (mShape.kind * scrollStep()));
}

int InputPanel::clampBox(int box) const {
  return std::clamp(box, 0, boxCount() - 1);
}

// The last position the focus may reach: the add line's last box on lists.
int InputPanel::lastPosition() const {
  return mShape.isList ? mShape.kind * mLineCount + mShape.kind - 1 : boxCount() - 1;
}

// The list scrolls no further than showing the add line as its last row.
int InputPanel::maxOffset() const {
  if (!mShape.isList) {
    return 0;
  }
  return std::max(0, mShape.kind * (mLineCount + 1 - mShape.visibleLines));
}

void InputPanel::readLineCount() {
  mLineCount = std::clamp(mHooks.lineCount(), 0, kMaxLines);
  mOffset = std::clamp(rowStart(mOffset), 0, maxOffset());
}

void InputPanel::fillRows() {
  if (mShape.isList) {
    for (int row = 0; row < mShape.visibleLines; ++row) {
      fillListRow(row);
    }
    return;
  }
  std::vector<std::string> boxes(boxCount());
  mHooks.fillDetail(boxes);
  boxes.resize(boxCount());
  mTexts = std::move(boxes);
}

void InputPanel::fillListRow(int row) {
  const int record = recordAt(mOffset + row * mShape.kind);
  putRow(row, record <= mLineCount ? mHooks.fillListLine(record) : std::vector<std::string>());
}

// A rejected line goes back to what the owner holds.
void InputPanel::restoreRow(int row) {
  if (mShape.isList) {
    fillListRow(row);
    return;
  }
  std::vector<std::string> boxes(boxCount());
  mHooks.fillDetail(boxes);
  boxes.resize(boxCount());
  std::vector<std::string> line(boxes.begin() + row * mShape.kind,
                                boxes.begin() + (row + 1) * mShape.kind);
  putRow(row, std::move(line));
}

std::vector<std::string> InputPanel::rowTexts(int row) const {
  const auto first = mTexts.begin() + row * mShape.kind;
  return {first, first + mShape.kind};
}

void InputPanel::putRow(int row, std::vector<std::string> texts) {
  texts.resize(mShape.kind);
  std::move(texts.begin(), texts.end(), mTexts.begin() + row * mShape.kind);
}

// The focus rule: a box past the add line sends the focus back to the
// current line, or to the add line; a disabled box passes it upwards.
void InputPanel::enterBox(int box) {
  int focused = clampBox(box);
  if (mShape.isList && mOffset + focused > lastPosition()) {
    focused = mFocused;
    if (mOffset + focused > lastPosition()) {
      focused = clampBox(mShape.kind * mLineCount - mOffset);
    }
  }
  while (focused > 0 && !mEnabled[focused]) {
    --focused;
  }
  mFocused = focused;
  mHighlighted = focused;
}

// The lost-focus rule; false when the owner rejected the line.
bool InputPanel::leaveBox(int box) {
  if (isAmountBox(box)) {
    if (auto amount = formatCurrencyBox(mTexts[box])) {
      mTexts[box] = std::move(*amount);
    }
  }
  mHighlighted = kNoBox;
  return storeLine();
}

bool InputPanel::storeLine() {
  if (mShared.edit != LineEdit::Changed) {
    return true;
  }
  const int row = mFocused / mShape.kind;
  const int record = recordAt(currentLine());
  const auto texts = rowTexts(row);
  const bool adding = mShape.isList && record == mLineCount + 1;
  if (adding && allBlank(texts)) {
    mShared.edit = LineEdit::Clean;
    return true;
  }
  if (!mHooks.checkLine(record)) {
    mShared.edit = LineEdit::Rejected;
    restoreRow(row);
    return false;
  }
  if (adding) {
    mHooks.addListLine(texts);
  } else if (record <= mLineCount) {
    mHooks.storeListLine(record, texts);
  }
  mShared.edit = LineEdit::Clean;
  if (mShape.isList) {
    readLineCount();
    fillRows();
  }
  return true;
}

void InputPanel::moveBy(Direction direction) {
  if (!leaveBox(mFocused)) {
    enterBox(mFocused);
    return;
  }
  const Place landing = step(here(), direction, true);
  goTo(landing == here() ? here() : firstEnabled(landing, direction));
}

void InputPanel::moveHomeEnd(bool end, bool withinLine) {
  if (!leaveBox(mFocused)) {
    enterBox(mFocused);
    return;
  }
  const int k = mShape.kind;
  int position = 0;
  if (withinLine) {
    position = rowStart(currentLine()) + (end ? k - 1 : 0);
  } else if (end) {
    position = mShape.isList ? std::max(k * mLineCount, k) - 1 : boxCount() - 1;
  }
  goTo(firstEnabled(placeFor(position), end ? Direction::Left : Direction::Right));
}

// Page Down stops where the last page ends at the last record, Page Up at
// the top; the focused row stays.
void InputPanel::page(int pages) {
  if (!mShape.isList) {
    return;
  }
  const int pageBoxes = mShape.kind * mShape.visibleLines;
  int offset = std::max(0, mOffset - pageBoxes);
  if (pages > 0) {
    const int lastPage = std::max(0, mShape.kind * mLineCount - pageBoxes);
    offset = std::min(mOffset + pageBoxes, std::max(mOffset, lastPage));
  }
  scrollTo(offset);
}

void InputPanel::goTo(Place place) {
  const bool scrolled = place.offset != mOffset;
  mOffset = place.offset;
  if (scrolled) {
    fillRows();
  }
  enterBox(place.focused);
}

// One box in a direction; leaving the visible rows scrolls one line when
// allowed. Never past the add line.
InputPanel::Place InputPanel::step(Place from, Direction direction, bool mayScroll) const {
  const int k = mShape.kind;
  const bool canScrollDown = mayScroll && from.offset + k <= maxOffset();
  const bool canScrollUp = mayScroll && from.offset >= k;
  Place to = from;
  switch (direction) {
    case Direction::Down:
      if (to.focused + k < boxCount()) {
        to.focused += k;
      } else if (canScrollDown) {
        to.offset += k;
      }
      break;
    case Direction::Up:
      if (to.focused >= k) {
        to.focused -= k;
      } else if (canScrollUp) {
        to.offset -= k;
      }
      break;
    case Direction::Right:
      if (to.focused + 1 < boxCount()) {
        ++to.focused;
      } else if (canScrollDown) {
        to.offset += k;
        to.focused += 1 - k;
      }
      break;
    case Direction::Left:
      if (to.focused > 0) {
        --to.focused;
      } else if (canScrollUp) {
        to.offset -= k;
        to.focused = k - 1;
      }
      break;
  }
  return to.offset + to.focused > lastPosition() ? from : to;
}

// A move that lands on a disabled box goes on in its direction within the
// visible boxes, and turns back once it can go no further. Where no enabled
// box is found the focus stays.
InputPanel::Place InputPanel::firstEnabled(Place landing, Direction direction) const {
  Place place = landing;
  bool turned = false;
  for (int tries = 2 * boxCount() + 2; !enabledAt(place) && tries > 0; --tries) {
    const Place next = step(place, direction, false);
    if (next == place) {
      if (turned) {
        break;
      }
      turned = true;
      direction = direction == Direction::Down   ? Direction::Up
                  : direction == Direction::Up   ? Direction::Down
                  : direction == Direction::Left ? Direction::Right
                                                 : Direction::Left;
      continue;
    }
    place = next;
  }
  return enabledAt(place) ? place : here();
}

// Where the focus goes to show a position, scrolling as little as needed.
InputPanel::Place InputPanel::placeFor(int position) const {
  const int k = mShape.kind;
  const int target = std::clamp(position, 0, lastPosition());
  int offset = mOffset;
  if (target < offset) {
    offset = rowStart(target);
  } else if (target >= offset + boxCount()) {
    offset = rowStart(target) - k * (mShape.visibleLines - 1);
  }
  offset = std::clamp(offset, 0, maxOffset());
  return {target - offset, offset};
}

InputPanel::Direction InputPanel::enterDirection() const {
  if (contains(kEnterDownWindows, mShape.windowIndex)) {
    return Direction::Down;
  }
  if (contains(kEnterRightWindows, mShape.windowIndex)) {
    return Direction::Right;
  }
  return mShape.kind == 1 ? Direction::Down : Direction::Right;
}

}  // namespace lum
