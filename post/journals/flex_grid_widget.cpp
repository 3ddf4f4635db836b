#include "post/journals/flex_grid_widget.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace lum {

class FlexGrid::Model final : public QAbstractTableModel {
 public:
  explicit Model(FlexGridSource& source, QObject* parent)
      : QAbstractTableModel(parent), mSource(source) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : mSource.rowCount();
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : mSource.columnCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role == Qt::DisplayRole) {
      return QString::fromStdString(mSource.cellText(index.row() + 1, index.column()));
    }
    if (role == Qt::TextAlignmentRole) {
      const int column = index.column();
      const Qt::Alignment sideways = mSource.centred(column)        ? Qt::AlignHCenter
                                     : mSource.rightAligned(column) ? Qt::AlignRight
                                                                    : Qt::AlignLeft;
      return QVariant::fromValue(Qt::AlignVCenter | sideways);
    }
    return {};
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole) {
      const std::string tip = mSource.headingTip(section);
      return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
    }
    if (role != Qt::DisplayRole) {
      return {};
    }
    return orientation == Qt::Horizontal
               ? QVariant(QString::fromStdString(mSource.heading(section)))
               : QVariant(section + 1);
  }
  const FlexGridSource& source() const { return mSource; }
  void changed() {
    beginResetModel();
    endResetModel();
  }

 private:
  FlexGridSource& mSource;
};

FlexGrid::FlexGrid(FlexGridSource& source, QWidget* parent)
    : QTableView(parent), mModel(new Model(source, this)), mFrozen(new QTableView(this)) {
  setObjectName("Grid");
  setModel(mModel);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);  // typing goes through the editor's rules
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setDefaultSectionSize(fontMetrics().averageCharWidth() * 12);
  setColumnWidth(1, fontMetrics().averageCharWidth() * 30);

  mFrozen->setObjectName("FrozenColumns");
  mFrozen->setFrameShape(QFrame::NoFrame);  // its cells stand exactly over the grid's
  mFrozen->setModel(mModel);
  mFrozen->setSelectionModel(selectionModel());
  mFrozen->setSelectionMode(QAbstractItemView::SingleSelection);
  mFrozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
  mFrozen->setFocusPolicy(Qt::NoFocus);
  mFrozen->verticalHeader()->hide();
  mFrozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
  mFrozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  mFrozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mFrozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mFrozen->viewport()->installEventFilter(this);  // its double clicks are the grid's
  mFrozen->hide();
  viewport()->stackUnder(mFrozen);

  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int column, int, int width) {
            mFrozen->setColumnWidth(column, width);
            placeFrozenView();
            emit columnsMoved();
          });
  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, mFrozen->verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(mFrozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(horizontalScrollBar(), &QAbstractSlider::valueChanged, this, [this](int value) {
    snapToColumn(value);
    if (horizontalScrollBar()->value() == value) {  // else the snapped value has told it
      emit leftColChanged(leftCol());
      emit columnsMoved();
    }
  });
  fitHeadings();
}

FlexGrid::~FlexGrid() = default;

int FlexGrid::row() const {
  return currentIndex().row() + 1;
}
int FlexGrid::col() const {
  return currentIndex().column();
}

void FlexGrid::setCell(int row, int column) {
  mGuard = true;
  setCurrentIndex(mModel->index(row - 1, column));
  scrollTo(currentIndex());
  mGuard = false;
}

void FlexGrid::setTopRow(int row) {
  verticalScrollBar()->setValue(std::clamp(row, 1, mModel->rowCount({})) - 1);
}

void FlexGrid::refresh() {
  const int r = row();
  const int c = col();
  mModel->changed();
  fitHeadings();
  setCell(std::max(r, 1), std::max(c, 0));
}

void FlexGrid::fitHeadings() {
  const int columns = mModel->columnCount({});
  std::vector<std::string> headings;
  headings.reserve(static_cast<std::size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    headings.push_back(mModel->source().heading(c));
  }
  if (headings == mHeadings) {
    return;
  }
  mHeadings = std::move(headings);
  // Only ever wider: a width the user gave a column stays.
  for (int c = 0; c < columns; ++c) {
    const int needed = horizontalHeader()->sectionSizeHint(c);
    if (needed > columnWidth(c)) {
      setColumnWidth(c, needed);
    }
  }
  // Two-line headings: the frozen columns' heading row as high as the grid's.
  updateGeometries();
}

int FlexGrid::fixedRows() const {
  return horizontalHeader()->isHidden() ? 0 : 1;
}

