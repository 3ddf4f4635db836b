#include "post/journals/budget.h"

#include <fmt/core.h>

#include <algorithm>
#include <exception>

#include "panel/money.h"
#include "platform/record_file.h"
#include "platform/suite_records.h"
#include "platform/text.h"
#include "post/journals/journal_files.h"
#include "post/login/login_records.h"

namespace lum {
namespace {

constexpr int kAccounts = 100;
constexpr const char* kCorruptData =
    "Journals or budgets contain corrupt data.  Check budgets & Journal totals";

std::filesystem::path budgetPath(Session& session) {
  return session.registry().path(*findRegistryEntry("Butce"), session.naming());
}

std::optional<Currency> sum(const std::array<Currency, BudgetRecord::kMonths>& months) {
  Currency total;
  try {
    for (std::size_t i = 1; i < months.size(); ++i) {
      total += months[i];
    }
  } catch (const std::overflow_error&) {
    return std::nullopt;
  }
  return total;
}

}  // namespace

BudgetRecord readBudget(Session& session) {
  const auto path = budgetPath(session);
  if (!session.ops().exists(path)) {
    return BudgetRecord{};
  }
  RecordFile file(session.ops(), path, BudgetRecord::kSize, RecordFile::Access::ReadOnly);
  return file.get<BudgetRecord>(1);
}

void writeBudget(Session& session, const BudgetRecord& budget) {
  RecordFile file(session.ops(), budgetPath(session), BudgetRecord::kSize);
  file.put(1, budget);
  file.flush();
  file.close();
}

BudgetTotals budgetTotals(const BudgetRecord& budget) {
  BudgetTotals totals{sum(budget.budgetedSales), sum(budget.budgetedCostOfSales), {}};
  if (totals.sales && totals.costOfSales && !totals.sales->isZero()) {
    totals.ratio =
        fmt::format("{:05.2f}%", 100.0 * totals.costOfSales->toDouble() / totals.sales->toDouble());
  }
  return totals;
}

std::optional<Currency> budgetFigure(std::string_view text) {
  const std::string_view figure = trim(text);
  if (figure.empty()) {
    return Currency();
  }
  // An amount box shows an empty figure as ".00".
  if (figure == ".00") {
    return Currency();
  }
  return parseMoney(figure);
}

std::optional<BudgetRecord> budgetWithBoxes(BudgetRecord budget,
                                            const std::vector<std::string>& boxes,
                                            Prompter& prompter) {
  for (std::size_t month = 1; month <= kBudgetMonths.size(); ++month) {
    for (const bool costOfSales : {false, true}) {
      const std::size_t box = 2 * (month - 1) + (costOfSales ? 1 : 0);
      const std::string text = box < boxes.size() ? boxes[box] : std::string();
      const auto figure = budgetFigure(text);
      if (!figure) {
        prompter.message(fmt::format("The {} of {}, \"{}\", is not an amount.  Nothing was stored.",
                                     costOfSales ? "cost of sales" : "sales",
                                     kBudgetMonths[month - 1], trim(text)),
                         Icon::Exclamation);
        return std::nullopt;
      }
      (costOfSales ? budget.budgetedCostOfSales : budget.budgetedSales)[month] = *figure;
    }
  }
  return budget;
}

bool recalculateActuals(Session& session) {
  const bool quarterly = session.login.setup.periodKind == "Q";
  const bool creditSales = session.login.setup.postingMode != PostingMode::SmallCashBusiness;
  const std::vector<char> periods =
      quarterly ? std::vector<char>{'C', 'F', 'I', 'L'}
                : std::vector<char>{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'};
  try {
    BudgetRecord budget = readBudget(session);
    for (std::size_t k = 1; k < BudgetRecord::kMonths; ++k) {
      budget.actualSales[k] = Currency();
      budget.actualCostOfSales[k] = Currency();
    }
    const int journals = session.file("counters")
                             .get<CounterRecord>(static_cast<int>(EntityCounter::Journals))
                             .value;
    FileOps& ops = session.ops();
    for (int j = 1; j <= journals; ++j) {
      const JournalFiles files(session, j);
      const auto accounts = files.analysisColumns(kAccounts);
      for (const char period : periods) {
        const auto k = static_cast<std::size_t>(JournalFiles::budgetIndexOf(period, quarterly));
        const auto totalsPath = files.path("GstPers", period);
        if (!ops.exists(totalsPath)) {
          continue;
        }
        RecordFile totals(ops, totalsPath, ColumnTotalRecord::kSize, RecordFile::Access::ReadOnly);
        const auto records = std::min<std::int64_t>(totals.recordCount(), kAccounts);
        for (int a = 1; a <= records; ++a) {
          const Currency g = totals.get<ColumnTotalRecord>(a).total;
          const AccountType type = accounts[static_cast<std::size_t>(a)].type();
          if (type == AccountType::Sales) {
            budget.actualSales[k] += creditSales ? -g : g;
          } else if (type == AccountType::CostOfSales) {
            budget.actualCostOfSales[k] += g;
          }
        }
      }
    }
    writeBudget(session, budget);
  } catch (const std::exception&) {
    session.prompter().message(kCorruptData, Icon::Critical);
    return false;
  }
  return true;
}

}  // namespace lum
