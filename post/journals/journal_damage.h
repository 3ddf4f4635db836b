#pragma once

// The one place that decides whether a journal's files can be read: a
// line or amounts file that holds fewer rows than the amounts file's
// header says are in use (cut short between records or part-way through
// one), amounts too large to add up, and a journal count past the journals
// the entity has. Every reader of the journals for a report (and the
// ledgers transfer) asks here, so that damage is told in the same words
// everywhere and the damaged journal is left out whole, never read as zeros.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lum {

class JournalFiles;
class Session;

// What is wrong with one journal, and where.
struct JournalDamage {
  int journal = 0;
  std::string journalName;
  std::string file;     // the damaged file's name, as on disk
  std::string problem;  // after the file's name: "holds 40 rows, but 120 are in use"

  // "The journal Sales (journal 2) is damaged: its file DC020001.dat holds
  // 40 rows, but 120 are in use. It is left out of the report."; leftOutOf
  // names what it is left out of.
  std::string message(std::string_view leftOutOf = "the report") const;
};

// Thrown by the checks below; what() is the message.
class JournalDamaged : public std::runtime_error {
 public:
  explicit JournalDamaged(JournalDamage damage);
  const JournalDamage& damage() const { return mDamage; }

 private:
  JournalDamage mDamage;
};

// The counts of a journal's period, from its amounts header.
struct PeriodCounts {
  int rows = 0;
  int lastColumn = 0;
};

// The counts of a journal's period, after checking that the period's line
// and amounts files hold every row in use whole; a period without a line
// file has no rows. Throws JournalDamaged when they do not. One look at
// each file's size: the rows are then read without further checks.
PeriodCounts checkedCounts(Session& session, const JournalFiles& files, char period);

// The damage an amount too large to add up stands for, in the file it was
// read from (a logical name of the journal's files: "GrdAms", "GstPers").
JournalDamage overflowDamage(Session& session, const JournalFiles& files, const char* logicalName,
                             char period);

// The journals of the session's entity: the count its counters file keeps,
// bounded to the journals its journal list holds (and to the 99 its file
// names allow). problem tells a count past them, empty when there is none.
struct JournalCount {
  int count = 0;
  std::string problem;
};
JournalCount countJournals(Session& session);

// What a reading of the entity's journals found damaged, in the order found.
struct DamageFound {
  std::string countProblem;
  std::vector<JournalDamage> journals;  // each left out whole

  bool any() const { return !countProblem.empty() || !journals.empty(); }
  // The messages to tell the user, the count's first.
  std::vector<std::string> messages(std::string_view leftOutOf = "the report") const;
};

}  // namespace lum
