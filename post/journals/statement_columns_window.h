#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <string_view>

#include "post/journals/bank_statement.h"

class QLineEdit;
class QSpinBox;

namespace lum {

class Prompter;

// "Bank Account Columns": which column of a bank's CSV holds the date,
// description, amount (or debit and credit) and balance, kept under the
// bank account's name. The statement's first lines are shown under their
// column numbers to pick from.
class StatementColumnsWindow final : public QDialog {
  Q_OBJECT

 public:
  StatementColumnsWindow(Prompter& prompter, const std::string& name,
                         const StatementMapping& mapping, std::string_view statement,
                         QWidget* parent = nullptr);

  std::string name() const;
  StatementMapping mapping() const;
  QLineEdit* nameEdit() const { return mName; }
  QSpinBox* columnBox(int field) const { return mColumns.at(static_cast<std::size_t>(field)); }
  // OK: a name and a mapping that can read a statement, else told.
  void accept() override;

  // The fields in the order of columnBox.
  enum Field : int { kDate, kDescription, kAmount, kDebit, kCredit, kBalance, kFields };

 private:
  Prompter& mPrompter;
  QLineEdit* mName;
  std::array<QSpinBox*, kFields> mColumns{};
};

}  // namespace lum
