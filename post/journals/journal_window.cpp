#include "post/journals/journal_window.h"

#include <fmt/core.h>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "panel/money.h"
#include "platform/scope_guard.h"
#include "platform/text.h"
#include "post/journals/column_heading.h"
#include "post/journals/flex_grid_widget.h"
#include "post/journals/journal_checks.h"
#include "post/journals/open_journal.h"

namespace lum {

// The open journal as the grid's source.
class JournalWindow::Source final : public FlexGridSource {
 public:
  explicit Source(OpenJournal& journal) : mJournal(journal), mHeadings(journal.headings()) {}

  // The accounts' names are read afresh: the account details may change them.

  int rowCount() const override { return Journal::kMaxRows; }
  int columnCount() const override { return Journal::kMaxColumn + 1; }
  std::string heading(int column) const override {
    const Journal& journal = mJournal.editor().journal();
    if (journal.isAnalysisColumn(column)) {
      return columnHeading(journal.column(column).name);
    }
    return headingTip(column);
  }
  std::string headingTip(int column) const override {
    const Journal& journal = mJournal.editor().journal();
    if (journal.isAnalysisColumn(column)) {
      return std::string(trim(journal.column(column).name));
    }
    return column < static_cast<int>(mHeadings.size()) ? mHeadings[static_cast<std::size_t>(column)]
                                                       : std::string();
  }
  std::string cellText(int row, int column) const override {
    return mJournal.editor().cellText(row, column);
  }
  bool rightAligned(int column) const override { return column >= JournalEditor::kRefColumn; }

