// lumctl journal delete-rows: the journal window's F4 and F5.

#include <fmt/core.h>
#include <fmt/ostream.h>

#include "panel/dates.h"
#include "post/journals/journal_maintenance.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/journal_opening.h"

namespace lum {
namespace {

struct DeleteRowsOptions {
  int journal = 1;
  std::string period;
  std::string before;
  std::string after;
  bool yes = false;
};

int deleteRows(const GlobalOptions& global, const DeleteRowsOptions& options, std::ostream& out,
               std::ostream& err) {
  const bool before = !options.before.empty();
  const std::string typed = before ? options.before : options.after;
  SystemClock clock;
  const auto date = parseDate(typed, clock);
  if (!date) {
    fmt::print(err, "lumctl: \"{}\" is not a date\n", typed);
    return kExitUsage;
  }
  const std::string question = before ? "All Rows prior to " + formatDate(*date) +
                                            " will be deleted & compacted.  Are you "
                                            "sure? "
                                      : "All Rows post to " + formatDate(*date) +
                                            " will be deleted & compacted.  Are you "
                                            "sure? ";
  if (!options.yes) {
    fmt::print(err, "lumctl: {}(answer with --yes; nothing was changed)\n", question);
    return kExitRefused;
  }
  StreamPrompter prompter(err);
  JournalOptions journalOptions;
  journalOptions.journal = options.journal;
  journalOptions.period = options.period;
  Opened opened;
  if (const int status = openJournal(global, journalOptions, prompter, err, opened);
      status != kExitSuccess) {
    return status;
  }
  const Clock& now = opened.login->session().clock();
  Journal journal = opened.files->load();
  const int removed =
      before ? deleteRowsBefore(journal, *date, now) : deleteRowsAfter(journal, *date, now);
  if (removed > 0) {
    opened.files->save(journal);
    opened.login->commitChange();
  }
  fmt::print(out, "{}\n", removed);
  return kExitSuccess;
}

}  // namespace

void addJournalDeleteRowsCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<DeleteRowsOptions>();
  CLI::App* command = app.get_subcommand("journal")->add_subcommand(
      "delete-rows",
      "Delete the leading rows dated before a date, or the trailing rows dated after it, and "
      "move the rest up, as F4 and F5 in the journal window do; prints the rows deleted");
  command
      ->add_option("--journal", options->journal,
                   "The journal number (its line in the journals list)")
      ->required();
  command->add_option("--period", options->period, kPeriodHelp)->required();
  auto* before = command->add_option(
      "--before", options->before,
      "Delete the rows dated before this day (dd/mm/yy); a row without a date stops it");
  auto* after =
      command->add_option("--after", options->after, "Delete the rows dated after this day");
  before->excludes(after);
  command->add_flag("--yes", options->yes,
                    "Answer Yes to the question (without it nothing changes)");
  command->callback([&context, options, before, after] {
    if (before->count() + after->count() != 1) {
      fmt::print(context.err, "lumctl: journal delete-rows needs --before or --after\n");
      context.status = kExitUsage;
      return;
    }
    try {
      context.status = context.workAreaToChange()
                           ? deleteRows(context.options, *options, context.out, context.err)
                           : kExitRefused;
    } catch (const std::exception& error) {
      fmt::print(context.err, "lumctl: {}\n", error.what());
      context.status = kExitRefused;
    }
  });
}

}  // namespace lum
