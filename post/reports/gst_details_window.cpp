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
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/text.h"
#include "post/login/session.h"
#include "post/render/amount_text.h"
#include "post/reports/gst_trail_csv.h"
#include "post/reports/gst_trail_model.h"

namespace lum {
namespace {

QString shown(Currency amount) {
  const AmountText text = amountText(amount.roundedToCents(), AmountStyle::DollarsAndCents);
  return QString::fromStdString(text.negative ? text.text + ")" : text.text);
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
  mModel = new GstTrailModel(this);
  mTable = new QTableView(this);
  mTable->setObjectName("TrailRows");
  mTable->setModel(mModel);
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
  mTable->setSortingEnabled(false);
  if (mFigure) {
    FigureTrail figure = figureTrail(trail, figures, *mFigure);
    Currency sum;
    for (const FigureTrail::Share& share : figure.shares) {
      sum += share.amount;
    }
    const QString name = QString::fromStdString(figure.figure.name());
    mTitle->setText(
        QString("%1: %2").arg(QString::fromStdString(figure.figure.title()), shown(figure.value)));
    QString totals = QString("%1 rows: %2").arg(figure.shares.size()).arg(shown(sum));
    if (!figure.centsLeftOut.isZero()) {
      totals +=
          QString("    Cents left out of the whole dollars: %1").arg(shown(figure.centsLeftOut));
    }
    mTotals->setText(totals + QString("    %1: %2").arg(name, shown(figure.value)));
    mModel->showFigure(std::move(trail), std::move(figure));
  } else {
    mTitle->setText("Not counted: amounts, rows and journals the report left out");
    mTotals->setText(QString("%1 left out").arg(trail.notCounted.size()));
    mModel->showLeftOut(std::move(trail));
  }
  mTable->setSortingEnabled(true);
  mTable->sortByColumn(-1, Qt::AscendingOrder);  // as gathered: journal and row order
  mTable->resizeColumnsToContents();
  QApplication::restoreOverrideCursor();
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

void GstDetailsWindow::openRowAt(int line) {
  const int journal = mModel->journalAt(line);
  const int row = mModel->rowAt(line);
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
