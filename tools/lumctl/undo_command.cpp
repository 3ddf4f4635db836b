#include <memory>

#include "post/backup/housekeeping_change.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addUndoCommand(CLI::App& app, CommandContext& context) {
  struct Options {
    std::string name;
    bool yes = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "undo", "Put the files a housekeeping command changed back from its snapshot");
  command->add_option("NAME", options->name, "The snapshot, as lumctl snapshots names it")
      ->required();
  command->add_flag("--yes", options->yes, kYesHelp);
  command->callback([&context, options] {
    AnsweringPrompter prompter(context.err, options->yes);
    context.status = runHousekeepingCommand(context, prompter, [options](Session& session) {
      return undoHousekeeping(session, options->name);
    });
  });
}

}  // namespace lum