 private:
  OpenJournal& mJournal;
  std::vector<std::string> mHeadings;
};

namespace {

std::string ratio(Currency cost, Currency sales) {
  return fmt::format("{:05.2f}%", 100.0 * cost.toDouble() / sales.toDouble());
}

void captioned(QGridLayout* layout, const char* caption, int row, int column) {
  layout->addWidget(new QLabel(caption), row, column);
}

}  // namespace

JournalWindow::JournalWindow(Session& session, std::shared_ptr<OpenJournal> journal,
                             Actions actions, Runner run, QWidget* parent)
    : QWidget(parent),
      mSession(session),
      mJournal(std::move(journal)),
      mActions(std::move(actions)),
      mRun(std::move(run)),
      mSource(std::make_unique<Source>(*mJournal)) {
  setObjectName("LUMFormContent");
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Edit Box"));
  mEditBox = new QLineEdit(this);
  mEditBox->setObjectName("Text1");
  top->addWidget(mEditBox, 3);
  top->addWidget(new QLabel("Row Bal"));
  mRowBalance = new QLineEdit(this);
  mRowBalance->setObjectName("Text2");
  mRowBalance->setReadOnly(true);
  mRowBalance->setAlignment(Qt::AlignRight);
  top->addWidget(mRowBalance, 1);
  top->addWidget(new QLabel("Column"));
  mColumnLabel = new QLabel(this);
  mColumnLabel->setObjectName("Label15");
  top->addWidget(mColumnLabel);
  top->addWidget(new QLabel("Row"));
  mRowLabel = new QLabel(this);
  mRowLabel->setObjectName("Label16");
  top->addWidget(mRowLabel);
  layout->addLayout(top);

  mGrid = new FlexGrid(*mSource, this);
  layout->addWidget(mGrid, 1);

  // The totals boxes stand under the columns they total (placeTotals).
  mTotalsStrip = new QWidget(this);
  for (std::size_t i = 0; i < mTotals.size(); ++i) {
    mTotals[i] = new QLineEdit(mTotalsStrip);
    mTotals[i]->setObjectName("InBox");
    mTotals[i]->setProperty("index", static_cast<int>(i));
    mTotals[i]->setReadOnly(true);
    mTotals[i]->setFocusPolicy(Qt::NoFocus);
    mTotals[i]->setAlignment(Qt::AlignRight);
  }
  mTotalsCaption = new QLabel("Totals", mTotalsStrip);
  mTotalsStrip->setFixedHeight(mTotals[0]->sizeHint().height());
  layout->addWidget(mTotalsStrip);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(buildBudgetFrame());
  auto* commands = new QWidget(this);
  new QGridLayout(commands);
  addCommand(commands, "Command1", "&Abandon Journal", [this] {
    if (mJournal->abandon()) {
      mActions.close();
    }
  });
  addCommand(commands, "Command2", "&Save Journal", [this] {
    if (const auto saved = mJournal->checkAndSave()) {
      mSession.host().showStatus(saved->text());
      mActions.close();
    } else {
      display();
    }
  });
  addCommand(commands, "Command3", "Account Names",
             [this] { mGrid->setFixedRows(1 - mGrid->fixedRows()); });
  addCommand(commands, "Command4", "&Delete Journal", [this] {
    if (mJournal->deleteJournal()) {
      mActions.reopen();
    }
  });
  addCommand(commands, "Command5", "Journal Re Set", [this] { recheck(false); });
  addCommand(commands, "Command6", "Quick Totals", [this] { recheck(true); });
  addCommand(commands, "Command7", "Ins Col", [this] { mJournal->editor().insertColumn(); });
  addCommand(commands, "Command8", "Del Col", [this] { mJournal->editor().deleteColumn(); });
  addCommand(commands, "Command9", "Ins Row", [this] { mJournal->editor().insertRow(); });
  addCommand(commands, "Command10", "Del Row", [this] { mJournal->editor().deleteRow(); });
  addCommand(commands, "Command11", "Invoice", [this] {
    if (mJournal->editor().mayStartInvoice() && mActions.invoice) {
      mActions.invoice();
    }
  });
  addCommand(commands, "Command12", "Bank S&tatement...", [this] {
    if (mActions.importStatement) {
      mActions.importStatement();
    }
  });
  bottom->addWidget(commands, 1);
  layout->addLayout(bottom);

  connect(mGrid, &FlexGrid::cellLeft, this,
          [this](int, int) { mRun([this] { mJournal->editor().leaveCell(); }); });
  connect(mGrid, &FlexGrid::cellEntered, this, [this](int row, int column) {
    mRun([this, row, column] { mJournal->editor().enterCell(row, column); });
    display();
  });
  connect(mGrid, &FlexGrid::keyDown, this, [this](int code, bool shift) {
    mRun([this, code, shift] { mJournal->editor().keyDown(code, shift); });
    display();
  });
  connect(mGrid, &FlexGrid::leftColChanged, this, [this](int) { showTotals(); });
  connect(mGrid, &FlexGrid::columnsMoved, this, [this] { placeTotals(); });
  connect(mGrid, &FlexGrid::cellDoubleClicked, this, [this](int, int) {
    if (mActions.accountDetails) {
      mRun(mActions.accountDetails);
    }
  });
  connect(mEditBox, &QLineEdit::textEdited, this, [this](const QString& text) {
    mJournal->editor().editBoxChanged(text.toStdString());
    mGrid->refresh();
  });
  connect(mEditBox, &QLineEdit::returnPressed, this, [this] {
    mRun([this] { mJournal->editor().keyDown(JournalEditor::kEnter, false); });
    display();
    mGrid->setFocus();
  });

  resize(1000, 600);
  display();
}

// Hidden while its members are alive: Qt would hide a shown window's
// children only after they are gone, and the grid would then ask them for
// its headings and tell them of its columns.
JournalWindow::~JournalWindow() {
  hide();
}

void JournalWindow::addCommand(QWidget* strip, const char* name, const char* caption,
                               std::function<void()> action) {
  auto* grid = static_cast<QGridLayout*>(strip->layout());
  auto* button = new QPushButton(caption, strip);
  button->setObjectName(name);
  button->setAutoDefault(false);
  const int index = grid->count();
  grid->addWidget(button, index / 6, index % 6);
  connect(button, &QPushButton::clicked, this, [this, action] {
    mRun(action);
    display();
  });
}

QWidget* JournalWindow::buildBudgetFrame() {
  auto* frame = new QGroupBox("Budget / Actual ", this);
  frame->setObjectName("Frame1");
  auto* grid = new QGridLayout(frame);
  captioned(grid, "Budget", 0, 1);
  captioned(grid, "Actual", 0, 2);
  captioned(grid, "Sales", 1, 0);
  captioned(grid, "Cost of Sales", 2, 0);
  captioned(grid, "Cost/Sales Ratio", 3, 0);
  // Label2, Label3, Label4: budget; Label6, Label7, Label8: actual.
  const char* names[] = {"Label2", "Label3", "Label4", "Label6", "Label7", "Label8"};
  for (std::size_t i = 0; i < mBudget.size(); ++i) {
    mBudget[i] = new QLabel(frame);
    mBudget[i]->setObjectName(names[i]);
    mBudget[i]->setAlignment(Qt::AlignRight);
    grid->addWidget(mBudget[i], static_cast<int>(i % 3) + 1, static_cast<int>(i / 3) + 1);
  }
  return frame;
}

void JournalWindow::display() {
  const JournalEditor& editor = mJournal->editor();
  const Journal& journal = editor.journal();
  mGrid->refresh();
  mGrid->setFixedCols(editor.fixedColumns());
  if (mGrid->leftCol() < editor.leftColumn()) {
    mGrid->setLeftCol(editor.leftColumn());
  }
  mGrid->setCell(editor.row(), editor.column());
  {
    const QSignalBlocker blocker(mEditBox);
    mEditBox->setText(QString::fromStdString(editor.cellText(editor.row(), editor.column())));
  }
  mRowBalance->setText(QString::fromStdString(formatMoney(journal.am(editor.row(), 0))));
  mColumnLabel->setText(QString::number(editor.column()));
  mRowLabel->setText(QString::number(editor.row()));

  showTotals();

  const BudgetFrame& budget = journal.budget;
  const auto whole = [](Currency amount) {
    return QString::fromStdString(fmt::format("${}", std::llround(amount.toDouble())));
  };
  mBudget[0]->setText(whole(budget.budgetedSales));
  mBudget[1]->setText(whole(budget.budgetedCostOfSales));
  if (!budget.budgetedSales.isZero()) {
    mBudget[2]->setText(
        QString::fromStdString(ratio(budget.budgetedCostOfSales, budget.budgetedSales)));
  }
  mBudget[3]->setText(whole(budget.actualSales));
  mBudget[4]->setText(whole(budget.actualCostOfSales));
  if (!budget.actualSales.isZero()) {
    mBudget[5]->setText(
        QString::fromStdString(ratio(budget.actualCostOfSales, budget.actualSales)));
  }
}

void JournalWindow::showTotals() {
  JournalEditor& editor = mJournal->editor();
  editor.scrolledTo(mGrid->leftCol());
  const std::array<int, JournalEditor::kTotalsBoxes> columns = editor.totalsColumns();
  for (std::size_t i = 0; i < mTotals.size(); ++i) {
    mTotals[i]->setText(
        columns[i] == JournalEditor::kNoColumn
            ? QString()
            : QString::fromStdString(formatMoney(editor.journal().am(0, columns[i]))));
  }
  placeTotals();
}

// Each box under its column, named after it; a box whose column is not
// wholly in sight is hidden rather than shown under another column.
void JournalWindow::placeTotals() {
  const std::array<int, JournalEditor::kTotalsBoxes> columns = mJournal->editor().totalsColumns();
  const int height = mTotalsStrip->height();
  int firstBox = mTotalsStrip->width();
  for (std::size_t i = 0; i < mTotals.size(); ++i) {
    QLineEdit* box = mTotals[i];
    const QRect shown =
        columns[i] == JournalEditor::kNoColumn ? QRect() : mGrid->shownColumn(columns[i]);
    if (shown.isNull()) {
      box->hide();
      continue;
    }
    const QPoint left = mTotalsStrip->mapFrom(this, mGrid->mapTo(this, shown.topLeft()));
    box->setGeometry(left.x(), 0, shown.width(), height);
    const QString name =
        "Total of " + QString::fromStdString(mSource->headingTip(columns[i])).trimmed();
    box->setToolTip(name);
    box->setAccessibleName(name);
    box->show();
    firstBox = std::min(firstBox, left.x());
  }
  // "Totals" under the grid's first columns, unless a box stands there.
  const int captionLeft =
      mTotalsStrip->mapFrom(this, mGrid->mapTo(this, mGrid->viewport()->pos())).x() + 4;
  mTotalsCaption->adjustSize();
  mTotalsCaption->move(captionLeft, (height - mTotalsCaption->height()) / 2);
  mTotalsCaption->setVisible(captionLeft + mTotalsCaption->width() < firstBox);
}

void JournalWindow::recheck(bool quick) {
  if (mActions.progressOpen) {
    mActions.progressOpen();
  }
  const ScopeGuard closeProgress([this] {
    if (mActions.progressClose) {
      mActions.progressClose();
    }
  });
  recheckJournal(mJournal->journal(), mSession.prompter(), quick, mActions.progress);
}

// Placed once it has its size: before, keeping the first empty row in sight
// of a window only a few rows high would scroll a short journal out of view.
void JournalWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!mShown) {
    mShown = true;
    mGrid->setTopRow(mJournal->editor().openingTopRow());
    if (mStartRow > 0) {
      startAt(mStartRow);
    }
  }
}

void JournalWindow::startAt(int row) {
  mStartRow = row;
  if (!mShown) {
    return;  // placed once the window has its size
  }
  // A few rows above it stay in sight, for the rows around it.
  mGrid->setTopRow(std::max(1, row - 3));
  mGrid->setCell(row, 0);
  mRun([this, row] { mJournal->editor().enterCell(row, 0); });
  display();
}

void JournalWindow::focusGrid() {
  display();  // a window above may have changed the journal (account details)
  mGrid->setFocus();
}

}  // namespace lum
