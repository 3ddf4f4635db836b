#pragma once

// Rows typed into a journal as the grid takes them: each cell entered, its
// text typed and Enter pressed, so that the editor's own checks, balances
// and totals apply; then the transaction check of the whole journal.
// Nothing is saved: the caller saves the journal when it is content. The
// CSV import of lumctl and the bank statement import type their rows so.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "post/journals/journal_editor.h"

namespace lum {

class Session;

struct TypedRow {
  int line = 0;  // where the row comes from (a file's line), for the problems
  std::vector<std::pair<int, std::string>> cells;  // grid column, text
};

struct TypingProblem {
  int line = 0;  // the typed row's line; 0 for a row that was there before
  int row = 0;   // the journal's row
  std::string message;
};

struct TypingOutcome {
  // A full journal, a text in an amount column that is no amount, a date
  // the editor did not take, and every message of the editor.
  std::vector<TypingProblem> typing;
  // The rows the transaction check finds faulty (its question's first line).
  std::vector<TypingProblem> check;
  bool any() const { return !typing.empty() || !check.empty(); }
};

// The editor's context for typing into a journal of the session's period.
EditorContext typingContext(const Session& session);

// The grid column of the analysis account a text names: its name (any
// case) or "#n" for the journal's analysis column n; -1 for none.
int analysisColumnNamed(const Journal& journal, std::string_view name);

// Types the rows after the journal's last row in use (a row of no cells
// stays blank), with the context's period and clock; questions are
// answered No. The check is not run when typing found a problem and
// checkAnyway is false.
TypingOutcome typeRows(Journal& journal, EditorContext context, const std::vector<TypedRow>& rows,
                       bool checkAnyway);

}  // namespace lum
