#include "panel/input_panel_widget.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <optional>

#include "panel/input_panel.h"

namespace lum {
namespace {

constexpr int kBoxCharacters = 26;

const char* const kLabelName = "Label1";
const char* const kCaptionName = "Caption";
const char* const kBoxName = "InBox";
const char* const kScrollBarName = "VScroll1";
const char* const kIndexProperty = "index";
constexpr int kRowSpacing = 2;

std::optional<PanelKey> panelKeyOf(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return PanelKey::Enter;
    case Qt::Key_Escape:
      return PanelKey::Escape;
    case Qt::Key_PageUp:
      return PanelKey::PageUp;
    case Qt::Key_PageDown:
      return PanelKey::PageDown;
    case Qt::Key_Home:
      return PanelKey::Home;
    case Qt::Key_End:
      return PanelKey::End;
    case Qt::Key_Left:
      return PanelKey::Left;
    case Qt::Key_Up:
      return PanelKey::Up;
    case Qt::Key_Right:
      return PanelKey::Right;
    case Qt::Key_Down:
      return PanelKey::Down;
    case Qt::Key_F2:
      return PanelKey::F2;
    case Qt::Key_F3:
      return PanelKey::F3;
    case Qt::Key_F4:
      return PanelKey::F4;
    case Qt::Key_F5:
      return PanelKey::F5;
    default:
      return std::nullopt;
  }
}

// Focus that moves with the window (another window activated, a menu
// opened) comes back to the same box: it is neither a leave nor an entry.
bool isWindowFocusChange(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

InputPanelWidget::InputPanelWidget(InputPanel& panel, QWidget* parent)
    : QWidget(parent), mPanel(panel) {
  buildRows();
  listen();
}

InputPanelWidget::InputPanelWidget(InputPanel& panel, PanelArrangement arrangement, QWidget* parent)
    : QWidget(parent), mPanel(panel) {
  buildArranged(arrangement);
  listen();
}

void InputPanelWidget::listen() {
  mPanel.setChangeListener([this] {
    if (!mBusy) {
      refresh();
    }
  });
  display(false);
}

InputPanelWidget::~InputPanelWidget() {
  mPanel.setChangeListener({});
}

void InputPanelWidget::refresh() {
  display(focusIsInside());
}

void InputPanelWidget::focusCurrentBox() {
  display(true);
}

QLineEdit* InputPanelWidget::box(int index) const {
  return index >= 0 && index < static_cast<int>(mBoxes.size()) ? mBoxes[index] : nullptr;
}

void InputPanelWidget::buildRows() {
  const PanelSpec& shape = mPanel.shape();
  auto* grid = new QGridLayout(this);
  grid->setVerticalSpacing(kRowSpacing);
  for (int row = 0; row < shape.visibleLines; ++row) {
    auto* label = new QLabel(this);
    label->setObjectName(kLabelName);
    label->setProperty(kIndexProperty, row);
    label->setFixedWidth(shape.labelWidthTwips / kTwipsPerPixel);
    grid->addWidget(label, row, 0);
    mLabels.push_back(label);
    for (int column = 0; column < shape.kind; ++column) {
      grid->addWidget(makeBox(0), row, column + 1);
    }
    label->setBuddy(mBoxes[static_cast<std::size_t>(row * shape.kind)]);
  }
  if (shape.isList) {
    mScrollBar = new QScrollBar(Qt::Vertical, this);
    mScrollBar->setObjectName(kScrollBarName);
    // The keyboard stays in the boxes (Page Up and Page Down scroll).
    mScrollBar->setFocusPolicy(Qt::NoFocus);
    connect(mScrollBar, &QScrollBar::valueChanged, this,
            [this](int value) { forward([&] { mPanel.scrollBarChanged(value); }, true); });
    grid->addWidget(mScrollBar, 0, shape.kind + 1, shape.visibleLines, 1);
  }
  makePalettes();
}

void InputPanelWidget::buildArranged(const PanelArrangement& arrangement) {
  auto* grid = new QGridLayout(this);
  grid->setVerticalSpacing(kRowSpacing);
  for (int index = 0; index < mPanel.boxCount(); ++index) {
    const PanelBoxPlace place = static_cast<std::size_t>(index) < arrangement.boxes.size()
                                    ? arrangement.boxes[static_cast<std::size_t>(index)]
                                    : PanelBoxPlace{{index, 1, 1}, 0};
    grid->addWidget(makeBox(place.characters), place.cell.row, place.cell.column, 1,
                    place.cell.columnSpan);
  }
  for (const PanelCaption& caption : arrangement.captions) {
    auto* label = new QLabel(QString::fromStdString(caption.text), this);
    label->setObjectName(kCaptionName);
    if (QLineEdit* named = box(caption.box)) {
      label->setBuddy(named);
    } else {
      label->setAlignment(Qt::AlignBottom | Qt::AlignLeft);  // a column heading
    }
    grid->addWidget(label, caption.cell.row, caption.cell.column, 1, caption.cell.columnSpan);
  }
  if (arrangement.stretchColumn >= 0) {
    grid->setColumnStretch(arrangement.stretchColumn, 1);
  }
  grid->setRowStretch(grid->rowCount(), 1);  // the rows close together at the top
  makePalettes();
}

QLineEdit* InputPanelWidget::makeBox(int characters) {
  const int index = static_cast<int>(mBoxes.size());
  auto* edit = new QLineEdit(this);
  edit->setObjectName(kBoxName);
  const QFontMetrics metrics = edit->fontMetrics();
  if (characters > 0) {
    // A short field (numbers mostly): as wide as its longest value in
    // digits, with the box's margins, and no wider.
    edit->setFixedWidth(metrics.horizontalAdvance(QString(characters + 1, QChar('0'))) +
                        2 * metrics.averageCharWidth());
  } else {
    // Wide enough to read a name or an amount without scrolling inside the box.
    edit->setMinimumWidth(metrics.averageCharWidth() * kBoxCharacters);
  }
  edit->setProperty(kIndexProperty, index);
  edit->installEventFilter(this);
  connect(edit, &QLineEdit::textEdited, this, [this, index](const QString& text) {
    forward([&] { mPanel.textEdited(index, text.toStdString()); }, false);
  });
  mBoxes.push_back(edit);
  return edit;
}

// The focused box is tinted with the highlight colour: shaded grey, as the
// system shades a box that cannot be typed into, it would look disabled.
void InputPanelWidget::makePalettes() {
  mPlainPalette = mBoxes.front()->palette();
  mFocusPalette = mPlainPalette;
  const QColor base = mPlainPalette.color(QPalette::Active, QPalette::Base);
  const QColor highlight = mPlainPalette.color(QPalette::Active, QPalette::Highlight);
  const auto blend = [](int plain, int tint) { return (plain * 3 + tint) / 4; };
  const QColor tinted(blend(base.red(), highlight.red()), blend(base.green(), highlight.green()),
                      blend(base.blue(), highlight.blue()));
  mFocusPalette.setColor(QPalette::Active, QPalette::Base, tinted);
  mFocusPalette.setColor(QPalette::Inactive, QPalette::Base, tinted);
}

bool InputPanelWidget::eventFilter(QObject* watched, QEvent* event) {
  const int index = boxIndexOf(watched);
  if (index < 0) {
    return QWidget::eventFilter(watched, event);
  }
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      handleFocus(index, static_cast<const QFocusEvent&>(*event));
      return false;
    case QEvent::KeyPress:
      return handleKey(static_cast<const QKeyEvent&>(*event));
    default:
      return false;
  }
}

void InputPanelWidget::wheelEvent(QWheelEvent* event) {
  if (mScrollBar != nullptr) {
    QApplication::sendEvent(mScrollBar, event);
  }
}

int InputPanelWidget::boxIndexOf(QObject* object) const {
  for (std::size_t i = 0; i < mBoxes.size(); ++i) {
    if (mBoxes[i] == object) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void InputPanelWidget::handleFocus(int index, const QFocusEvent& event) {
  // The window losing or regaining the focus moves nothing, unless the
  // window came back through a click on another box than the panel's: the
  // click gave that box the focus while the window was not yet active.
  if (isWindowFocusChange(event.reason()) && (!event.gotFocus() || index == mPanel.focusedBox())) {
    return;
  }
  if (event.gotFocus()) {
    forward([&] { mPanel.focusGained(index); }, true);
  } else {
    forward([&] { mPanel.focusLost(index); }, false);
  }
}

bool InputPanelWidget::handleKey(const QKeyEvent& event) {
  const auto key = panelKeyOf(event.key());
  if (!key) {
    return false;
  }
  const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
  forward([&] { mPanel.keyDown(*key, shift); }, true);
  return true;
}

void InputPanelWidget::forward(const std::function<void()>& call, bool focusFollows) {
  if (mBusy) {
    return;
  }
  // The owner may close the window from inside the call.
  const QPointer<InputPanelWidget> self(this);
  mBusy = true;
  call();
  if (self.isNull()) {
    return;
  }
  mBusy = false;
  display(focusFollows);
}

void InputPanelWidget::display(bool focusFollows) {
  const bool wasBusy = mBusy;
  mBusy = true;
  showBoxes();
  showLabels();
  showScrollBar();
  QLineEdit* focused = box(mPanel.focusedBox());
  if (focusFollows && focused != nullptr && focused->isEnabled() && !focused->hasFocus()) {
    focused->setFocus(Qt::OtherFocusReason);
  }
  mBusy = wasBusy;
}

void InputPanelWidget::showBoxes() {
  for (std::size_t i = 0; i < mBoxes.size(); ++i) {
    const int index = static_cast<int>(i);
    QLineEdit* edit = mBoxes[i];
    const QString text = QString::fromStdString(mPanel.boxText(index));
    if (edit->text() != text) {
      edit->setText(text);
    }
    edit->setEnabled(mPanel.boxEnabled(index));
    edit->setPalette(mPanel.boxHighlighted(index) ? mFocusPalette : mPlainPalette);
    edit->setAlignment((mPanel.isAmountBox(index) ? Qt::AlignRight : Qt::AlignLeft) |
                       Qt::AlignVCenter);
  }
}

void InputPanelWidget::showLabels() {
  const auto kind = static_cast<std::size_t>(mPanel.shape().kind);
  for (std::size_t row = 0; row * kind < mBoxes.size(); ++row) {
    const QString text = QString::fromStdString(mPanel.labelText(static_cast<int>(row)));
    if (row < mLabels.size()) {
      mLabels[row]->setText(text);
    }
    for (std::size_t column = 0; column < kind; ++column) {
      mBoxes[row * kind + column]->setAccessibleName(text);
    }
  }
}

void InputPanelWidget::showScrollBar() {
  if (mScrollBar == nullptr) {
    return;
  }
  mScrollBar->setRange(0, mPanel.scrollMaximum());
  mScrollBar->setSingleStep(mPanel.scrollSmallChange());
  mScrollBar->setPageStep(mPanel.scrollLargeChange());
  mScrollBar->setValue(mPanel.scrollValue());
}

bool InputPanelWidget::focusIsInside() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && isAncestorOf(focus);
}

}  // namespace lum
