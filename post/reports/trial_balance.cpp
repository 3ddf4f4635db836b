#include "post/reports/trial_balance.h"

#include <fmt/core.h>

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

TrialBalance trialBalanceOf(Session& session, int journal) {
  FileOps& ops = session.ops();
  const JournalFiles files(session, journal);
  const char period = session.login.periodLetter;
  checkedCounts(session, files, period);
  int lastColumn = 0;
  forEachRecord<AmountsRecord>(ops, files.path("GrdAms"), 1, [&](int, const AmountsRecord& header) {
    lastColumn = header.lastColumnInUse();
  });
  // Accounts 1 to the last grid column in use: more than the columns, and
  // the ones past them read blank with a total of 0.
  std::vector<std::string> names(static_cast<std::size_t>(lastColumn) + 1);
  forEachRecord<AnalysisAccountRecord>(ops, files.path("An"), lastColumn,
                                       [&](int k, const AnalysisAccountRecord& account) {
                                         names[static_cast<std::size_t>(k)] = account.name;
                                       });
  TrialBalance balance;
  try {
    forEachRecord<ColumnTotalRecord>(
        ops, files.path("GstPers"), lastColumn, [&](int k, const ColumnTotalRecord& record) {
          if (record.total.isZero()) {
            return;
          }
          (void)record.total.abs();  // the report prints its size
          balance.lines.push_back({names[static_cast<std::size_t>(k)], record.total});
          (record.total > Currency() ? balance.debitTotal : balance.creditTotal) += record.total;
        });

    // The journal's other side: whatever the analysis took in or paid out
    // went through its bank or cash account. In both posting modes that is
    // the opposite of the column totals (mode 3 holds income as negative
    // analysis amounts, so receipts come out as a debit).
    const Currency contra = -(balance.debitTotal + balance.creditTotal);
    if (!contra.isZero()) {
      const auto header = session.file("Jnl").get<JournalHeaderRecord>(journal);
      balance.lines.push_back({contraLineName(header.name, header.contraAccount), contra});
      (contra > Currency() ? balance.debitTotal : balance.creditTotal) += contra;
    }
    (void)balance.creditTotal.abs();
  } catch (const std::overflow_error&) {
    throw JournalDamaged(overflowDamage(session, files, "GstPers", period));
  }
  return balance;
}

std::string contraLineName(std::string_view journalName, int contraAccount) {
  std::string name = "Contra";
  if (!trim(journalName).empty()) {
    name += fmt::format(" - {}", trim(journalName));
  }
  if (contraAccount != 0) {
    name += fmt::format(" (A/C {})", contraAccount);
  }
  return name;
}

}  // namespace lum
