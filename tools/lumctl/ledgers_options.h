#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <memory>
#include <string>

#include "post/ledgers/ledger_files.h"

namespace lum {

// Which ledgers client, and which of its period folders, a command works on.
struct LedgersChoice {
  int ledgers = 0;
  std::string folder{LedgerFiles::kCurrent};
};

// Adds --ledgers N (required) and --folder NAME (default Current).
std::shared_ptr<LedgersChoice> addLedgersChoiceOptions(CLI::App& command);

// False, told on err, for a --folder that would leave the group's ledgers
// folder; "Current" is taken in any case.
bool ledgersFolderAccepted(LedgersChoice& choice, std::ostream& err);

}  // namespace lum
