#pragma once

// The amounts of a journal as the profit and loss statement and the
// ledgers transfer take them: every non-zero analysis amount of a row
// whose date, GST letter and reference are filled in, signed for the
// journal (a small cash business's income journal is entered positive),
// with its GST taken out.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/currency.h"
#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal_damage.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_line_records.h"
#include "post/reports/gst_rules.h"

namespace lum {

// An analysis column as these reports take it: its account's name
// ("Unspecified" when blank) and its GST rules.
struct TakenAccount {
  std::string name;
  GstAccount gst;
  GstTakeOut takeOut;  // decided once for the column's amounts
};

// What the amounts of one journal are taken with.
struct JournalTaking {
  GstSettings settings;
  std::vector<TakenAccount> accounts;  // by analysis column, from 1
  int lastFixed = 0;
  bool negate = false;  // income entered positive

  static JournalTaking of(Session& session, const JournalFiles& files, int journal);
};

// One amount taken: of row `row` (its record) and analysis column
// `column`, its GST out.
struct TakenAmount {
  int row = 0;
  const TransactionRecord* record = nullptr;
  int column = 0;
  Currency amount;
  Currency gst;
};

// A period's GST taken out and the sum of the amounts before it.
struct TakenTotals {
  Currency gst;
  Currency balance;
};

// A row is taken when its date, GST letter and reference are filled in.
inline bool isComplete(const TransactionRecord& record) {
  return !trim(record.date).empty() && !trim(record.gst).empty() && !trim(record.reference).empty();
}

// The taken amounts of one analysis column of a period, added up.
struct TakenColumn {
  Currency amount;   // GST out
  Currency gst;      // taken out
  int firstRow = 0;  // the row of its first amount; 0: it has none
};

// The amounts of every complete row of a journal's period, as takeAmounts
// takes them, added up by analysis column (element c - 1 for column c). Throws as
// takeAmounts does.
std::vector<TakenColumn> takeColumns(Session& session, const JournalFiles& files, char period,
                                     const JournalTaking& taking);

// Takes the amounts of a journal's period: takeRow(record) says whether a
// complete row is taken at all; take(amount) gets each amount in row and
// column order and returns false to stop. Throws JournalDamaged when the
// period's files do not hold the rows in use, std::overflow_error when
// its amounts are too large to add up.
template <class TakeRow, class Take>
TakenTotals takeAmounts(Session& session, const JournalFiles& files, char period,
                        const JournalTaking& taking, TakeRow takeRow, Take take) {
  FileOps& ops = session.ops();
  TakenTotals totals;
  const int rows = checkedCounts(session, files, period).rows;
  std::vector<TransactionRecord> records;
  forEachRecord<TransactionRecord>(
      ops, files.path("GrdRecs", period), rows,
      [&](int, TransactionRecord record) { records.push_back(std::move(record)); });
  bool stopped = false;
  // The amounts straight from the records' bytes: most of a row's columns
  // are empty, and decoding all of them cost more than taking the rest.
  forEachRecordBytes<AmountsRecord::kSize>(
      ops, files.path("GrdAms", period), rows,
      [&](int t, std::span<const std::byte> amounts, bool present) {
        const TransactionRecord& record = records[static_cast<std::size_t>(t - 1)];
        if (stopped || !present || !isComplete(record) || !takeRow(record)) {
          return;
        }
        const char rowLetter = upperLetter(record.gst);
        for (int c = taking.lastFixed + 1; c <= Journal::kMaxColumn && !stopped; ++c) {
          const std::int64_t raw = AmountsRecord::rawAt(amounts, c);
          if (raw == 0) {
            continue;
          }
          Currency amount = Currency::fromRaw(raw);
          const int column = c - taking.lastFixed;
          const TakenAccount& account = taking.accounts[static_cast<std::size_t>(column)];
          if (taking.negate) {
            amount = -amount;
          }
          totals.balance += amount;
          const Currency gst = account.takeOut.from(amount, rowLetter);
          totals.gst += gst;
          stopped = !take(TakenAmount{t, &record, column, amount - gst, gst});
        }
      });
  return totals;
}

}  // namespace lum
