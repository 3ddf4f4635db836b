#include "post/journals/journal_maintenance.h"

#include <fmt/core.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "panel/dates.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "post/journals/journal_checks.h"
#include "post/login/journal_line_records.h"

namespace lum {
namespace {

// The quick totals ask nothing; this answers for them.
class NoQuestions final : public Prompter {
 public:
  Answer ask(const Prompt&) override { return Answer::No; }
  std::optional<std::string> input(const InputPrompt&) override { return std::nullopt; }
};

std::optional<Date> rowDate(const Journal& journal, int r, const Clock& clock) {
  return parseDate(trim(journal.row(r).date), clock);
}

bool rowIsEmpty(const Journal& journal, int r) {
  const TransactionRecord& row = journal.row(r);
  if (!trim(row.date).empty() || !trim(row.particulars).empty() || !trim(row.reference).empty() ||
      !trim(row.gst).empty()) {
    return false;
  }
  for (int c = 1; c <= Journal::kMaxColumn; ++c) {
    if (!journal.am(r, c).isZero()) {
      return false;
    }
  }
  return true;
}

// Takes out `count` rows from `first` on: the rows below move up with their
// amounts, the freed rows at the end are emptied, and the totals, balances
// and counts are rebuilt from what is left.
void removeRows(Journal& journal, int first, int count) {
  if (count <= 0) {
    return;
  }
  const int last = journal.rowsInUse;
  for (int r = first; r <= last; ++r) {
    const int from = r + count;
    if (from <= last) {
      journal.row(r) = journal.row(from);
      for (int c = 0; c <= Journal::kMaxColumn; ++c) {
        journal.am(r, c) = journal.am(from, c);
      }
    } else {
      journal.row(r) = TransactionRecord{};
      for (int c = 0; c <= Journal::kMaxColumn; ++c) {
        journal.am(r, c) = Currency();
      }
    }
  }
  journal.rowsInUse = std::max(0, last - count);
  NoQuestions quiet;
  recheckJournal(journal, quiet, true);
}

// The date of the input box, through the panels' date rule; nothing when
// the user cancels, leaves it empty or types no date (told).
std::optional<Date> askDate(Prompter& prompter, const Clock& clock, const char* text) {
  const auto answer = prompter.input(InputPrompt{text, {}, {}});
  if (!answer || trim(*answer).empty()) {
    return std::nullopt;
  }
  const auto date = parseDate(trim(*answer), clock);
  if (!date) {
    prompter.message(fmt::format("\"{}\" is not a date.  No rows were deleted.", trim(*answer)),
                     Icon::Exclamation);
  }
  return date;
}

}  // namespace

std::optional<int> countFromText(std::string_view text, int limit) {
  const std::string_view digits = trim(text);
  if (digits.empty() || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
      })) {
    return std::nullopt;
  }
  const int value = std::stoi(std::string(digits));
  return value <= limit ? std::optional<int>(value) : std::nullopt;
}

std::optional<JournalCounts> askJournalCounts(Prompter& prompter, JournalCounts current) {
  JournalCounts counts = current;
  const struct {
    int* count;
    const char* what;
    const char* prompt;
    int limit;
  } questions[] = {
      {&counts.rows, "row", "Current Row Count is {} Enter Row Count", Journal::kMaxRows},
      {&counts.columns, "column", "Current Col Count is {} Enter Col Count", Journal::kMaxColumn},
  };
  for (const auto& question : questions) {
    const auto answer =
        prompter.input(InputPrompt{fmt::format(fmt::runtime(question.prompt), *question.count),
                                   {},
                                   std::to_string(*question.count)});
    if (!answer || trim(*answer).empty()) {
      continue;
    }
    const auto count = countFromText(*answer, question.limit);
    if (!count) {
      prompter.message(fmt::format("\"{}\" is not a {} count: it must be a whole number from 0 "
                                   "to {}.  The counts stay as they were.",
                                   trim(*answer), question.what, question.limit),
                       Icon::Exclamation);
      return std::nullopt;
    }
    *question.count = *count;
  }
  return counts;
}

JournalCounts storedCounts(const JournalFiles& files) {
  JournalCounts counts;
  const auto path = files.path("GrdAms");
  FileOps& ops = files.ops();
  if (ops.exists(path)) {
    RecordFile amounts(ops, path, AmountsRecord::kSize, RecordFile::Access::ReadOnly);
    const auto header = amounts.get<AmountsRecord>(1);
    counts = {header.rowsInUse(), header.lastColumnInUse()};
  }
  return counts;
}

void storeCounts(const JournalFiles& files, JournalCounts counts) {
  RecordFile amounts(files.ops(), files.path("GrdAms"), AmountsRecord::kSize);
  auto header = amounts.get<AmountsRecord>(1);
  header.amounts[1] = Currency::fromRaw(std::int64_t{counts.rows} * Currency::kScale);
  header.amounts[2] = Currency::fromRaw(std::int64_t{counts.columns} * Currency::kScale);
  amounts.put(1, header);
  amounts.close();
}

int deleteRowsBefore(Journal& journal, Date date, const Clock& clock) {
  int firstKept = 1;
  while (firstKept <= journal.rowsInUse) {
    const auto rowDay = rowDate(journal, firstKept, clock);
    if (!rowDay || *rowDay >= date) {
      break;
    }
    ++firstKept;
  }
  const int removed = firstKept - 1;
  removeRows(journal, 1, removed);
  return removed;
}

int deleteRowsAfter(Journal& journal, Date date, const Clock& clock) {
  int lastKept = journal.rowsInUse;
  while (lastKept >= 1) {
    const auto rowDay = rowDate(journal, lastKept, clock);
    if (!(rowDay && *rowDay > date) && !rowIsEmpty(journal, lastKept)) {
      break;
    }
    --lastKept;
  }
  const int removed = journal.rowsInUse - lastKept;
  removeRows(journal, lastKept + 1, removed);
  return removed;
}

bool askAndDeleteRowsBefore(Journal& journal, Prompter& prompter, const Clock& clock) {
  const auto date = askDate(
      prompter, clock, "Enter the starting date.  Any rows prior to this date will be deleted");
  if (!date || !prompter.confirm("All Rows prior to " + formatDate(*date) +
                                 " will be deleted & compacted.  Are you sure? ")) {
    return false;
  }
  return deleteRowsBefore(journal, *date, clock) > 0;
}

bool askAndDeleteRowsAfter(Journal& journal, Prompter& prompter, const Clock& clock) {
  const auto date = askDate(prompter, clock,
                            "Enter the ending date.  Any rows post to this date will be deleted");
  if (!date || !prompter.confirm("All Rows post to " + formatDate(*date) +
                                 " will be deleted & compacted.  Are you sure? ")) {
    return false;
  }
  return deleteRowsAfter(journal, *date, clock) > 0;
}

}  // namespace lum
