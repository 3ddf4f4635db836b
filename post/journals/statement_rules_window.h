#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QTableWidget;

namespace lum {

class Journal;
class Session;

// "Statement Rules": the entity's rules for bank statement lines, a row
// each, in the order they are tried (the first that matches a line fills
// it). Account, sign and GST are picked from lists, the account from the
// journal's analysis columns (or typed, for another journal's). OK saves
// them when each row is a rule, else tells the first that is not.
class StatementRulesWindow final : public QDialog {
  Q_OBJECT

 public:
  StatementRulesWindow(Session& session, const Journal& journal, QWidget* parent = nullptr);

  // Adds a rule for a statement line no rule matched, its text the line's
  // description and its sign the amount's, and puts the cursor on its account.
  void addRuleFor(const std::string& description, bool moneyIn);
  QTableWidget* table() const { return mTable; }
  void accept() override;

  enum Column : int { kText, kAmount, kSign, kAccount, kGst, kParticulars, kColumns };

 private:
  void addRow(const std::vector<std::string>& cells);
  void moveCurrent(int by);
  std::string rulesText() const;

  Session& mSession;
  QTableWidget* mTable;
};

}  // namespace lum
