#include <memory>

#include "post/backup/journal_housekeeping.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addEraseCommand(CLI::App& app, CommandContext& context) {
  auto yes = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "erase", "Erase the working data of the work area, keeping the four analysis lists");
  command->add_flag("--yes", *yes, kYesHelp);
  command->callback([&context, yes] {
    AnsweringPrompter prompter(context.err, *yes);
    context.status = runHousekeepingCommand(context, prompter, eraseWorkingData);
  });
}

}  // namespace lum
