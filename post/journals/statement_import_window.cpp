#include "post/journals/statement_import_window.h"

#include <fmt/core.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "panel/money.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "post/journals/open_journal.h"
#include "post/journals/statement_columns_window.h"
#include "post/journals/statement_rules_window.h"
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
  top->addWidget(mMapping);
  auto* setColumns = new QPushButton("Set C&olumns...", this);
  setColumns->setObjectName("SetColumns");
  connect(setColumns, &QPushButton::clicked, this, &StatementImportWindow::editColumns);
  top->addWidget(setColumns);
  auto* editRules = new QPushButton("&Rules...", this);
  editRules->setObjectName("EditRules");
  connect(editRules, &QPushButton::clicked, this, &StatementImportWindow::editRules);
  top->addWidget(editRules);
  // A bank account's columns, once kept, are those of the journal of its name.
  const JournalHeaderRecord header =
      session.file("Jnl").get<JournalHeaderRecord>(journal.journalNumber());
  mJournalName = std::string(trim(header.name));
  mIncome = trim(header.type) == "I";
  fillMappings(mJournalName);
  connect(mMapping, &QComboBox::currentIndexChanged, this, [this] {
    if (!mFile.empty()) {
      load(mFile);
    }
  });
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
  if (name.isEmpty()) {
    return false;
  }
  load(name.toStdString());
  return true;
}

std::optional<StatementMapping> StatementImportWindow::mappingFor(const std::string& text) {
  if (mMapping->currentIndex() <= 0) {
    return guessMapping(text);
  }
  return findMapping(statementFileText(mSession.ops(), statementMappingsFile(mSession)),
                     mMapping->currentText().toStdString());
}

void StatementImportWindow::fillMappings(const std::string& chosen) {
  const QSignalBlocker quiet(mMapping);
  mMapping->clear();
  mMapping->addItem("As the file says");
  for (const std::string& name :
       mappingNames(statementFileText(mSession.ops(), statementMappingsFile(mSession)))) {
    mMapping->addItem(QString::fromStdString(name));
  }
  const int found = mMapping->findText(QString::fromStdString(chosen), Qt::MatchFixedString);
  mMapping->setCurrentIndex(std::max(found, 0));
}

void StatementImportWindow::editColumns() {
  const std::string text = mFile.empty() ? "" : statementFileText(mSession.ops(), mFile);
  const std::string name =
      mMapping->currentIndex() > 0 ? mMapping->currentText().toStdString() : mJournalName;
  const StatementMapping mapping = mappingFor(text).value_or(StatementMapping{});
  StatementColumnsWindow window(mSession.prompter(), name, mapping, text, this);
  if (window.exec() != QDialog::Accepted) {
    return;
  }
  const auto file = statementMappingsFile(mSession);
  try {
    saveStatementFile(
        mSession, file,
        withMapping(statementFileText(mSession.ops(), file), window.name(), window.mapping()));
  } catch (const FileError& error) {
    mSession.prompter().message(error.what(), Icon::Exclamation);
    return;
  }
  fillMappings(window.name());
  if (!mFile.empty()) {
    load(mFile);
  }
}

void StatementImportWindow::editRules() {
  StatementRulesWindow window(mSession, mJournal.journal(), this);
  const int current = mTable->currentRow();
  if (current >= 0 && static_cast<std::size_t>(current) < mPlan.rows.size() &&
      mPlan.rows[static_cast<std::size_t>(current)].rule == nullptr) {
    const StatementLine& line = mPlan.rows[static_cast<std::size_t>(current)].line;
    window.addRuleFor(line.description, line.amount > Currency());
  }
  if (window.exec() == QDialog::Accepted && !mFile.empty()) {
    load(mFile);
  }
}

bool StatementImportWindow::load(const std::filesystem::path& file) {
  mFile = file;
  mFileLabel->setText(QString::fromStdString(file.filename().string()));
  mPlan = StatementPlan{};
  std::string problem;
  try {
    problem = plan(file);
  } catch (const FileError& error) {
    problem = error.what();
  }
  showPlan();
  if (!problem.empty()) {
    mSummary->setText(QString::fromStdString(problem));
    mSession.prompter().message("The statement cannot be imported: " + problem, Icon::Exclamation);
    return false;
  }
  return true;
}

std::string StatementImportWindow::plan(const std::filesystem::path& file) {
  const std::string text = statementFileText(mSession.ops(), file);
  StatementRead read;
  if (isOfxStatement(text)) {
    read = readOfxStatement(file);
  } else if (const auto mapping = mappingFor(text)) {
    read = readCsvStatement(text, *mapping);
  } else {
    read.problem = "its date and amount columns cannot be told: set them with Set Columns";
  }
  if (!read.problem.empty()) {
    return file.filename().string() + " " + read.problem;
  }
  StatementRules rules =
      parseStatementRules(statementFileText(mSession.ops(), statementRulesFile(mSession)));
  if (!rules.problem.empty()) {
    return statementRulesFile(mSession).filename().string() + " " + rules.problem;
  }
  mRules = std::move(rules.rules);
  mPlan = planStatement(mJournal.journal(), mIncome, read.lines, mRules);
  return "";
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
  QString summary = QString("%1 lines: %2 unmatched, %3 in the journal already")
                        .arg(mPlan.rows.size())
                        .arg(unmatched)
                        .arg(duplicates);
  for (const StatementRule* rule : mPlan.passedOver) {
    summary += QString("\n%1 %2").arg(
        QString::fromStdString(statementRulesFile(mSession).filename().string()),
        QString::fromStdString(passedOverNote(*rule)));
  }
  mSummary->setText(summary);
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