void FlexGrid::setFixedRows(int rows) {
  horizontalHeader()->setVisible(rows > 0);
  mFrozen->horizontalHeader()->setVisible(rows > 0);
  placeFrozenView();
}

void FlexGrid::setFixedCols(int columns) {
  columns = std::clamp(columns, 0, mModel->columnCount({}));
  if (columns == mFixedCols) {
    return;
  }
  mFixedCols = columns;
  for (int c = 0; c < mModel->columnCount({}); ++c) {
    mFrozen->setColumnHidden(c, c >= mFixedCols);
    mFrozen->setColumnWidth(c, columnWidth(c));
  }
  mFrozen->setVisible(mFixedCols > 0);
  updateGeometries();     // the scrolling range ends at a column's edge
  setLeftCol(leftCol());  // nothing scrolls out of sight under the frozen columns
  emit columnsMoved();
}

int FlexGrid::frozenWidth() const {
  return mFixedCols > 0 ? horizontalHeader()->sectionPosition(mFixedCols) : 0;
}

int FlexGrid::leftCol() const {
  const int edge = frozenWidth();
  const int column = columnAt(edge);
  if (column < 0) {
    return mFixedCols;
  }
  // A column partly under the frozen ones is not in sight.
  return columnViewportPosition(column) < edge ? column + 1 : column;
}

void FlexGrid::setLeftCol(int column) {
  column = std::clamp(column, mFixedCols, std::max(mFixedCols, mModel->columnCount({}) - 1));
  horizontalScrollBar()->setValue(horizontalHeader()->sectionPosition(column) - frozenWidth());
}

QRect FlexGrid::shownColumn(int column) const {
  if (column < 0 || column >= mModel->columnCount({}) || isColumnHidden(column)) {
    return {};
  }
  const int width = columnWidth(column);
  // A frozen column stands where it would with nothing scrolled.
  const int left = column < mFixedCols ? horizontalHeader()->sectionPosition(column)
                                       : columnViewportPosition(column);
  if (left < (column < mFixedCols ? 0 : frozenWidth()) || left + width > viewport()->width()) {
    return {};
  }
  return {viewport()->x() + left, viewport()->y(), width, viewport()->height()};
}

void FlexGrid::placeFrozenView() {
  if (mFixedCols == 0) {
    return;
  }
  const int headingHeight = horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height();
  mFrozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
  mFrozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
  mFrozen->setGeometry(viewport()->x(), viewport()->y() - headingHeight, frozenWidth(),
                       viewport()->height() + headingHeight);
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  placeFrozenView();
  emit columnsMoved();
}

void FlexGrid::updateGeometries() {
  QTableView::updateGeometries();
  if (mFixedCols > 0) {
    // The last scrolled position puts a column's left edge at the frozen
    // ones' right edge, the last column wholly in sight.
    QScrollBar* bar = horizontalScrollBar();
    const int edge = frozenWidth();
    const int columns = mModel->columnCount({});
    int maximum = bar->maximum();
    for (int c = mFixedCols; c < columns; ++c) {
      const int start = horizontalHeader()->sectionPosition(c) - edge;
      if (start >= bar->maximum() || c == columns - 1) {
        maximum = start;
        break;
      }
    }
    bar->setMaximum(std::max(maximum, 0));
  }
  placeFrozenView();
  emit columnsMoved();
}

void FlexGrid::snapToColumn(int value) {
  const int previous = mLastScroll;
  mLastScroll = value;
  if (mFixedCols == 0) {
    return;
  }
  const QHeaderView* header = horizontalHeader();
  const int edge = frozenWidth();
  const int at = value + edge;  // where the frozen columns end, among the scrolled ones
  int column = mFixedCols;
  while (column + 1 < mModel->columnCount({}) && header->sectionPosition(column + 1) <= at) {
    ++column;
  }
  const int start = header->sectionPosition(column);
  if (start == at) {
    return;
  }
  const int end = start + header->sectionSize(column);
  // Dragged: the nearer edge; stepped: on in the direction of the step.
  const bool forward =
      horizontalScrollBar()->isSliderDown() ? at - start > end - at : value > previous;
  horizontalScrollBar()->setValue((forward ? end : start) - edge);
}

void FlexGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid() || index.column() >= mFixedCols) {
    QTableView::scrollTo(index, hint);
    // Not under the frozen columns either.
    if (index.isValid() && mFixedCols > 0) {
      const int hidden = frozenWidth() - columnViewportPosition(index.column());
      if (hidden > 0) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
      }
    }
    return;
  }
  // A frozen cell is always in sight sideways: only its row needs showing.
  QTableView::scrollTo(mModel->index(index.row(), leftCol()), hint);
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mFrozen->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QModelIndex index = mFrozen->indexAt(mouse->position().toPoint());
    if (index.isValid()) {
      emit cellDoubleClicked(index.row() + 1, index.column());
    }
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (mGuard) {
    return;
  }
  if (previous.isValid()) {
    emit cellLeft(previous.row() + 1, previous.column());
  }
  if (current.isValid()) {
    emit cellEntered(current.row() + 1, current.column());
  }
}

FlexGrid::WindowsKey FlexGrid::windowsKey(const QKeyEvent& event) {
  const int key = event.key();
  const bool shiftHeld = (event.modifiers() & Qt::ShiftModifier) != 0;
  if ((event.modifiers() & Qt::KeypadModifier) != 0) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
      return {96 + (key - Qt::Key_0), false};
    }
    static const std::pair<int, int> kPad[] = {
        {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Comma, 108}, {Qt::Key_Minus, 109},
        {Qt::Key_Period, 110},   {Qt::Key_Slash, 111}, {Qt::Key_Enter, 13}};
    for (const auto& [qtKey, code] : kPad) {
      if (qtKey == key) {
        return {code, false};
      }
    }
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    const bool upper = !event.text().isEmpty() && event.text().at(0).isUpper();
    return {key, upper};
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    return {key, false};
  }
  // The key of each character, and whether Shift makes it.
  struct Character {
    int qtKey;
    int code;
    bool shift;
  };
  const Character kCharacters[] = {{Qt::Key_ParenRight, '0', true},
                                   {Qt::Key_Exclam, '1', true},
                                   {Qt::Key_At, '2', true},
                                   {Qt::Key_NumberSign, '3', true},
                                   {Qt::Key_Dollar, '4', true},
                                   {Qt::Key_Percent, '5', true},
                                   {Qt::Key_AsciiCircum, '6', true},
                                   {Qt::Key_Ampersand, '7', true},
                                   {Qt::Key_Asterisk, '8', true},
                                   {Qt::Key_ParenLeft, '9', true},
                                   {Qt::Key_QuoteLeft, 192, false},
                                   {Qt::Key_AsciiTilde, 192, true},
                                   {Qt::Key_Minus, 189, false},
                                   {Qt::Key_Underscore, 189, true},
                                   {Qt::Key_Equal, 187, false},
                                   {Qt::Key_Plus, 187, true},
                                   {Qt::Key_BracketLeft, 219, false},
                                   {Qt::Key_BraceLeft, 219, true},
                                   {Qt::Key_BracketRight, 221, false},
                                   {Qt::Key_BraceRight, 221, true},
                                   {Qt::Key_Semicolon, 186, false},
                                   {Qt::Key_Colon, 186, true},
                                   {Qt::Key_Apostrophe, 222, false},
                                   {Qt::Key_QuoteDbl, 222, true},
                                   {Qt::Key_Comma, 188, false},
                                   {Qt::Key_Less, 188, true},
                                   {Qt::Key_Period, 190, false},
                                   {Qt::Key_Greater, 190, true},
                                   {Qt::Key_Slash, 191, false},
                                   {Qt::Key_Question, 191, true},
                                   {Qt::Key_Backslash, 220, false},
                                   {Qt::Key_Bar, 220, true},
                                   {Qt::Key_Space, 32, false},
                                   {Qt::Key_Return, 13, false},
                                   {Qt::Key_Enter, 13, false},
                                   {Qt::Key_Escape, 27, false},
                                   {Qt::Key_Delete, 46, false},
                                   {Qt::Key_Backspace, 8, false},
                                   {Qt::Key_Insert, 45, false},
                                   {Qt::Key_F2, 113, shiftHeld},
                                   {Qt::Key_F3, 114, shiftHeld},
                                   {Qt::Key_F4, 115, shiftHeld},
                                   {Qt::Key_F5, 116, shiftHeld}};
  for (const Character& character : kCharacters) {
    if (character.qtKey == key) {
      return {character.code, character.shift};
    }
  }
  return {};
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
  const WindowsKey key = windowsKey(*event);
  if (key.code == 0) {
    QTableView::keyPressEvent(event);  // arrows, Page Up/Down, Home/End move the cell
    return;
  }
  emit keyDown(key.code, key.shift);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid()) {
    emit cellDoubleClicked(index.row() + 1, index.column());
  }
}

}  // namespace lum
