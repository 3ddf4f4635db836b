#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "post/journals/journal_editor.h"
#include "post/journals/journal_files.h"
#include "post/login/session.h"

namespace lum {

// What a save of the journal did, for the status line.
struct JournalSaved {
  int journal = 0;
  std::string caption;  // "Takings Book - Sep"
  int rows = 0;

  // "Journal 2, Takings Book - Sep, saved: 14 rows"
  std::string text() const;
};

// The journal open in the journal window: the journal selected in the
// journals list (or one asked for), for the selected GST period, with its editor, its files and
// the copies that let the editing be abandoned.
class OpenJournal {
 public:
  // Takes the snapshot copies and loads the journal: the journals list's
  // current one, or `journal` when it is not 0. Del Row clears the invoice
  // of a deleted row through clearInvoice, when the user says so.
  explicit OpenJournal(Session& session, std::function<void(int invoice)> clearInvoice = {},
                       int journal = 0);

  Journal& journal() { return *mJournal; }
  JournalEditor& editor() { return *mEditor; }
  JournalFiles& files() { return mFiles; }
  int journalNumber() const { return mJournalNumber; }

  // "Takings Book - Sep": the journal's name and the selected period.
  std::string caption() const;
  // The grid's column headings: the fixed columns, then the accounts.
  std::vector<std::string> headings() const;

  // "&Save Journal": the transaction check, then the save. What was saved
  // (the window then closes); nothing leaves the cursor on the faulty row.
  std::optional<JournalSaved> checkAndSave();
  // Saves the journal as it stands and keeps it open: abandoning the
  // editing afterwards goes back to here (an invoice's Ok saves the row it
  // names with the invoice, which no abandon may part again).
  void saveAndKeepEditing();
  // "&Abandon Journal": after asking, the files go back to the copies.
  bool abandon();
  // "&Delete Journal": after asking, the journal is emptied and saved.
  bool deleteJournal();
  // The main window's "&Clear Journal": the same without the question.
  void clearJournal();
  // The journal window closes: the copies are no longer needed.
  void close();

  // F3: the rows and columns in use, as the user sets them. The journal
  // as it stands is saved with them and loaded again; true when they changed.
  bool fixCounts();
  // F4 and F5: deleting the rows dated before or after a date the user
  // gives; the cursor then goes to the first empty row. The save writes it.
  bool deleteRowsBefore();
  bool deleteRowsAfter();

 private:
  void gatherQuarterBudget();
  void reload();

  Session& mSession;
  int mJournalNumber;
  JournalFiles mFiles;
  std::unique_ptr<Journal> mJournal;
  std::unique_ptr<JournalEditor> mEditor;
};

}  // namespace lum
