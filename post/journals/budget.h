#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "post/login/journal_line_records.h"
#include "post/login/session.h"

namespace lum {

// The months of the budget record, 1 (July) to 12 (June), by name.
inline constexpr std::array<const char*, 12> kBudgetMonths = {
    "July",    "August",   "September", "October", "November", "December",
    "January", "February", "March",     "April",   "May",      "June"};

// The entity's budget record (record 1 of its budget file).
BudgetRecord readBudget(Session& session);
void writeBudget(Session& session, const BudgetRecord& budget);

// The Total line and the budgeted cost of sales ratio of the budget window:
// the sums of the twelve months, and the total cost of sales over the
// total sales as "00.00%" ("" while the total sales are 0, or when a sum
// is too large to hold).
struct BudgetTotals {
  std::optional<Currency> sales;
  std::optional<Currency> costOfSales;
  std::string ratio;
};
BudgetTotals budgetTotals(const BudgetRecord& budget);

// A budget figure as typed: blank is 0, else an amount (see parseMoney).
std::optional<Currency> budgetFigure(std::string_view text);

// The budget with the 24 boxes of the budget window put in: box 2(i - 1)
// the sales and box 2(i - 1) + 1 the cost of sales of month i. Nothing,
// after telling the user which box is wrong, when a box holds no amount;
// the budget is then left as it was.
std::optional<BudgetRecord> budgetWithBoxes(BudgetRecord budget,
                                            const std::vector<std::string>& boxes,
                                            Prompter& prompter);

// Rebuilds the actual sales and cost of sales of every month from the
// column totals of every journal in every period of the scheme: a sales
// account's total counts as sales (negated in posting mode 3, where sales
// are credits), a cost of sales account's as cost of sales. When a file
// cannot be read the user is told and the budget is left as it was.
bool recalculateActuals(Session& session);

}  // namespace lum
