#include <memory>

#include "post/backup/single_entity.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addConvertSingleCommand(CLI::App& app, CommandContext& context) {
  auto yes = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "convert-single",
      "Make the current entity (or --entity) entity 1, the only one of the work area");
  command->add_flag("--yes", *yes, kYesHelp);
  command->callback([&context, yes] {
    AnsweringPrompter prompter(context.err, *yes);
    context.status = runHousekeepingCommand(context, prompter, convertToSingleEntity);
  });
}

}  // namespace lum
