#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "post/journals/statement_import.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace lum {

class OpenJournal;
class Session;

// "Import Bank Statement", from the journal window: the statement's lines
// with the rows they become (the rule that filled each, or "unmatched"),
// lines the journal holds already unticked. OK types the ticked rows into
// the open journal through its editor, after a trial on a copy: a line
// the journal refuses (a date outside its period) is told with the
// journal's own message and nothing is typed. The journal stays open for
// the unmatched rows.
class StatementImportWindow final : public QDialog {
  Q_OBJECT

 public:
  StatementImportWindow(Session& session, OpenJournal& journal, QWidget* parent = nullptr);

  // Asks for the statement (through the chooser when one is set, else a
  // file dialog) and loads it; false when none was chosen. One that cannot
  // be read is told, and its columns can then be set.
  bool chooseFile();
  void setFileChooser(std::function<QString()> chooser) { mFileChooser = std::move(chooser); }
  // Reads and plans a statement (the file chosen, or one a test gives);
  // false when it cannot be read (told).
  bool load(const std::filesystem::path& file);
  QTableWidget* table() const { return mTable; }
  QString summary() const;
  // OK: types the ticked rows.
  void accept() override;

 private:
  void showPlan();
  // Reads the statement and the rules and plans the rows; what is wrong, or "".
  std::string plan(const std::filesystem::path& file);
  std::optional<StatementMapping> mappingFor(const std::string& text);
  // The kept bank accounts' names, the chosen one selected when kept.
  void fillMappings(const std::string& chosen);
  // Set Columns...: the bank account's columns picked and kept.
  void editColumns();
  // Rules...: the rules edited, with one begun for the unmatched line at the cursor.
  void editRules();

  Session& mSession;
  OpenJournal& mJournal;
  std::function<QString()> mFileChooser;
  std::string mJournalName;
  bool mIncome = false;  // the journal takes income positive
  std::filesystem::path mFile;
  std::vector<StatementRule> mRules;
  StatementPlan mPlan;
  QLabel* mFileLabel;
  QComboBox* mMapping;
  QTableWidget* mTable;
  QLabel* mSummary;
};

}  // namespace lum
