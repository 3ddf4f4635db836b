#include "post/reports/profit_and_loss.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"
#include "post/reports/exempt_ratio.h"
#include "post/reports/report_period.h"

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

// Whole cents, halves away from zero. A figure past the range of Currency
// (a damaged rate or amount) throws, as Currency's own arithmetic does.
Currency cents(double dollars) {
  const double whole = std::round(dollars * 100);
  if (!(std::abs(whole) < 0x1p63)) {  // not a number fails too
    throw std::overflow_error("Amount too large for a Currency value");
  }
  return Currency::fromCents(1) * static_cast<std::int64_t>(whole);
}

struct Account {
  std::string name;
  char type = ' ';
  char gstApplies = ' ';
  double privateUseRatio = 0;
};

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

std::optional<AccountTable> prepareProfitAndLoss(Session& session, ProfitAndLossPeriods periods) {
  const SetupValues& setup = session.login.setup;
  const double rate = std::isfinite(setup.gstRate) && setup.gstRate != 0 ? setup.gstRate : 0.1;
  const double exemptSales = exemptRatio(setup.exemptSalesRatio);
  const double exemptPurchases = exemptRatio(setup.exemptPurchaseRatio);
  const int lastFixed = lastFixedColumn(setup.postingMode);
  const int columns = Journal::kMaxColumn - lastFixed;
  const int journals =
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value;
  FileOps& ops = session.ops();

  AccountTable table;
  std::optional<std::string> refusal;
  const auto add = [&](std::string_view name, char type, Currency amount) {
    if (!refusal) {
      refusal = table.add(name, type, amount);
    }
  };
  for (int j = 1; j <= journals && !refusal; ++j) {
    const std::string kind(trim(session.file("Jnl").get<JournalHeaderRecord>(j).type));
    const bool negate = setup.postingMode == PostingMode::SmallCashBusiness && kind == "I";
    const JournalFiles files(session, j);

    std::vector<Account> accounts(static_cast<std::size_t>(columns) + 1);
    // Each column's slot in the table, found at its first amount: a column
    // is one account, so its name is looked up once per journal.
    constexpr std::size_t kNoSlot = AccountTable::kSlots;
    std::vector<std::size_t> slots(static_cast<std::size_t>(columns) + 1, kNoSlot);
    forEachRecord<AnalysisAccountRecord>(ops, files.path("An"), columns,
                                         [&](int k, const AnalysisAccountRecord& record) {
                                           Account& account = accounts[static_cast<std::size_t>(k)];
                                           const std::string name(trim(record.name));
                                           account.name = name.empty() ? "Unspecified" : name;
                                           account.type = upperLetter(record.accountType);
                                           account.gstApplies = upperLetter(record.gstCode);
                                         });
    forEachRecord<AnalysisExtraRecord>(
        ops, files.path("Ax"), columns, [&](int k, const AnalysisExtraRecord& record) {
          accounts[static_cast<std::size_t>(k)].privateUseRatio = exemptRatio(record.exemptRatio);
        });

    std::vector<char> letters = files.periodLetters();
    letters.pop_back();  // the months or quarters, not the full year
    if (periods == ProfitAndLossPeriods::SelectedOnly) {
      letters = {session.login.periodLetter};
    }
    for (const char period : letters) {
      if (refusal || !ops.exists(files.path("GrdRecs", period))) {
        continue;
      }
      int rows = 0;
      forEachRecord<AmountsRecord>(
          ops, files.path("GrdAms", period), 1,
          [&](int, const AmountsRecord& header) { rows = header.rowsInUse(); });
      std::vector<TransactionRecord> transactions;
      forEachRecord<TransactionRecord>(
          ops, files.path("GrdRecs", period), rows,
          [&](int, TransactionRecord record) { transactions.push_back(std::move(record)); });
      Currency gstTotal;
      Currency balance;  // summed exactly
      forEachRecord<AmountsRecord>(
          ops, files.path("GrdAms", period), rows, [&](int t, const AmountsRecord& record) {
            const TransactionRecord& row = transactions[static_cast<std::size_t>(t - 1)];
            if (refusal || trim(row.date).empty() || trim(row.gst).empty() ||
                trim(row.reference).empty()) {
              return;
            }
            for (int c = lastFixed + 1; c <= Journal::kMaxColumn && !refusal; ++c) {
              Currency amount = record.amounts[static_cast<std::size_t>(c)];
              if (amount.isZero()) {
                continue;
              }
              const Account& account = accounts[static_cast<std::size_t>(c - lastFixed)];
              if (negate) {
                amount = -amount;
              }
              balance += amount;
              char letter = upperLetter(row.gst);
              if (account.gstApplies == 'N' || account.gstApplies == 'Y' ||
                  account.gstApplies == 'T') {
                letter = account.gstApplies;
              }
              double taxable = 1;
              if (account.type == 'S' && account.gstApplies == 'C' && exemptSales > 0) {
                letter = 'Y';
                taxable = 1 - exemptSales;
              }
              if (account.type == 'C' && account.gstApplies == 'C' && exemptPurchases > 0) {
                letter = 'Y';
                taxable = 1 - exemptPurchases;
              }
              if (account.privateUseRatio > 0 && account.gstApplies != 'C') {
                letter = 'Y';
                taxable = 1 - account.privateUseRatio;
              }
              if (letter == 'Y') {
                const Currency gst = cents(amount.toDouble() * taxable / ((1 + rate) / rate));
                gstTotal += gst;
                amount -= gst;
              } else if (letter == 'T') {
                const Currency gst = amount.roundedToCents();
                gstTotal += gst;
                amount -= gst;
              }
              std::size_t& slot = slots[static_cast<std::size_t>(c - lastFixed)];
              if (slot == kNoSlot) {
                refusal = table.slotFor(account.name, account.type, slot);
                if (refusal) {
                  slot = kNoSlot;
                  return;
                }
              }
              table.addTo(slot, amount);
            }
          });
      if (!gstTotal.isZero()) {
        add("GST Liability", 'L', gstTotal);
      }
      if (!balance.isZero()) {
        add("Contra", 'A', -balance);
      }
    }
  }
  if (refusal) {
    session.prompter().message(*refusal);
    return std::nullopt;
  }
  table.dropZeros();
  return table;
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
