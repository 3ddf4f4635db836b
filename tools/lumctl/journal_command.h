#pragma once

#include <iosfwd>
#include <string>

#include "tools/lumctl/lumctl.h"

namespace lum {

struct JournalOptions {
  int journal = 1;
  std::string period;  // the period letter
  std::string file;
  bool keepGoing = false;
  std::string out = "-";  // export: the file written; "-" for the standard output
};

// Types the rows of a CSV file into a journal of a period as a person would
// at the grid, then saves it through the transaction check.
int importJournal(const GlobalOptions& global, const JournalOptions& options, std::ostream& out,
                  std::ostream& err);

// Prints a journal of a period as CSV: the headings, each row with its row
// balance, then the column totals.
int showJournal(const GlobalOptions& global, const JournalOptions& options, std::ostream& out,
                std::ostream& err);

// Writes a journal of a period as the CSV that importJournal reads: the
// grid's columns under headings that name them (an analysis column by its
// account's name, or as #k where the name is blank or would name another
// column), a line a row, blank rows kept.
int exportJournal(const GlobalOptions& global, const JournalOptions& options, std::ostream& out,
                  std::ostream& err);

}  // namespace lum
