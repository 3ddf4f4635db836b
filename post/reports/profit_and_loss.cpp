#include "post/reports/profit_and_loss.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal.h"
#include "post/journals/journal_damage.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"
#include "post/reports/report_period.h"
#include "post/reports/taken_amounts.h"

namespace lum {
namespace {

// Names are one account whatever their case, blanks and trailing full stop.
std::string keyOf(std::string_view name) {
  std::string key = toUpper(trim(name));
  if (!key.empty() && key.back() == '.') {
    key.pop_back();
  }
  return key;
}

}  // namespace

std::optional<std::string> AccountTable::slotFor(std::string_view name, char type,
                                                 std::size_t& slot) {
  if (type == ' ') {
    return fmt::format("The account code of account {} is not stated.  This must be corrected.",
                       name);
  }
  const std::string key = keyOf(name);
  const auto found = std::find(mKeys.begin(), mKeys.end(), key);
  if (found != mKeys.end()) {
    slot = static_cast<std::size_t>(found - mKeys.begin());
    if (mAccounts[slot].type != type) {
      return fmt::format(
          "Account {} appears to have different accounting codes in different journals.  This "
          "needs to be rectified",
          name);
    }
    return std::nullopt;
  }
  if (mAccounts.size() == kSlots) {
    return std::string("More than allocated 600 accounts names have been used");
  }
  slot = mAccounts.size();
  mAccounts.push_back({std::string(name), type, Currency()});
  mKeys.push_back(key);
  return std::nullopt;
}

void AccountTable::dropZeros() {
  for (std::size_t i = mAccounts.size(); i-- > 0;) {
    if (mAccounts[i].amount.isZero()) {
      mAccounts.erase(mAccounts.begin() + static_cast<std::ptrdiff_t>(i));
      mKeys.erase(mKeys.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

namespace {

// Adds one journal's period to the table; the refusal when an account
// cannot be added.
std::optional<std::string> addPeriod(Session& session, const JournalFiles& files, char period,
                                     const JournalTaking& taking, AccountTable& table,
                                     std::vector<std::size_t>& slots) {
  const std::vector<TakenColumn> columns = takeColumns(session, files, period, taking);
  // Accounts join the table in the order of their first amounts, row by
  // row, which is the order the statement lists them in.
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].firstRow != 0) {
      order.push_back(i);
    }
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return columns[a].firstRow < columns[b].firstRow;
  });
  // A column is one account, so its name is looked up once per journal.
  Currency gst;
  Currency balance;
  for (const std::size_t i : order) {
    std::size_t& slot = slots[i + 1];
    if (slot == AccountTable::kSlots) {
      const TakenAccount& account = taking.accounts[i + 1];
      if (auto refusal = table.slotFor(account.name, static_cast<char>(account.gst.type), slot)) {
        slot = AccountTable::kSlots;
        return refusal;
      }
    }
    table.addTo(slot, columns[i].amount);
    gst += columns[i].gst;
    balance += columns[i].amount + columns[i].gst;
  }
  std::optional<std::string> refusal;
  if (!gst.isZero()) {
    refusal = table.add("GST Liability", 'L', gst);
  }
  if (!refusal && !balance.isZero()) {
    refusal = table.add("Contra", 'A', -balance);
  }
  return refusal;
}

// Works out every figure the statement prints from the table, so that an
// amount too large for one of them is found while the journal that brought
// it can still be left out.
void workOutStatement(const AccountTable& table) {
  const ProfitAndLoss statement = profitAndLossOf(table);
  for (const AccountTotal& account : table.accounts()) {
    (void)-account.amount;
  }
  for (const auto* section :
       {&statement.sales, &statement.costOfSales, &statement.otherIncome, &statement.expenses}) {
    (void)-ProfitAndLoss::sum(*section);
  }
  (void)statement.grossProfit();
  (void)statement.netProfit();
}

}  // namespace

std::optional<PreparedAccounts> prepareProfitAndLoss(Session& session,
                                                     ProfitAndLossPeriods periods) {
  const JournalCount count = countJournals(session);
  FileOps& ops = session.ops();
  PreparedAccounts prepared;
  prepared.damage.countProblem = count.problem;
  AccountTable& table = prepared.table;
  std::optional<std::string> refusal;
  for (int j = 1; j <= count.count && !refusal; ++j) {
    const JournalFiles files(session, j);
    const JournalTaking taking = JournalTaking::of(session, files, j);
    std::vector<std::size_t> slots(taking.accounts.size(), AccountTable::kSlots);
    std::vector<char> letters = files.periodLetters();
    letters.pop_back();  // the months or quarters, not the full year
    if (periods == ProfitAndLossPeriods::SelectedOnly) {
      letters = {session.login.periodLetter};
    }
    // A damaged journal is left out whole: the table goes back to what the
    // journals before it made of it.
    const AccountTable before = table;
    char reading = letters.front();
    try {
      for (const char period : letters) {
        reading = period;
        if (!refusal && ops.exists(files.path("GrdRecs", period))) {
          refusal = addPeriod(session, files, period, taking, table, slots);
        }
      }
      workOutStatement(table);
    } catch (const JournalDamaged& damaged) {
      table = before;
      prepared.damage.journals.push_back(damaged.damage());
    } catch (const std::overflow_error&) {
      table = before;
      prepared.damage.journals.push_back(overflowDamage(session, files, "GrdAms", reading));
    }
  }
  if (refusal) {
    session.prompter().message(*refusal);
    return std::nullopt;
  }
  table.dropZeros();
  return prepared;
}

Currency ProfitAndLoss::sum(const std::vector<AccountTotal>& accounts) {
  Currency total;
  for (const AccountTotal& account : accounts) {
    total += account.amount;
  }
  return total;
}

ProfitAndLoss profitAndLossOf(const AccountTable& table) {
  ProfitAndLoss statement;
  for (const AccountTotal& account : table.accounts()) {
    switch (account.type) {
      case 'S':
        statement.sales.push_back(account);
        break;
      case 'C':
        statement.costOfSales.push_back(account);
        break;
      case 'I':
        statement.otherIncome.push_back(account);
        break;
      case 'E':
      case 'W':
        statement.expenses.push_back(account);
        break;
      default:
        if (!account.amount.isZero()) {
          statement.other.push_back(account);
        }
        break;
    }
  }
  return statement;
}

std::string profitAndLossPeriodText(ProfitAndLossPeriods periods, std::string_view periodKind,
                                    char periodLetter, Date today) {
  const int year = today.month() == 6 ? today.year() - 1 : today.year();
  if (periods == ProfitAndLossPeriods::All) {
    return fmt::format("For the year ended 30 June, {}", year);
  }
  if (periodListText(periodKind, periodLetter) == "Full Year") {
    return fmt::format("For the year ended 30 June {}", year);
  }
  return periodTitle(periodKind, periodLetter);
}

}  // namespace lum
