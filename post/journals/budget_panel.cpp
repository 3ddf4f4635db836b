#include "post/journals/budget_panel.h"

#include <memory>

#include "panel/money.h"
#include "post/login/gst_periods.h"
#include "post/login/window_hooks.h"

namespace lum {
namespace {

constexpr int kBoxes = 2 * static_cast<int>(kBudgetMonths.size());

class BudgetHooks final : public WindowHooks {
 public:
  using WindowHooks::WindowHooks;

  int lineCount() const override { return kBoxes; }

  void fillDetail(std::vector<std::string>& boxes) override {
    const BudgetRecord budget = readBudget(mSession);
    boxes.assign(kBoxes, {});
    for (std::size_t month = 1; month <= kBudgetMonths.size(); ++month) {
      boxes[2 * (month - 1)] = formatMoney(budget.budgetedSales[month]);
      boxes[2 * (month - 1) + 1] = formatMoney(budget.budgetedCostOfSales[month]);
    }
  }

  std::string detailLabel(int row) const override {
    return row >= 0 && row < static_cast<int>(kBudgetMonths.size())
               ? kBudgetMonths[static_cast<std::size_t>(row)]
               : "";
  }
};

std::vector<std::string> boxTexts(InputPanel& panel) {
  std::vector<std::string> texts;
  for (int box = 0; box < kBoxes; ++box) {
    texts.push_back(panel.boxText(box));
  }
  return texts;
}

}  // namespace

void installBudgetWindow(Session& session) {
  session.setPanelHooks(kBudget, std::make_unique<BudgetHooks>(session));
  WindowActions actions;
  actions.prepare = [&session] {
    InputPanel& panel = *session.panel(kBudget);
    for (int box = 0; box < kBoxes; ++box) {
      panel.setAmountBox(box, true);
    }
  };
  actions.accept = [&session] {
    InputPanel& panel = *session.panel(kBudget);
    panel.commitLine();
    const auto budget = budgetWithBoxes(readBudget(session), boxTexts(panel), session.prompter());
    if (!budget) {
      return false;
    }
    writeBudget(session, *budget);
    return true;
  };
  session.setWindowActions(kBudget, std::move(actions));
}

BudgetTotals typedBudgetTotals(Session& session) {
  BudgetRecord typed;
  const auto texts = boxTexts(*session.panel(kBudget));
  for (std::size_t month = 1; month <= kBudgetMonths.size(); ++month) {
    typed.budgetedSales[month] = budgetFigure(texts[2 * (month - 1)]).value_or(Currency());
    typed.budgetedCostOfSales[month] =
        budgetFigure(texts[2 * (month - 1) + 1]).value_or(Currency());
  }
  return budgetTotals(typed);
}

std::string selectedPeriodName(Session& session) {
  const auto periods = gstPeriodEntries(session.login.setup.periodKind);
  const char letter = session.login.periodLetter;
  const int entry = session.login.setup.periodKind == "Q" ? (letter - 'C') / 3 : letter - 'A';
  return entry >= 0 && entry < static_cast<int>(periods.size())
             ? periods[static_cast<std::size_t>(entry)]
             : "";
}

}  // namespace lum
