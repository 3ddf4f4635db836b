#include "post/reports/gst_details_window.h"

#include <fmt/core.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/text.h"
#include "post/login/session.h"
#include "post/render/amount_text.h"
#include "post/reports/gst_trail_csv.h"

namespace lum {
namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kJournalRole = Qt::UserRole + 1;
constexpr int kRowRole = Qt::UserRole + 2;

QString shown(Currency amount) {
  const AmountText text = amountText(amount.roundedToCents(), AmountStyle::DollarsAndCents);
  return QString::fromStdString(text.negative ? text.text + ")" : text.text);
}

QStandardItem* textItem(const std::string& text) {
  auto* item = new QStandardItem(QString::fromStdString(text));
  item->setData(QString::fromStdString(text), kSortRole);
  return item;
}

QStandardItem* numberItem(double sortValue, const QString& text) {
  auto* item = new QStandardItem(text);
  item->setData(sortValue, kSortRole);
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

QStandardItem* amountItem(Currency amount) {
  return numberItem(amount.toDouble(), shown(amount));
}

// The cells every line starts with: journal, row, date, particulars, ref, account.
QList<QStandardItem*> rowItems(const GstTrail& trail, const GstTrailRow& row, int column) {
  QList<QStandardItem*> items = {
      numberItem(row.journal, QString::number(row.journal)),
      numberItem(row.row, row.row == 0 ? QString() : QString::number(row.row)),
      textItem(row.date),
      textItem(row.particulars),
      textItem(row.reference),
      textItem(std::string(trail.accountOf(row, column)))};
  items[0]->setData(row.journal, kJournalRole);
  items[0]->setData(row.row, kRowRole);
  return items;
}

QStringList rowHeadings() {
  return {"Journal", "Row", "Date", "Particulars", "Ref", "Account", "Amount"};
}

}  // namespace

GstDetailsWindow::GstDetailsWindow(Session& session, std::string reportName, Actions actions,
                                   QWidget* parent)
    : QWidget(parent),
      mSession(session),
      mReportName(std::move(reportName)),
      mActions(std::move(actions)) {
  setObjectName("GstDetails");
  setWindowTitle("GST Report Details");

  mFigures = new QListWidget(this);
  mFigures->setObjectName("Figures");
  for (const TrailFigure figure : trailFigures()) {
    const QString title = QString::fromStdString(figure.title());
    mFigures->addItem(figure.kind == TrailFigure::Kind::Column
                          ? QString("Column %1 - %2").arg(figure.number).arg(title)
                          : title);
  }
  mFigures->addItem("Not counted");
  mFigures->setMinimumWidth(mFigures->sizeHintForColumn(0) + 24);

  mTitle = new QLabel(this);
  mTitle->setObjectName("FigureTitle");
  QFont bold = mTitle->font();
  bold.setBold(true);
  mTitle->setFont(bold);
  mModel = new QStandardItemModel(this);
  mSorted = new QSortFilterProxyModel(this);
  mSorted->setSourceModel(mModel);
  mSorted->setSortRole(kSortRole);
  mTable = new QTableView(this);
  mTable->setObjectName("TrailRows");
  mTable->setModel(mSorted);
  mTable->setSortingEnabled(true);
  mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  mTable->setSelectionMode(QAbstractItemView::SingleSelection);
  mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  mTable->verticalHeader()->hide();
  mTable->horizontalHeader()->setStretchLastSection(true);
  mTable->setToolTip("Double click or Enter: open the journal at the row");
  mTable->installEventFilter(this);
  mTotals = new QLabel(this);
  mTotals->setObjectName("Totals");
  mTotals->setFont(bold);
  mTotals->setAlignment(Qt::AlignRight);

  auto* right = new QWidget(this);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(mTitle);
  rightLayout->addWidget(mTable, 1);
  rightLayout->addWidget(mTotals);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(mFigures);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 1);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](const char* name, const QString& caption, const QString& tip,
                          std::function<void()> action) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setToolTip(tip);
    connect(b, &QPushButton::clicked, this, std::move(action));
    buttons->addWidget(b);
  };
  buttons->addStretch(1);
  button("SaveFigure", "&Save as CSV...", "The rows of the figure on view, for working papers",
         [this] { saveCsv(false); });
  button("SaveAll", "Save &All as CSV...", "Every amount of the report and what it added to",
         [this] { saveCsv(true); });
  button("Close", "&Close", "Back to the report (Esc)", [this] {
    if (mActions.close) {
      mActions.close();
    }
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);

  connect(mFigures, &QListWidget::currentRowChanged, this, [this](int item) { choose(item); });
  connect(mTable, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { openRowAt(index.row()); });
  mFigures->setCurrentRow(0);
  mFigures->setFocus();
}

