#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/prompter.h"
#include "post/journals/journal.h"

namespace lum {

// Where the cell under the cursor stands: entered and not typed into,
// typed into, or being committed.
enum class CellEdit { Untouched, Typed, Committing };

// What the journal editor needs from around it.
struct EditorContext {
  Prompter* prompter = nullptr;
  const Clock* clock = nullptr;
  char periodLetter = 'M';  // "M" or "O": the full year, where any month is accepted
  bool quarterly = false;
  std::function<void()> autosave;            // saves the journal
  std::function<void(int key)> functionKey;  // F2 to F5, by key code
  std::function<void(int invoice)> clearInvoice;
};

// Every rule of the journal grid, without the grid: the cursor, typing by
// key code, Enter and its defaults, committing text and amount cells with
// their checks, balances, totals, sales and cost of sales, and inserting
// and deleting rows. A view shows cellText() and forwards its events.
class JournalEditor {
 public:
  // Key codes of the keyboard table (Windows virtual keys).
  enum Key : int {
    kBackspace = 8,
    kEnter = 13,
    kEscape = 27,
    kSpace = 32,
    kInsert = 45,
    kDelete = 46,
    kF2 = 113,
    kF5 = 116,
  };
  static constexpr int kDateColumn = 0;
  static constexpr int kParticularsColumn = 1;
  static constexpr int kRefColumn = 2;
  static constexpr int kGstColumn = 3;
  static constexpr int kAutosaveRows = 10;

  JournalEditor(Journal& journal, EditorContext context);

  // Puts the cursor on the first empty row.
  void open();
  // The row shown at the top when the journal opens: a journal of ten rows
  // or more opens on its last row, a shorter one from its first.
  int openingTopRow() const;
  void enterCell(int row, int column);
  // Commits the cell being left when it was typed into.
  void leaveCell();
  void keyDown(int keyCode, bool shift);
  // The edit box: its text replaces the cell's as typed.
  void editBoxChanged(std::string text);

  // What a cell shows: its row's texts, or its amount ("" for none).
  std::string cellText(int row, int column) const;
  int row() const { return mRow; }
  int column() const { return mColumn; }

  // The grid's frozen columns: none while the cursor is in the first ten
  // columns, else every column up to the last amount column, so the row's
  // date, particulars and amounts stay in sight.
  int fixedColumns() const { return mFixedColumns; }
  // The first scrolled column in sight (the grid's LeftCol): as the grid
  // last reported it, or as moving on raised it.
  int leftColumn() const { return mLeftColumn; }
  void scrolledTo(int leftColumn);
  static constexpr int kTotalsBoxes = 7;
  static constexpr int kNoColumn = -1;
  // The columns the totals boxes show: the amount columns, then the
  // columns in sight from the left column on; kNoColumn past the last.
  std::array<int, kTotalsBoxes> totalsColumns() const;
  const Journal& journal() const { return mJournal; }

  void insertRow();
  void deleteRow();
  // A new analysis column at the current column, the others moving right.
  void insertColumn();
  // Deletes the current analysis column after asking.
  void deleteColumn();
  // Blanks every row and amount (the journal is then saved and reopened).
  void clearJournal();
  // "&Delete Journal": clearJournal after asking; true when cleared.
  bool deleteJournal();
  // Whether the current row may start an invoice; tells the user why not.
  bool mayStartInvoice();

 private:
  std::string storedText(int row, int column) const;
  void type(std::string_view characters, bool replaceUnlessEditing);
  void enter();
  void fillDefault();
  void commit();
  bool commitText();
  void commitAmount(Currency value);
  bool dateInPeriod(const Date& date) const;
  void moveOn();
  void raiseCounts();
  void putBack();

  Journal& mJournal;
  EditorContext mContext;
  int mRow = 1;
  int mColumn = 0;
  std::string mText;        // the current cell as typed
  std::string mRemembered;  // the cell as it was entered
  CellEdit mEdit = CellEdit::Untouched;
  int mFixedColumns = 0;
  int mLeftColumn = 0;
};

}  // namespace lum
