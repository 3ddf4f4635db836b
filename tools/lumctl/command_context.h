#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>

#include "platform/file_ops.h"
#include "tools/lumctl/lumctl.h"

namespace lum {

// What the commands of lumctl are registered with: the global options as
// parsed, the output streams, and the exit status a command leaves. Each
// command's file adds its subcommand, options and callback to the app.
class CommandContext {
 public:
  CommandContext(CLI::App& app, std::istream& input, std::ostream& output, std::ostream& errors);
  // A line of a batch: the batch's global options, none of its own.
  CommandContext(const GlobalOptions& batchOptions, bool areaNamed, std::istream& input,
                 std::ostream& output, std::ostream& errors);

  GlobalOptions options;
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  FileOps ops;
  int status = kExitSuccess;

  // Every command but new-entity works in an existing work area: false,
  // told on err, when there is none.
  bool workAreaThere();
  // The same for a command that changes the area, which first settles the
  // making of the area when it was cut short.
  bool workAreaToChange();
  // A command that needs no work area still refuses a --group or
  // --operator naming none.
  bool workAreaNamed();
  // Whether --group or --operator was given.
  bool areaNamed() const;

 private:
  const CLI::Option* mOperatorOption = nullptr;
  const CLI::Option* mGroupOption = nullptr;
  bool mAreaNamed = false;  // a batch line's: as its batch was given
};

// The help of every --period option.
inline constexpr const char* kPeriodHelp =
    "The GST period: its letter (A to L monthly, C F I L quarterly, M or O the full year) or "
    "its name in the period selector, in any case: a month (Mar or March; quarterly, the month "
    "that ends the quarter, also as Mar-quarter) or Full Year";

// The commands, each registered from its own file.
void addDumpCommand(CLI::App& app, CommandContext& context);
void addNewEntityCommand(CLI::App& app, CommandContext& context);
void addJournalCommands(CLI::App& app, CommandContext& context);
void addJournalCountsCommand(CLI::App& app, CommandContext& context);
void addJournalDeleteRowsCommand(CLI::App& app, CommandContext& context);
void addAccountsCommands(CLI::App& app, CommandContext& context);
void addBudgetCommands(CLI::App& app, CommandContext& context);
void addInvoiceCommands(CLI::App& app, CommandContext& context);
void addRenderCommand(CLI::App& app, CommandContext& context);
void addReportCommand(CLI::App& app, CommandContext& context);
void addStoreCommands(CLI::App& app, CommandContext& context);
void addLedgersCommands(CLI::App& app, CommandContext& context);
void addTransferCommand(CLI::App& app, CommandContext& context);
void addBatchCommand(CLI::App& app, CommandContext& context);
// Clearing, closing, erasing, backing up, restoring, converting and undoing
// (see housekeeping_run.h).
void addHousekeepingCommands(CLI::App& app, CommandContext& context);

// Every command but batch, and the help of them all.
void addCommands(CLI::App& app, CommandContext& context);
// Parses the arguments and runs the command they name; its exit status.
int parseAndRun(CLI::App& app, CommandContext& context, const std::vector<std::string>& args);

}  // namespace lum
