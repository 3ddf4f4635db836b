#include "tools/lumctl/lumctl.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <ostream>

#include "post/login/new_work_area.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"

namespace lum {

CommandContext::CommandContext(CLI::App& app, std::istream& input, std::ostream& output,
                               std::ostream& errors)
    : in(input), out(output), err(errors) {
  app.add_option("--root", options.root, "The program directory (default: the current directory)");
  mOperatorOption =
      app.add_option("--operator", options.operatorNumber, "The operator number (default 1)")
          ->check(CLI::Range(1, 9999));
  mGroupOption = app.add_option("--group", options.groupNumber, "The group number (default 0)")
                     ->check(CLI::Range(0, 9999));
  app.add_option("--entity", options.entityNumber,
                 "The entity number (default: the work area's current entity)")
      ->check(CLI::Range(1, 9999));
}

CommandContext::CommandContext(const GlobalOptions& batchOptions, bool areaNamed,
                               std::istream& input, std::ostream& output, std::ostream& errors)
    : options(batchOptions), in(input), out(output), err(errors), mAreaNamed(areaNamed) {}

bool CommandContext::areaNamed() const {
  if (mOperatorOption == nullptr) {
    return mAreaNamed;
  }
  return mGroupOption->count() > 0 || mOperatorOption->count() > 0;
}

bool CommandContext::workAreaThere() {
  return hasWorkArea(options, err);
}

bool CommandContext::workAreaToChange() {
  const DosPath paths(ops, options.root, DosPath::floppyDirectoryFor(options.root, nullptr));
  settleNewWorkArea(ops, paths, options.groupNumber, options.operatorNumber);
  return workAreaThere();
}

bool CommandContext::workAreaNamed() {
  return !areaNamed() || workAreaThere();
}

void addCommands(CLI::App& app, CommandContext& context) {
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Print the help of every command");
  for (const auto add :
       {addDumpCommand, addNewEntityCommand, addJournalCommands, addJournalCountsCommand,
        addJournalDeleteRowsCommand, addAccountsCommands, addBudgetCommands, addInvoiceCommands,
        addRenderCommand, addReportCommand, addStoreCommands, addHousekeepingCommands,
        addLedgersCommands, addTransferCommand}) {
    add(app, context);
  }
}

int runLumctl(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err) {
  CLI::App app("lumctl: the headless front end of LumPost and LumUtils", "lumctl");
  app.set_version_flag("--version", std::string("lumctl ") + LUM_VERSION,
                       "Print the version of lumctl (the suite's) and exit");
  CommandContext context(app, in, out, err);
  addCommands(app, context);
  addBatchCommand(app, context);
  return parseAndRun(app, context, args);
}

int runLumctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return runLumctl(args, std::cin, out, err);
}

int parseAndRun(CLI::App& app, CommandContext& context, const std::vector<std::string>& args) {
  std::ostream& out = context.out;
  std::ostream& err = context.err;
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kExitSuccess;
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return kExitSuccess;
  } catch (const CLI::CallForVersion& version) {
    fmt::print(out, "{}\n", version.what());
    return kExitSuccess;
  } catch (const CLI::ParseError& error) {
    fmt::print(err, "lumctl: {}\nRun lumctl --help for the commands and their options.\n",
               error.what());
    return kExitUsage;
  }
  return context.status;
}

}  // namespace lum
