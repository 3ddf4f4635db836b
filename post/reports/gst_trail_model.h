#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "post/reports/gst_trail.h"

namespace lum {

// The lines of a figure's trail, or the amounts left out, as a table the
// details window shows and sorts. The cells are made when they are shown
// and sorting moves indexes only, so a trail of millions of lines stays
// quick.
class GstTrailModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void showFigure(GstTrail trail, FigureTrail figure);
  void showLeftOut(GstTrail trail);
  // The journal and row of a line as shown now; 0 for a journal's own line.
  int journalAt(int line) const;
  int rowAt(int line) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Column -1: the order they were gathered in (journal, row, column).
  void sort(int column, Qt::SortOrder order) override;

 private:
  const GstTrailRow& rowOfLine(int line) const;
  QVariant cell(std::size_t item, int column) const;
  // Orders two items by a column; false when they are equal there.
  bool before(std::size_t a, std::size_t b, int column) const;

  GstTrail mTrail;
  FigureTrail mFigure;
  bool mLeftOut = false;
  std::vector<std::uint32_t> mOrder;  // shares, or the amounts left out, as shown
};

}  // namespace lum
