#include "post/journals/statement_rules_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/errors.h"
#include "platform/text.h"
#include "post/journals/journal.h"
#include "post/journals/statement_import.h"
#include "post/login/session.h"

namespace lum {
namespace {

// A cell picked from a list; an editable one also takes what is typed.
class ChoiceDelegate final : public QStyledItemDelegate {
 public:
  ChoiceDelegate(QStringList choices, bool editable, QObject* parent)
      : QStyledItemDelegate(parent), mChoices(std::move(choices)), mEditable(editable) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex&) const override {
    auto* box = new QComboBox(parent);
    box->addItems(mChoices);
    box->setEditable(mEditable);
    return box;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* box = static_cast<QComboBox*>(editor);
    const QString text = index.data().toString();
    const int found = box->findText(text, Qt::MatchFixedString);
    if (found >= 0) {
      box->setCurrentIndex(found);
    } else {
      box->setEditText(text);
    }
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText());
  }

 private:
  QStringList mChoices;
  bool mEditable;
};

}  // namespace

StatementRulesWindow::StatementRulesWindow(Session& session, const Journal& journal,
                                           QWidget* parent)
    : QDialog(parent), mSession(session) {
  setObjectName("StatementRules");
  setWindowTitle("Statement Rules");
  auto* layout = new QVBoxLayout(this);
  auto* about = new QLabel(
      "The first rule that matches a statement line fills its row. Text is found in the "
      "line's description; Amount is a figure or a range (100..200, ..200, 100..).",
      this);
  about->setWordWrap(true);
  layout->addWidget(about);
  auto* rows = new QHBoxLayout;
  mTable = new QTableWidget(0, kColumns, this);
  mTable->setObjectName("Rules");
  mTable->setHorizontalHeaderLabels({"Text", "Amount", "Sign", "Account", "GST", "Particulars"});
  mTable->horizontalHeader()->setStretchLastSection(true);
  QStringList accounts;
  for (int c = journal.lastFixedColumn() + 1; c <= Journal::kMaxColumn; ++c) {
    if (const std::string_view name = trim(journal.column(c).name); !name.empty()) {
      accounts << QString::fromStdString(std::string(name));
    }
  }
  mTable->setItemDelegateForColumn(kSign, new ChoiceDelegate({"", "+", "-"}, false, this));
  mTable->setItemDelegateForColumn(kAccount, new ChoiceDelegate(accounts, true, this));
  mTable->setItemDelegateForColumn(kGst, new ChoiceDelegate({"", "Y", "N"}, false, this));
  rows->addWidget(mTable, 1);

  auto* side = new QVBoxLayout;
  const auto button = [&](const char* text, const char* name, auto slot) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    side->addWidget(b);
  };
  button("&Add Rule", "AddRule", [this] {
    addRow({});
    mTable->setCurrentCell(mTable->rowCount() - 1, kText);
    mTable->editItem(mTable->currentItem());
  });
  button("&Delete Rule", "DeleteRule", [this] {
    if (mTable->currentRow() >= 0) {
      mTable->removeRow(mTable->currentRow());
    }
  });
  button("Move &Up", "MoveUp", [this] { moveCurrent(-1); });
  button("Move Do&wn", "MoveDown", [this] { moveCurrent(1); });
  side->addStretch();
  rows->addLayout(side);
  layout->addLayout(rows, 1);

  for (const auto& fields :
       statementRuleFields(statementFileText(session.ops(), statementRulesFile(session)))) {
    addRow(fields);
  }
  mTable->resizeColumnsToContents();
  // Room for a line's description and an account's name as they are typed.
  mTable->setColumnWidth(kText, std::max(mTable->columnWidth(kText), 240));
  mTable->setColumnWidth(kAccount, std::max(mTable->columnWidth(kAccount), 160));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &StatementRulesWindow::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(860, 440);
}

void StatementRulesWindow::addRow(const std::vector<std::string>& cells) {
  const int row = mTable->rowCount();
  mTable->insertRow(row);
  for (int c = 0; c < kColumns; ++c) {
    const auto k = static_cast<std::size_t>(c);
    mTable->setItem(row, c,
                    new QTableWidgetItem(QString::fromStdString(k < cells.size() ? cells[k] : "")));
  }
}

void StatementRulesWindow::addRuleFor(const std::string& description, bool moneyIn) {
  addRow({description, "", moneyIn ? "+" : "-"});
  mTable->setCurrentCell(mTable->rowCount() - 1, kAccount);
}

void StatementRulesWindow::moveCurrent(int by) {
  const int from = mTable->currentRow();
  const int to = from + by;
  if (from < 0 || to < 0 || to >= mTable->rowCount()) {
    return;
  }
  for (int c = 0; c < kColumns; ++c) {
    QTableWidgetItem* moving = mTable->takeItem(from, c);
    mTable->setItem(from, c, mTable->takeItem(to, c));
    mTable->setItem(to, c, moving);
  }
  mTable->setCurrentCell(to, mTable->currentColumn());
}

std::string StatementRulesWindow::rulesText() const {
  std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(mTable->rowCount()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (int c = 0; c < kColumns; ++c) {
      rows[r].push_back(mTable->item(static_cast<int>(r), c)->text().trimmed().toStdString());
    }
  }
  return statementRuleLines(rows);
}

void StatementRulesWindow::accept() {
  const StatementRules rules = parseStatementRules(rulesText());
  if (!rules.problem.empty()) {
    mTable->setCurrentCell(rules.problemLine - 1, kText);
    mSession.prompter().message("The rules are not saved: " + rules.problem, Icon::Exclamation);
    return;
  }
  try {
    saveStatementFile(mSession, statementRulesFile(mSession), statementRulesText(rules.rules));
  } catch (const FileError& error) {
    mSession.prompter().message(error.what(), Icon::Exclamation);
    return;
  }
  QDialog::accept();
}

}  // namespace lum
