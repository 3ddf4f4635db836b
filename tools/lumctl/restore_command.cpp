#include <memory>

#include "post/backup/data_copies.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addRestoreCommand(CLI::App& app, CommandContext& context) {
  struct Options {
    std::string source;
    bool yes = false;
    bool keep = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "restore",
      "Copy data into the work area: from the floppy, from the backup folder, or the older "
      "version's data from the program directory");
  command->add_option("SOURCE", options->source, "floppy, backup or older")
      ->required()
      ->check(CLI::IsMember({"floppy", "backup", "older"}));
  command->add_flag("--yes", options->yes, kYesHelp);
  command->add_flag("--keep", options->keep,
                    "From the floppy: keep the existing working data (without it, it is cleared "
                    "first)");
  command->callback([&context, options] {
    AnsweringPrompter prompter(context.err, options->yes,
                               {{"Do you want to keep the existing data in the working area?",
                                 {options->keep ? Answer::Yes : Answer::No, ""}}});
    const auto action = options->source == "floppy"   ? restoreFromFloppy
                        : options->source == "backup" ? restoreFromBackupFolder
                                                      : takeOverOlderData;
    context.status = runHousekeepingCommand(context, prompter, action);
  });
}

}  // namespace lum
