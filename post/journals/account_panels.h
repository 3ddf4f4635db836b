#pragma once

#include <functional>

#include "post/journals/journal.h"
#include "post/login/session.h"

namespace lum {

// The journal the account windows work on: the one in the journal window,
// and its current grid column.
struct JournalInView {
  std::function<Journal*()> journal;
  std::function<int()> column;
};

// Gives the account names list (window 8, F2 in the journal window) and
// the account details (window 15, a double click on the grid) their panels
// and the details their OK.
void installAccountWindows(Session& session, JournalInView inView);

// The OK of the account details: the column takes the details shown. False,
// after telling the user, when the exempt ratio lies outside 0 to 1.
bool acceptAccountDetails(Session& session, Journal& journal, int column);

}  // namespace lum
