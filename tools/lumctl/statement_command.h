#pragma once

#include <iosfwd>
#include <string>

#include "tools/lumctl/lumctl.h"

namespace CLI {
class App;
}

namespace lum {

class CommandContext;

struct StatementOptions {
  int journal = 1;
  std::string period;
  std::string file;
  std::string mapping;  // a bank account's mapping in the entity's Banks file
  bool dryRun = false;
};

// Types a bank statement's lines into a journal of a period as rows, the
// entity's rules filling their analysis, and saves it; prints the rows
// added as CSV. With dryRun only reads, and prints the rows it would add.
// A line the journal refuses (a date outside its period) or a matched row
// that is faulty is told, and nothing is saved.
int importStatement(const GlobalOptions& global, const StatementOptions& options, std::ostream& out,
                    std::ostream& err);

// "journal import-statement", under the journal command.
void addStatementCommand(CLI::App& journal, CommandContext& context);

}  // namespace lum
