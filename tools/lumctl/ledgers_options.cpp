#include "tools/lumctl/ledgers_options.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <ostream>

#include "platform/text.h"

namespace lum {

std::shared_ptr<LedgersChoice> addLedgersChoiceOptions(CLI::App& command) {
  auto choice = std::make_shared<LedgersChoice>();
  command.add_option("--ledgers", choice->ledgers, "The ledgers client number")
      ->required()
      ->check(CLI::PositiveNumber);
  command.add_option("--folder", choice->folder,
                     "The ledgers period folder: Current (the default), the client's main "
                     "folder, or the name of a year put aside in the group's ledgers folder");
  return choice;
}

bool ledgersFolderAccepted(LedgersChoice& choice, std::ostream& err) {
  if (equalsIgnoreCase(choice.folder, LedgerFiles::kCurrent)) {
    choice.folder = LedgerFiles::kCurrent;
    return true;
  }
  if (!LedgerFiles::isFolderName(choice.folder)) {
    fmt::print(err,
               "lumctl: \"{}\" is not a ledgers period folder: give Current or a folder name\n",
               choice.folder);
    return false;
  }
  return true;
}

}  // namespace lum
