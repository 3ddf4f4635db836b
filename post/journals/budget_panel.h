#pragma once

#include "post/journals/budget.h"
#include "post/login/session.h"

namespace lum {

// Gives the budget window (window 4) its panel: a line per month with the
// budgeted sales and cost of sales, both amount boxes, and its OK, which
// stores the 24 boxes in the budget record or, when one holds no amount,
// tells which and keeps the window open with nothing stored.
void installBudgetWindow(Session& session);

// The Total line and the ratio of what the boxes show now; a box that holds
// no amount counts as 0 until the OK tells of it.
BudgetTotals typedBudgetTotals(Session& session);

// The selected GST period as the period selector names it ("Sep", "Full Year").
std::string selectedPeriodName(Session& session);

}  // namespace lum
