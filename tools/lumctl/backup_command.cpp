#include <memory>

#include "post/backup/data_copies.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addBackupCommand(CLI::App& app, CommandContext& context) {
  struct Options {
    std::string target;
    bool yes = false;
    bool clearDisk = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "backup", "Copy the entity's data onto the floppy (A:, the folder LUM_FLOPPY or floppy/)");
  command->add_option("TARGET", options->target, "floppy")
      ->required()
      ->check(CLI::IsMember({"floppy"}));
  command->add_flag("--yes", options->yes, kYesHelp);
  command->add_flag("--clear-disk", options->clearDisk,
                    "Delete the files of a disk that is not blank (without it such a disk "
                    "stops the copy)");
  command->callback([&context, options] {
    AnsweringPrompter prompter(
        context.err, options->yes,
        {{"Disk is not blank, do you wish to clear it?",
          options->clearDisk ? AnsweringPrompter::Answered{Answer::Yes, ""}
                             : AnsweringPrompter::Answered{Answer::Cancel, "--clear-disk"}}});
    context.status = runHousekeepingCommand(context, prompter, backUpToFloppy);
  });
}

}  // namespace lum
