// lumctl journal delete-rows: the journal window's F4 and F5.

#include <fmt/core.h>
#include <fmt/ostream.h>

#include "panel/dates.h"
#include "post/journals/journal_files.h"
#include "post/journals/journal_maintenance.h"
#include "post/login/login_records.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"

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
  HeadlessLogin login(global, prompter);
  if (!login.openToChange()) {
    return kExitRefused;
  }
  Session& session = login.session();
  if (!selectPeriod(session, options.period, err)) {
    return kExitUsage;
  }
  const int journals =
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value;
  if (options.journal < 1 || options.journal > journals) {
    fmt::print(err, "lumctl: the entity has no journal {} (it has {})\n", options.journal,
               journals);
    return kExitRefused;
  }
  JournalFiles files(session, options.journal);
  Journal journal = files.load();
  const int removed = before ? deleteRowsBefore(journal, *date, session.clock())
                             : deleteRowsAfter(journal, *date, session.clock());
  if (removed > 0) {
    files.save(journal);
    login.commitChange();
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
