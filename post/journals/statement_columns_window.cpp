#include "post/journals/statement_columns_window.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/csv.h"
#include "platform/prompter.h"
#include "post/journals/statement_mappings.h"

namespace lum {
namespace {

constexpr std::size_t kPreviewLines = 6;

// The statement's first lines, a column each field, headed by its number.
QTableWidget* preview(std::string_view statement, QWidget* parent) {
  std::vector<CsvRecord> records = parseCsv(statement);
  records.resize(std::min(records.size(), kPreviewLines));
  std::size_t columns = 0;
  for (const CsvRecord& record : records) {
    columns = std::max(columns, record.fields.size());
  }
  auto* table =
      new QTableWidget(static_cast<int>(records.size()), static_cast<int>(columns), parent);
  table->setObjectName("Preview");
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setFocusPolicy(Qt::NoFocus);
  for (std::size_t r = 0; r < records.size(); ++r) {
    for (std::size_t c = 0; c < records[r].fields.size(); ++c) {
      table->setItem(static_cast<int>(r), static_cast<int>(c),
                     new QTableWidgetItem(QString::fromStdString(records[r].fields[c])));
    }
  }
  table->resizeColumnsToContents();
  return table;
}

}  // namespace

StatementColumnsWindow::StatementColumnsWindow(Prompter& prompter, const std::string& name,
                                               const StatementMapping& mapping,
                                               std::string_view statement, QWidget* parent)
    : QDialog(parent), mPrompter(prompter) {
  setObjectName("StatementColumns");
  setWindowTitle("Bank Account Columns");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  mName = new QLineEdit(QString::fromStdString(name), this);
  mName->setObjectName("BankAccount");
  form->addRow("Bank &account:", mName);
  const std::array<int, kFields> columns = {mapping.date,  mapping.description, mapping.amount,
                                            mapping.debit, mapping.credit,      mapping.balance};
  const std::array<const char*, kFields> labels = {"&Date column:",
                                                   "D&escription column:",
                                                   "A&mount column:",
                                                   "De&bit column (money out):",
                                                   "C&redit column (money in):",
                                                   "Ba&lance column:"};
  for (std::size_t f = 0; f < mColumns.size(); ++f) {
    auto* box = new QSpinBox(this);
    box->setRange(0, 99);
    box->setSpecialValueText("none");
    box->setValue(columns[f]);
    mColumns[f] = box;
    form->addRow(labels[f], box);
  }
  layout->addLayout(form);
  layout->addWidget(new QLabel("The statement's first lines, by column:", this));
  layout->addWidget(preview(statement, this), 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &StatementColumnsWindow::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  resize(640, 480);
}

std::string StatementColumnsWindow::name() const {
  return mName->text().trimmed().toStdString();
}

StatementMapping StatementColumnsWindow::mapping() const {
  const auto value = [this](Field field) { return columnBox(field)->value(); };
  return StatementMapping{value(kDate),  value(kDescription), value(kAmount),
                          value(kDebit), value(kCredit),      value(kBalance)};
}

void StatementColumnsWindow::accept() {
  std::string problem = mappingNameProblem(name());
  if (problem.empty()) {
    problem = mappingProblem(mapping());
  }
  if (!problem.empty()) {
    mPrompter.message(problem, Icon::Exclamation);
    return;
  }
  QDialog::accept();
}

}  // namespace lum
