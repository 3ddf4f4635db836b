#include <memory>

#include "post/backup/journal_housekeeping.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addCloseYearCommand(CLI::App& app, CommandContext& context) {
  auto yes = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "close-year",
      "Delete the rows of every period, zero the budget's actual figures and clear the settled "
      "invoices, as Close Year does");
  command->add_flag("--yes", *yes, kYesHelp);
  command->callback([&context, yes] {
    AnsweringPrompter prompter(context.err, *yes);
    context.status = runHousekeepingCommand(context, prompter, closeYear);
  });
}

}  // namespace lum
