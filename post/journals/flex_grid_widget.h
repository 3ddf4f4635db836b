#pragma once

#include <QTableView>
#include <functional>
#include <string>
#include <vector>

class QAbstractTableModel;

namespace lum {

// Where a FlexGrid takes its cells from; rows and columns from 0, row 0
// being the heading row.
class FlexGridSource {
 public:
  virtual ~FlexGridSource() = default;
  virtual int rowCount() const = 0;  // transaction rows, without the heading row
  virtual int columnCount() const = 0;
  // A heading may hold a line break: the heading row is then two lines high.
  virtual std::string heading(int column) const = 0;
  // The heading's tooltip: the column's whole name.
  virtual std::string headingTip(int column) const { return heading(column); }
  virtual std::string cellText(int row, int column) const = 0;  // row from 1
  virtual bool rightAligned(int column) const = 0;
  virtual bool centred(int /*column*/) const { return false; }
};

// The journal and invoice grid: a table view over a source, with a current
// cell (Row, Col from 1 and 0) and the events of the old grid control: cell
// entered, cell left, key down (as a Windows key code and Shift) and double
// click. Moving the cell by program raises no events.
class FlexGrid final : public QTableView {
  Q_OBJECT

 public:
  explicit FlexGrid(FlexGridSource& source, QWidget* parent = nullptr);
  ~FlexGrid() override;

  int row() const;
  int col() const;
  void setCell(int row, int column);
  // The first row in sight below the headings (from 1).
  void setTopRow(int row);
  // The source changed: show it again.
  void refresh();

  // The heading row shown (1) or not (0).
  int fixedRows() const;
  void setFixedRows(int rows);
  // Columns 0 to FixedCols - 1 stay in sight while the others scroll under
  // them; 0 scrolls every column.
  int fixedCols() const { return mFixedCols; }
  void setFixedCols(int columns);
  // The first scrolling column in sight.
  int leftCol() const;
  void setLeftCol(int column);
  // Where a column stands on screen sideways, in this widget's coordinates
  // (a frozen one over the others): null when it is not wholly in sight.
  QRect shownColumn(int column) const;

  struct WindowsKey {
    int code = 0;  // 0: a key the editor has no use for
    bool shift = false;
  };
  // The Windows key code of a key press and its Shift state.
  static WindowsKey windowsKey(const QKeyEvent& event);

 signals:
  void cellEntered(int row, int column);
  void cellLeft(int row, int column);
  void keyDown(int keyCode, bool shift);
  void cellDoubleClicked(int row, int column);
  void leftColChanged(int column);
  // The columns moved or changed width on screen (scrolled, resized).
  void columnsMoved();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  void updateGeometries() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Model;
  int frozenWidth() const;
  void placeFrozenView();
  // With frozen columns, the scrolling ones stop at a column's edge: none
  // stands half under the frozen ones.
  void snapToColumn(int value);
  // The columns as wide as their headings.
  void fitHeadings();

  Model* mModel;
  // The frozen columns: a second view over the same cells and selection,
  // laid over the left edge of this one.
  QTableView* mFrozen;
  int mFixedCols = 0;
  bool mGuard = false;  // moves made by program raise no events
  int mLastScroll = 0;
  std::vector<std::string> mHeadings;  // as last fitted
};

}  // namespace lum
