#pragma once

#include "post/login/session.h"

namespace lum {

// The housekeeping commands of the main window on the open entity's files
// in the work area. Each asks first (Enter answers No), takes a snapshot
// to undo it with, makes its change as one transaction and reads the
// set-up again; true when the change was made.

// "Clear Sel Period": deletes the D, A and G files of the selected period
// of every journal.
bool clearSelectedPeriod(Session& session);

// "Close Year": deletes the D, A and G files of every period (the full
// year's too), zeroes the budget's actual sales and cost of sales of
// periods 1 to 12, and clears every invoice that is settled (its total
// less paid, discount and written off is 0).
bool closeYear(Session& session);

// The erase command: deletes the working data of the work area, keeping
// the analysis templates (see clearWorkingData).
bool eraseWorkingData(Session& session);

}  // namespace lum
