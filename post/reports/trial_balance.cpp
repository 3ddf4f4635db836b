#include "post/reports/trial_balance.h"

#include <algorithm>

#include "platform/record_blocks.h"
#include "post/journals/journal.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"

namespace lum {

TrialBalance trialBalanceOf(Session& session, int journal) {
  FileOps& ops = session.ops();
  const JournalFiles files(session, journal);
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
  forEachRecord<ColumnTotalRecord>(
      ops, files.path("GstPers"), lastColumn, [&](int k, const ColumnTotalRecord& record) {
        if (record.total.isZero()) {
          return;
        }
        balance.lines.push_back({names[static_cast<std::size_t>(k)], record.total});
        (record.total > Currency() ? balance.debitTotal : balance.creditTotal) += record.total;
      });
  return balance;
}

}  // namespace lum
