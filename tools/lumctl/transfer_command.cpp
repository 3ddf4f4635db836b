// lumctl transfer: the entity's journals posted to a ledgers client's files,
// as the Transactions Transfer window does.

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <memory>
#include <optional>
#include <ostream>

#include "post/ledgers/ledgers_transfer.h"
#include "tools/lumctl/housekeeping_run.h"
#include "tools/lumctl/ledgers_options.h"

namespace lum {

void addTransferCommand(CLI::App& app, CommandContext& context) {
  struct Options {
    std::string period;
    bool allPeriods = false;
    bool allTransactions = false;
    bool yes = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* command = app.add_subcommand(
      "transfer",
      "Post the entity's journals to a ledgers client's files, as Transactions Transfer does, "
      "and print the entries, headers and comments appended");
  const auto choice = addLedgersChoiceOptions(*command);
  auto* period =
      command->add_option("--period", options->period,
                          std::string(kPeriodHelp) + " (default: the period the log-in chose)");
  auto* allPeriods = command->add_flag("--all-periods", options->allPeriods,
                                       "Every period of the scheme, not only the selected one");
  period->excludes(allPeriods);
  allPeriods->excludes(period);
  command->add_flag("--all-transactions", options->allTransactions,
                    "Also the rows transferred before (the ledgers then hold them twice)");
  command->add_flag("--yes", options->yes,
                    "Answer Yes to every question (without it nothing changes)");
  command->callback([&context, options, choice] {
    if (!ledgersFolderAccepted(*choice, context.err)) {
      context.status = kExitRefused;
      return;
    }
    TransferRequest request;
    request.ledgers = choice->ledgers;
    request.folder = choice->folder;
    request.allTransactions = options->allTransactions;
    request.allPeriods = options->allPeriods;
    AnsweringPrompter prompter(context.err, options->yes);
    std::optional<TransferCounts> counts;
    context.status = runHousekeepingCommand(
        context, prompter,
        [&](Session& session) {
          counts = transferToLedgers(session, request);
          // An unanswered question stops the command with nothing changed,
          // even where the transfer would go on.
          return counts.has_value() && !prompter.refused();
        },
        options->period);
    if (context.status == kExitSuccess) {
      fmt::print(context.out, "entries {}\nheaders {}\ncomments {}\n", counts->entries,
                 counts->headers, counts->comments);
    }
  });
}

}  // namespace lum
