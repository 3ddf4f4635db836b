#pragma once

#include <optional>
#include <string_view>

#include "platform/clock.h"
#include "platform/date.h"
#include "platform/prompter.h"
#include "post/journals/journal.h"
#include "post/journals/journal_files.h"

namespace lum {

// The counts in use that amounts record 1 of a journal's period keeps.
struct JournalCounts {
  int rows = 0;
  int columns = 0;
  bool operator==(const JournalCounts&) const = default;
};

// A typed count: a whole number from 0 to limit, blanks around it allowed.
std::optional<int> countFromText(std::string_view text, int limit);

// Asks for the rows and then the columns in use, each input box showing the
// current count. An empty or cancelled answer keeps that count; an answer
// that is no whole number within the journal's bounds is told and nothing
// is returned, so nothing changes.
std::optional<JournalCounts> askJournalCounts(Prompter& prompter, JournalCounts current);

// The counts as amounts record 1 of the files' period holds them, and
// writing them there (the rest of the record is kept).
JournalCounts storedCounts(const JournalFiles& files);
void storeCounts(const JournalFiles& files, JournalCounts counts);

// Removes the leading rows dated before the date: rows are passed over
// while they hold a valid date earlier than it, so a row without a date
// stops the removal. The kept rows move up, the freed rows at the end are
// emptied, and the totals and balances are rebuilt. Returns the rows removed.
int deleteRowsBefore(Journal& journal, Date date, const Clock& clock);
// Removes the trailing rows dated after the date (empty rows at the end go
// with them); a row without a date or dated on or before it stops the removal.
int deleteRowsAfter(Journal& journal, Date date, const Clock& clock);

// F4 and F5 of the journal window: ask the date and whether to go on, then
// delete. Rows dated on the date itself are kept. True when rows were removed.
bool askAndDeleteRowsBefore(Journal& journal, Prompter& prompter, const Clock& clock);
bool askAndDeleteRowsAfter(Journal& journal, Prompter& prompter, const Clock& clock);

}  // namespace lum