void GstDetailsWindow::choose(int item) {
  if (item < 0 || item > kNotCounted) {
    return;
  }
  if (mFigures->currentRow() != item) {
    mFigures->setCurrentRow(item);  // comes back here
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  GstTrail trail;
  if (item == kNotCounted) {
    mFigure.reset();
    trail.keepLines = false;
  } else {
    mFigure = trailFigures()[static_cast<std::size_t>(item)];
    trail.figure = *mFigure;
    trail.keepLeftOut = false;
  }
  const GstFigures figures = gatherGstFigures(mSession, {}, &trail);
  if (mFigure) {
    showLines(trail, figureTrail(trail, figures, *mFigure));
  } else {
    showLeftOut(trail);
  }
  QApplication::restoreOverrideCursor();
}

void GstDetailsWindow::showLines(const GstTrail& trail, const FigureTrail& figure) {
  mTable->setSortingEnabled(false);
  mModel->clear();
  QStringList headings = rowHeadings();
  const QString name = QString::fromStdString(figure.figure.name());
  headings << "Route"
           << "Share" << name;
  mModel->setHorizontalHeaderLabels(headings);
  Currency sum;
  for (const FigureTrail::Share& share : figure.shares) {
    const GstTrailLine& line = trail.lines[share.line];
    QList<QStandardItem*> items = rowItems(trail, trail.rowOf(line), line.column);
    items << amountItem(line.amount) << textItem(std::string(routeName(line.route)))
          << numberItem(line.share, line.share != 0 ? QString::number(line.share) : QString())
          << amountItem(share.amount);
    mModel->appendRow(items);
    sum += share.amount;
  }
  mTitle->setText(
      QString("%1: %2").arg(QString::fromStdString(figure.figure.title()), shown(figure.value)));
  QString totals = QString("%1 rows: %2").arg(figure.shares.size()).arg(shown(sum));
  if (!figure.centsLeftOut.isZero()) {
    totals +=
        QString("    Cents left out of the whole dollars: %1").arg(shown(figure.centsLeftOut));
  }
  totals += QString("    %1: %2").arg(name, shown(figure.value));
  mTotals->setText(totals);
  mTable->setSortingEnabled(true);
  mTable->sortByColumn(-1, Qt::AscendingOrder);  // as gathered: journal and row order
  mTable->resizeColumnsToContents();
}

void GstDetailsWindow::showLeftOut(const GstTrail& trail) {
  mTable->setSortingEnabled(false);
  mModel->clear();
  QStringList headings = rowHeadings();
  headings << "Reason";
  mModel->setHorizontalHeaderLabels(headings);
  for (const GstLeftOut& out : trail.notCounted) {
    QList<QStandardItem*> items =
        rowItems(trail, trail.rowOf(out), out.why == GstLeftOut::Why::AccountType ? out.column : 0);
    items << (out.amount.isZero() ? textItem("") : amountItem(out.amount))
          << textItem(trail.reasonOf(out));
    mModel->appendRow(items);
  }
  mTitle->setText("Not counted: amounts, rows and journals the report left out");
  mTotals->setText(QString("%1 left out").arg(trail.notCounted.size()));
  mTable->setSortingEnabled(true);
  mTable->sortByColumn(-1, Qt::AscendingOrder);
  mTable->resizeColumnsToContents();
}

void GstDetailsWindow::refresh() {
  if (mJournalOpened) {
    mJournalOpened = false;
    choose(mFigures->currentRow());
    mTable->setFocus();
  }
}

QString GstDetailsWindow::totalsText() const {
  return mTotals->text();
}

void GstDetailsWindow::openRowAt(int viewRow) {
  const QModelIndex first = mSorted->mapToSource(mSorted->index(viewRow, 0));
  const int journal = mModel->data(first, kJournalRole).toInt();
  const int row = mModel->data(first, kRowRole).toInt();
  if (journal > 0 && row > 0 && mActions.openRow) {
    mJournalOpened = true;
    mActions.openRow(journal, row);
  }
}

void GstDetailsWindow::saveCsv(bool wholeReport) {
  const TrailFigure figure = wholeReport || !mFigure ? TrailFigure{} : *mFigure;
  const std::string offered =
      mReportName + (wholeReport || mFigure ? " trail " + figure.name() : " not counted") + ".csv";
  const QString name =
      mFileChooser ? mFileChooser(QString::fromStdString(offered))
                   : QFileDialog::getSaveFileName(
                         this, "Save the trail as CSV",
                         QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                             .filePath(QString::fromStdString(offered)),
                         "CSV files (*.csv)");
  if (name.isEmpty()) {
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    GstTrail trail;
    trail.figure = figure;
    const GstFigures figures = gatherGstFigures(mSession, {}, &trail);
    const std::string csv = trailCsv(trail, figureTrail(trail, figures, figure));
    mSession.ops().writeFile(name.toStdString(),
                             {reinterpret_cast<const std::byte*>(csv.data()), csv.size()});
  } catch (const std::exception& error) {
    QApplication::restoreOverrideCursor();
    mSession.prompter().message(
        "The file " + name.toStdString() + " could not be written: " + error.what(),
        Icon::Critical);
    return;
  }
  QApplication::restoreOverrideCursor();
  if (mActions.status) {
    mActions.status("Saved " + name.toStdString());
  }
}

bool GstDetailsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == mTable && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        mTable->currentIndex().isValid()) {
      openRowAt(mTable->currentIndex().row());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void GstDetailsWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && mActions.close) {
    mActions.close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace lum
