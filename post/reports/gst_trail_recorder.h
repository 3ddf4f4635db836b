#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "post/journals/journal.h"
#include "post/login/journal_line_records.h"
#include "post/reports/gst_trail.h"

namespace lum {

class JournalFiles;
class Session;

// Writes one journal's part of the trail while the gathering goes through
// its amounts; what it wrote is taken back when the journal turns out to
// be damaged.
class JournalTrailRecorder {
 public:
  JournalTrailRecorder(GstTrail& trail, int journal);

  // The journal's rows and accounts, once its counts are checked.
  void read(Session& session, const JournalFiles& files, int rows,
            const std::vector<AnalysisColumn>& columns);
  // The trail line an amount of row t and analysis column `column` is to
  // be recorded into; none when the route leaves it out (it is listed).
  GstTrailLine* amount(int t, int column, Currency value, const GstRoute& route, bool rowSaysGst);
  // The amount's line is complete: kept if it has a share in the figure.
  void recorded();
  // A row in use with no analysis amount.
  void noAmount(int t);
  // The journal is gathered: its lines take the signs the report prints
  // (income turned in an other business's books) and its PAYG line.
  void finish(const GstSettings& settings, Currency payg, Currency totalIncome);
  // The journal is left out: everything of it goes, and it is listed.
  void damaged(JournalDamage damage);

 private:
  std::uint32_t rowIndex(int t);

  GstTrail& mTrail;
  int mJournal;
  std::size_t mRowsBefore;
  std::size_t mLinesBefore;
  std::size_t mNotCountedBefore;
  std::vector<TransactionRecord> mRecords;
  std::vector<std::uint32_t> mRowIndex;  // by row - 1; 0: not listed yet
  int mRecording = 0;                    // the row of the line being recorded
  GstTrailLine mLine;                    // the line being recorded, kept if it has a share
};

}  // namespace lum
