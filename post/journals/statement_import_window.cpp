#include "post/journals/statement_import_window.h"

#include <fmt/core.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "panel/money.h"
#include "platform/text.h"
#include "post/journals/open_journal.h"
#include "post/login/journal_records.h"
#include "post/login/session.h"

namespace lum {
namespace {

enum Column : int { kAdd, kDate, kParticulars, kRef, kGst, kAmount, kAccount, kRule, kColumns };

QTableWidgetItem* item(const std::string& text, bool right = false) {
  auto* cell = new QTableWidgetItem(QString::fromStdString(text));
  cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (right) {
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  return cell;
}

}  // namespace

StatementImportWindow::StatementImportWindow(Session& session, OpenJournal& journal,
                                             QWidget* parent)
    : QDialog(parent), mSession(session), mJournal(journal) {
  setObjectName("StatementImport");
  setWindowTitle("Import Bank Statement");
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* choose = new QPushButton("&File...", this);
  choose->setObjectName("ChooseFile");
  connect(choose, &QPushButton::clicked, this, [this] { chooseFile(); });
  top->addWidget(choose);
  mFileLabel = new QLabel("No statement chosen", this);
  top->addWidget(mFileLabel, 1);
  auto* columns = new QLabel("&Columns:", this);
  top->addWidget(columns);
  mMapping = new QComboBox(this);
  columns->setBuddy(mMapping);
  mMapping->setObjectName("Mapping");
  mMapping->addItem("As the file says");
  // The bank accounts whose columns are kept, by name.
  const std::string mappings = statementFileText(session.ops(), statementMappingsFile(session));
  for (const std::string_view line : splitTrimmed(mappings, '\n')) {
    const auto fields = splitTrimmed(line, '|');
    if (!line.empty() && line.front() != '#' && fields.size() == 7) {
      mMapping->addItem(
          QString::fromUtf8(fields[0].data(), static_cast<qsizetype>(fields[0].size())));
    }
  }
  connect(mMapping, &QComboBox::currentIndexChanged, this, [this] {
    if (!mFile.empty()) {
      load(mFile);
    }
  });
  top->addWidget(mMapping);
  layout->addLayout(top);

  mTable = new QTableWidget(0, kColumns, this);
  mTable->setObjectName("StatementRows");
  mTable->setHorizontalHeaderLabels(
      {"Add", "Date", "Particulars", "Ref", "GST", "Amount", "Account", "Rule"});
  mTable->verticalHeader()->hide();
  mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  mTable->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(mTable, 1);
  mSummary = new QLabel(this);
  mSummary->setObjectName("Summary");
  layout->addWidget(mSummary);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &StatementImportWindow::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(900, 520);
}

bool StatementImportWindow::chooseFile() {
  const QString name = mFileChooser
                           ? mFileChooser()
                           : QFileDialog::getOpenFileName(
                                 this, "Choose the bank statement",
                                 QStandardPaths::writableLocation(QStandardPaths::DownloadLocation),
                                 "Bank statements (*.csv *.ofx *.qfx);;All files (*)");
  return !name.isEmpty() && load(name.toStdString());
}

std::optional<StatementMapping> StatementImportWindow::mappingFor(const std::string& text) {
  if (mMapping->currentIndex() <= 0) {
    return guessMapping(text);
  }
  return findMapping(statementFileText(mSession.ops(), statementMappingsFile(mSession)),
                     mMapping->currentText().toStdString());
}

bool StatementImportWindow::load(const std::filesystem::path& file) {
  mFile = file;
  mFileLabel->setText(QString::fromStdString(file.filename().string()));
  mPlan = StatementPlan{};
  const std::string text = statementFileText(mSession.ops(), file);
  StatementRead read;
  if (isOfxStatement(text)) {
    read = readOfxStatement(file);
  } else if (const auto mapping = mappingFor(text)) {
    read = readCsvStatement(text, *mapping);
  } else {
    read.problem = "its date and amount columns cannot be told: choose the bank account's columns";
  }
  StatementRules rules =
      parseStatementRules(statementFileText(mSession.ops(), statementRulesFile(mSession)));
  std::string problem;
  if (!read.problem.empty()) {
    problem = file.filename().string() + " " + read.problem;
  } else if (!rules.problem.empty()) {
    problem = statementRulesFile(mSession).filename().string() + " " + rules.problem;
  } else {
    mRules = std::move(rules.rules);
    const std::string kind(
        trim(mSession.file("Jnl").get<JournalHeaderRecord>(mJournal.journalNumber()).type));
    mPlan = planStatement(mJournal.journal(), kind == "I", read.lines, mRules);
    problem = mPlan.problem;
  }
  showPlan();
  if (!problem.empty()) {
    mSession.prompter().message("The statement cannot be imported: " + problem, Icon::Exclamation);
    return false;
  }
  return true;
}

void StatementImportWindow::showPlan() {
  const Journal& journal = mJournal.journal();
  mTable->setRowCount(static_cast<int>(mPlan.rows.size()));
  int unmatched = 0;
  int duplicates = 0;
  for (std::size_t n = 0; n < mPlan.rows.size(); ++n) {
    const StatementRow& row = mPlan.rows[n];
    const int r = static_cast<int>(n);
    auto* add = new QTableWidgetItem;
    add->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    add->setCheckState(row.duplicate ? Qt::Unchecked : Qt::Checked);
    if (row.duplicate) {
      add->setToolTip("Already in the journal: same date, amount and particulars");
      ++duplicates;
    }
    mTable->setItem(r, kAdd, add);
    mTable->setItem(r, kDate, item(row.date));
    mTable->setItem(r, kParticulars, item(row.particulars));
    mTable->setItem(r, kRef, item(row.reference));
    mTable->setItem(r, kGst, item(row.gst));
    mTable->setItem(r, kAmount, item(formatMoney(row.amount), true));
    const bool matched = row.rule != nullptr;
    unmatched += matched ? 0 : 1;
    mTable->setItem(
        r, kAccount,
        item(matched ? std::string(trim(journal.column(row.analysisColumn).name)) : "unmatched"));
    mTable->setItem(
        r, kRule,
        item(matched ? fmt::format("line {}: {}", row.rule->line, row.rule->text) : std::string()));
  }
  mTable->resizeColumnsToContents();
  mSummary->setText(QString("%1 lines: %2 unmatched, %3 in the journal already")
                        .arg(mPlan.rows.size())
                        .arg(unmatched)
                        .arg(duplicates));
}

QString StatementImportWindow::summary() const {
  return mSummary->text();
}

void StatementImportWindow::accept() {
  std::vector<TypedRow> rows;
  for (std::size_t n = 0; n < mPlan.rows.size(); ++n) {
    if (mTable->item(static_cast<int>(n), kAdd)->checkState() == Qt::Checked) {
      rows.push_back(mPlan.rows[n].typed);
    }
  }
  const EditorContext context = typingContext(mSession);
  // A trial on a copy first: a refused line leaves the journal as it was.
  Journal trial = mJournal.journal();
  const TypingOutcome tried = typeRows(trial, context, rows, false);
  if (!tried.typing.empty()) {
    std::string told;
    for (const TypingProblem& problem : tried.typing) {
      told += fmt::format("Line {}: {}\n", problem.line, problem.message);
    }
    mSession.prompter().message("Nothing was added:\n" + told, Icon::Exclamation);
    return;
  }
  typeRows(mJournal.journal(), context, rows, false);
  QDialog::accept();
}

}  // namespace lum
