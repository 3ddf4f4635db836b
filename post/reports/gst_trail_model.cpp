#include "post/reports/gst_trail_model.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "post/render/amount_text.h"

namespace lum {
namespace {

// The columns every line starts with; a figure's lines go on with Route,
// Share and the figure's own, the amounts left out with Reason.
enum Column : int { kJournal, kRow, kDate, kParticulars, kRef, kAccount, kAmount, kRoute };
constexpr int kShare = kRoute + 1;
constexpr int kFigureShare = kRoute + 2;
constexpr int kReason = kRoute;

QString shown(Currency amount) {
  const AmountText text = amountText(amount.roundedToCents(), AmountStyle::DollarsAndCents);
  return QString::fromStdString(text.negative ? text.text + ")" : text.text);
}

QString text(std::string_view value) {
  return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

// "dd/mm/yy" as yymmdd, for sorting by date; anything else after the dates.
int dateKey(const std::string& date) {
  const auto digits = [&](std::size_t at) {
    return at + 1 < date.size() && std::isdigit(static_cast<unsigned char>(date[at])) != 0 &&
                   std::isdigit(static_cast<unsigned char>(date[at + 1])) != 0
               ? (date[at] - '0') * 10 + (date[at + 1] - '0')
               : -1;
  };
  const int day = digits(0);
  const int month = digits(3);
  const int year = digits(6);
  return day < 0 || month < 0 || year < 0 ? 1'000'000 : year * 10000 + month * 100 + day;
}

}  // namespace

void GstTrailModel::showFigure(GstTrail trail, FigureTrail figure) {
  beginResetModel();
  mTrail = std::move(trail);
  mFigure = std::move(figure);
  mLeftOut = false;
  mOrder.resize(mFigure.shares.size());
  std::iota(mOrder.begin(), mOrder.end(), 0U);
  endResetModel();
}

void GstTrailModel::showLeftOut(GstTrail trail) {
  beginResetModel();
  mTrail = std::move(trail);
  mFigure = FigureTrail{};
  mLeftOut = true;
  mOrder.resize(mTrail.notCounted.size());
  std::iota(mOrder.begin(), mOrder.end(), 0U);
  endResetModel();
}

const GstTrailRow& GstTrailModel::rowOfLine(int line) const {
  const std::uint32_t item = mOrder[static_cast<std::size_t>(line)];
  return mLeftOut ? mTrail.rowOf(mTrail.notCounted[item])
                  : mTrail.rowOf(mTrail.lines[mFigure.shares[item].line]);
}

int GstTrailModel::journalAt(int line) const {
  return line >= 0 && line < rowCount() ? rowOfLine(line).journal : 0;
}

int GstTrailModel::rowAt(int line) const {
  return line >= 0 && line < rowCount() ? rowOfLine(line).row : 0;
}

int GstTrailModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(mOrder.size());
}

int GstTrailModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : mLeftOut ? kReason + 1 : kFigureShare + 1;
}

QVariant GstTrailModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
    return {};
  }
  static const char* const kHeadings[] = {"Journal", "Row",    "Date",  "Particulars", "Ref",
                                          "Account", "Amount", "Route", "Share"};
  if (mLeftOut && section == kReason) {
    return QString("Reason");
  }
  if (section == kFigureShare) {
    return QString::fromStdString(mFigure.figure.name());
  }
  return section >= 0 && section < kFigureShare ? QString(kHeadings[section]) : QVariant();
}

QVariant GstTrailModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) {
    return {};
  }
  const int column = index.column();
  if (role == Qt::TextAlignmentRole) {
    const bool number = column == kJournal || column == kRow || column == kAmount ||
                        (!mLeftOut && (column == kShare || column == kFigureShare));
    return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
  }
  if (role != Qt::DisplayRole) {
    return {};
  }
  return cell(mOrder[static_cast<std::size_t>(index.row())], column);
}

QVariant GstTrailModel::cell(std::size_t item, int column) const {
  const GstLeftOut* out = mLeftOut ? &mTrail.notCounted[item] : nullptr;
  const GstTrailLine* line = mLeftOut ? nullptr : &mTrail.lines[mFigure.shares[item].line];
  const GstTrailRow& row = out != nullptr ? mTrail.rowOf(*out) : mTrail.rowOf(*line);
  const int account =
      out != nullptr ? (out->why == GstLeftOut::Why::AccountType ? out->column : 0) : line->column;
  switch (column) {
    case kJournal:
      return row.journal;
    case kRow:
      return row.row == 0 ? QVariant() : QVariant(row.row);
    case kDate:
      return text(row.date);
    case kParticulars:
      return text(row.particulars);
    case kRef:
      return text(row.reference);
    case kAccount:
      return text(mTrail.accountOf(row, account));
    case kAmount:
      return out != nullptr && out->amount.isZero()
                 ? QVariant()
                 : shown(out != nullptr ? out->amount : line->amount);
    default:
      break;
  }
  if (out != nullptr) {
    return column == kReason ? text(mTrail.reasonOf(*out)) : QVariant();
  }
  switch (column) {
    case kRoute:
      return text(routeName(line->route));
    case kShare:
      return line->share != 0 ? QString::number(line->share) : QString();
    case kFigureShare:
      return shown(mFigure.shares[item].amount);
    default:
      return {};
  }
}

bool GstTrailModel::before(std::size_t a, std::size_t b, int column) const {
  const auto rowOf = [&](std::size_t item) -> const GstTrailRow& {
    return mLeftOut ? mTrail.rowOf(mTrail.notCounted[item])
                    : mTrail.rowOf(mTrail.lines[mFigure.shares[item].line]);
  };
  const auto amountOf = [&](std::size_t item) {
    return mLeftOut ? mTrail.notCounted[item].amount
                    : mTrail.lines[mFigure.shares[item].line].amount;
  };
  const GstTrailRow& x = rowOf(a);
  const GstTrailRow& y = rowOf(b);
  switch (column) {
    case kJournal:
      return x.journal < y.journal;
    case kRow:
      return x.row < y.row;
    case kDate:
      return dateKey(x.date) < dateKey(y.date);
    case kParticulars:
      return x.particulars < y.particulars;
    case kRef:
      return x.reference < y.reference;
    case kAmount:
      return amountOf(a) < amountOf(b);
    default:
      break;
  }
  // The rest compare as they are shown, or by the figures behind them.
  if (!mLeftOut && column == kFigureShare) {
    return mFigure.shares[a].amount < mFigure.shares[b].amount;
  }
  if (!mLeftOut && column == kShare) {
    return mTrail.lines[mFigure.shares[a].line].share < mTrail.lines[mFigure.shares[b].line].share;
  }
  return cell(a, column).toString() < cell(b, column).toString();
}

void GstTrailModel::sort(int column, Qt::SortOrder order) {
  beginResetModel();
  std::iota(mOrder.begin(), mOrder.end(), 0U);
  if (column >= 0 && column < columnCount()) {
    // Stable, so that equal ones stay in journal and row order.
    std::stable_sort(mOrder.begin(), mOrder.end(), [&](std::uint32_t a, std::uint32_t b) {
      return order == Qt::AscendingOrder ? before(a, b, column) : before(b, a, column);
    });
  }
  endResetModel();
}

}  // namespace lum
