// lumctl journal counts: the rows and columns in use of a journal's period,
// as the journal window's F3 shows and sets them.

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <optional>
#include <sstream>

#include "post/journals/journal_files.h"
#include "post/journals/journal_maintenance.h"
#include "post/login/login_records.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/settled_reading.h"

namespace lum {
namespace {

struct CountsOptions {
  int journal = 1;
  std::string period;
  std::optional<int> rows;
  std::optional<int> columns;
};

int journalCount(Session& session) {
  return session.file("counters")
      .get<CounterRecord>(static_cast<int>(EntityCounter::Journals))
      .value;
}

// Prints the counts; with --rows or --cols first sets them.
int journalCounts(const GlobalOptions& global, const CountsOptions& options, std::ostream& out,
                  std::ostream& err, FileSource* source) {
  StreamPrompter prompter(err);
  HeadlessLogin login(global, prompter);
  if (!(source != nullptr ? login.openToRead(*source) : login.openToChange())) {
    return kExitRefused;
  }
  Session& session = login.session();
  if (!selectPeriod(session, options.period, err)) {
    return kExitUsage;
  }
  const int journals = journalCount(session);
  if (options.journal < 1 || options.journal > journals) {
    fmt::print(err, "lumctl: the entity has no journal {} (it has {})\n", options.journal,
               journals);
    return kExitRefused;
  }
  const JournalFiles files(session, options.journal);
  JournalCounts counts = storedCounts(files);
  if (source == nullptr) {
    const struct {
      const std::optional<int>& wanted;
      int& count;
      const char* what;
      int limit;
    } settings[] = {{options.rows, counts.rows, "row", Journal::kMaxRows},
                    {options.columns, counts.columns, "column", Journal::kMaxColumn}};
    for (const auto& setting : settings) {
      if (!setting.wanted) {
        continue;
      }
      if (*setting.wanted < 0 || *setting.wanted > setting.limit) {
        fmt::print(err,
                   "lumctl: {} is not a {} count: it must be a whole number from 0 to {}; "
                   "nothing was changed\n",
                   *setting.wanted, setting.what, setting.limit);
        return kExitRefused;
      }
      setting.count = *setting.wanted;
    }
    storeCounts(files, counts);
    login.commitChange();
  }
  fmt::print(out, "rows {}\ncolumns {}\n", counts.rows, counts.columns);
  return kExitSuccess;
}

}  // namespace

void addJournalCountsCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<CountsOptions>();
  CLI::App* counts = app.get_subcommand("journal")->add_subcommand(
      "counts",
      "Print the rows in use and the last column in use of a journal's period (amounts record "
      "1), as F3 in the journal window shows them; --rows and --cols set them first");
  counts
      ->add_option("--journal", options->journal,
                   "The journal number (its line in the journals list)")
      ->required();
  counts->add_option("--period", options->period, kPeriodHelp)->required();
  counts->add_option("--rows", options->rows, "The rows in use to set, 0 to 2000");
  counts->add_option("--cols", options->columns, "The last column in use to set, 0 to 100");
  counts->callback([&context, options] {
    try {
      if (options->rows || options->columns) {
        context.status =
            context.workAreaToChange()
                ? journalCounts(context.options, *options, context.out, context.err, nullptr)
                : kExitRefused;
        return;
      }
      if (!context.workAreaThere()) {
        context.status = kExitRefused;
        return;
      }
      context.status = readSettled(context.ops, workAreaFolder(context.options), "", context.out,
                                   context.err, [&](Reading& reading) {
                                     std::ostringstream printed;
                                     const int status =
                                         journalCounts(context.options, *options, printed,
                                                       reading.err, &reading.files);
                                     reading.output = printed.str();
                                     return status;
                                   });
    } catch (const std::exception& error) {
      fmt::print(context.err, "lumctl: {}\n", error.what());
      context.status = kExitRefused;
    }
  });
}

}  // namespace lum
