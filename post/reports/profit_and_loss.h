#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "platform/date.h"
#include "post/journals/journal_damage.h"

namespace lum {

class Session;

// An account of the entity, summed over its journals.
struct AccountTotal {
  std::string name;
  char type = ' ';  // the account type letter
  Currency amount;
};

// The entity's accounts for the profit and loss statement: up to 600, one
// per name (letter case, blanks and one trailing full stop aside).
class AccountTable {
 public:
  static constexpr std::size_t kSlots = 600;

  // Finds the account's slot, taking a new one for a new name, or tells why
  // it cannot: a blank type letter, another type letter than the account
  // had, or a table full.
  std::optional<std::string> slotFor(std::string_view name, char type, std::size_t& slot);
  void addTo(std::size_t slot, Currency amount) { mAccounts.at(slot).amount += amount; }
  std::optional<std::string> add(std::string_view name, char type, Currency amount) {
    std::size_t slot = 0;
    auto refusal = slotFor(name, type, slot);
    if (!refusal) {
      addTo(slot, amount);
    }
    return refusal;
  }
  // Takes out the accounts whose amount came to 0.
  void dropZeros();
  const std::vector<AccountTotal>& accounts() const { return mAccounts; }

 private:
  std::vector<AccountTotal> mAccounts;
  std::vector<std::string> mKeys;  // the names as compared
};

enum class ProfitAndLossPeriods { SelectedOnly, All };

// The account table, and the journals it leaves out as damaged.
struct PreparedAccounts {
  AccountTable table;
  DamageFound damage;
};

// Builds the account table from every journal of the session's entity, for
// the selected period or all periods of the scheme, with GST taken out of
// the amounts that include it; a damaged journal is left out whole (the
// caller tells it). Nothing, after telling the user, when an account
// cannot be added.
std::optional<PreparedAccounts> prepareProfitAndLoss(Session& session,
                                                     ProfitAndLossPeriods periods);

// The statement's sections, in table order.
struct ProfitAndLoss {
  std::vector<AccountTotal> sales;        // "S"
  std::vector<AccountTotal> costOfSales;  // "C"
  std::vector<AccountTotal> otherIncome;  // "I"
  std::vector<AccountTotal> expenses;     // "E" and "W"
  std::vector<AccountTotal> other;        // every other type, not 0

  static Currency sum(const std::vector<AccountTotal>& accounts);
  // Income is held negative: the statement prints these negated.
  Currency grossProfit() const { return -(sum(sales) + sum(costOfSales)); }
  Currency netProfit() const {
    return -(sum(sales) + sum(costOfSales) + sum(otherIncome) + sum(expenses));
  }
};
ProfitAndLoss profitAndLossOf(const AccountTable& table);

// The period line the statement offers: the year ending 30 June (the
// previous year's in June), or the period title of a single period.
std::string profitAndLossPeriodText(ProfitAndLossPeriods periods, std::string_view periodKind,
                                    char periodLetter, Date today);

}  // namespace lum
