#pragma once

#include <functional>
#include <vector>

#include "platform/prompter.h"
#include "post/journals/journal.h"

namespace lum {

// What the transaction check found.
struct CheckOutcome {
  bool passed = true;          // every row went through (possibly by the user's choice)
  int faultyRow = 0;           // the row the user chose to correct
  std::vector<int> askedRows;  // every row put to the user, in order
};

// Walks every row in use: a row whose analysis does not add up, or that
// misses some (not all) of its texts, or has none but an analysis amount,
// is put to the user: Yes stops at that row, No goes on, Cancel goes on
// without further questions. Trims the row texts.
CheckOutcome transactionCheck(Journal& journal, Prompter& prompter);

// Rebuilds the column totals, row balances, running balances and the counts
// in use from the amounts; the rows in use end at the last row holding a
// figure or any text. Quick: over the rows and columns in use;
// otherwise over the whole journal, after asking. Reports progress
// (done, total) once per column and once per row. False when declined.
bool recheckJournal(Journal& journal, Prompter& prompter, bool quick,
                    const std::function<void(int, int)>& progress = {});

// The running balances of a posting mode 3 journal from a row down:
// the balance above plus receipts less payments; row 1 keeps a typed
// opening balance when it has neither.
void runningBalances(Journal& journal, int fromRow);

}  // namespace lum
