#include <memory>

#include "post/backup/journal_housekeeping.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addClearPeriodCommand(CLI::App& app, CommandContext& context) {
  struct Options {
    std::string period;
    bool yes = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "clear-period", "Delete the rows of every journal in one period, as Clear Sel Period does");
  command->add_option("--period", options->period, kPeriodHelp)->required();
  command->add_flag("--yes", options->yes, kYesHelp);
  command->callback([&context, options] {
    AnsweringPrompter prompter(context.err, options->yes);
    context.status =
        runHousekeepingCommand(context, prompter, clearSelectedPeriod, options->period);
  });
}

}  // namespace lum
