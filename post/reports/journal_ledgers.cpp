#include "post/reports/journal_ledgers.h"

#include <algorithm>

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal.h"
#include "post/journals/journal_damage.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/session.h"

namespace lum {

std::vector<AccountLedger> journalLedgersOf(Session& session, int journal) {
  FileOps& ops = session.ops();
  const JournalFiles files(session, journal);
  if (!ops.exists(files.path("GrdRecs"))) {
    return {};
  }
  const int lastFixed = lastFixedColumn(session.login.setup.postingMode);
  const auto [rows, lastColumn] = checkedCounts(session, files, session.login.periodLetter);
  std::vector<AmountsRecord> amounts;
  std::vector<TransactionRecord> transactions;
  forEachRecord<AmountsRecord>(ops, files.path("GrdAms"), rows,
                               [&](int, AmountsRecord record) { amounts.push_back(record); });
  forEachRecord<TransactionRecord>(
      ops, files.path("GrdRecs"), rows,
      [&](int, TransactionRecord record) { transactions.push_back(std::move(record)); });
  const int columns = std::max(0, lastColumn - lastFixed);
  std::vector<AccountLedger> ledgers(static_cast<std::size_t>(columns));
  forEachRecord<AnalysisAccountRecord>(
      ops, files.path("An"), columns, [&](int k, const AnalysisAccountRecord& account) {
        AccountLedger& ledger = ledgers[static_cast<std::size_t>(k - 1)];
        ledger.account = account.name;
        ledger.type = account.accountType;
        ledger.gstApplies = account.gstCode;
        ledger.ledgersAccount = account.ledgersAccount;
      });
  forEachRecord<AnalysisExtraRecord>(
      ops, files.path("Ax"), columns, [&](int k, const AnalysisExtraRecord& extra) {
        ledgers[static_cast<std::size_t>(k - 1)].privateUseRatio = extra.exemptRatio;
      });
  try {
    for (int k = 1; k <= columns; ++k) {
      AccountLedger& ledger = ledgers[static_cast<std::size_t>(k - 1)];
      for (int t = 1; t <= rows; ++t) {
        const Currency amount = amounts[static_cast<std::size_t>(t - 1)]
                                    .amounts[static_cast<std::size_t>(lastFixed + k)];
        if (amount.isZero()) {
          continue;
        }
        (void)amount.abs();  // the listing prints its size
        const TransactionRecord& row = transactions[static_cast<std::size_t>(t - 1)];
        ledger.lines.push_back({row.date, row.particulars, std::string(trim(row.gst)),
                                std::string(trim(row.reference)), amount});
        ledger.total += amount;
      }
      (void)ledger.total.abs();
    }
  } catch (const std::overflow_error&) {
    throw JournalDamaged(overflowDamage(session, files, "GrdAms", session.login.periodLetter));
  }
  std::erase_if(ledgers, [](const AccountLedger& ledger) { return ledger.lines.empty(); });
  return ledgers;
}

}  // namespace lum
