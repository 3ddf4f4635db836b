#include "tools/lumctl/lumctl.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "platform/dos_path.h"
#include "platform/file_ops.h"
#include "tools/lumctl/dump_command.h"
#include "tools/lumctl/dump_layouts.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/journal_command.h"
#include "tools/lumctl/new_entity_command.h"
#include "tools/lumctl/render_command.h"
#include "tools/lumctl/report_command.h"
#include "tools/lumctl/store_command.h"

namespace lum {
namespace {

constexpr const char* kPeriodHelp =
    "The GST period: its letter (A to L monthly, C F I L quarterly, M or O the full year) or "
    "its name in the period selector, in any case: a month (Mar or March; quarterly, the month "
    "that ends the quarter, also as Mar-quarter) or Full Year";

std::string layoutNames() {
  std::string names;
  for (const auto& layout : dumpLayouts()) {
    names += (names.empty() ? "" : ", ") + std::string(layout.name);
  }
  return names;
}

// A file named on the command line: as given, else found in the program
// directory the way the programs find their files (Windows names, any case).
std::filesystem::path locate(FileOps& ops, const GlobalOptions& options, const std::string& name) {
  if (ops.exists(name)) {
    return name;
  }
  const DosPath paths(ops, options.root, DosPath::floppyDirectoryFor(options.root, nullptr));
  return paths.resolve(name);
}

}  // namespace

int runLumctl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app("lumctl: the headless front end of LumPost and LumUtils", "lumctl");
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Print the help of every command");

  GlobalOptions options;
  app.add_option("--root", options.root, "The program directory (default: the current directory)");
  const CLI::Option* operatorOption =
      app.add_option("--operator", options.operatorNumber, "The operator number (default 1)")
          ->check(CLI::Range(1, 9999));
  const CLI::Option* groupOption =
      app.add_option("--group", options.groupNumber, "The group number (default 0)")
          ->check(CLI::Range(0, 9999));
  app.add_option("--entity", options.entityNumber,
                 "The entity number (default: the work area's current entity)")
      ->check(CLI::Range(1, 9999));

  FileOps ops;
  int status = kExitSuccess;
  // Every command but new-entity works in an existing work area; one that
  // does not need it still refuses a --group or --operator naming none.
  const auto workAreaNamed = [&] {
    return (groupOption->count() == 0 && operatorOption->count() == 0) || hasWorkArea(options, err);
  };
  const auto workAreaThere = [&] { return hasWorkArea(options, err); };

  std::string dumpFileName;
  std::string dumpLayoutName;
  CLI::App* dump = app.add_subcommand(
      "dump", "Print every record of a data file as one JSON object a line: {\"rec\": n, ...}");
  dump->add_option("FILE", dumpFileName, "The data file")->required();
  dump->add_option("--layout", dumpLayoutName,
                   "The record layout, instead of the file's name: " + layoutNames())
      ->check([](const std::string& name) {
        return findDumpLayout(name) ? std::string() : "no layout is called " + name;
      });
  dump->callback([&] {
    status = workAreaNamed()
                 ? dumpFile(ops, locate(ops, options, dumpFileName), dumpLayoutName, out, err)
                 : kExitRefused;
  });

  NewEntityOptions entity;
  int postingMode = 0;
  CLI::App* newEntityCommand = app.add_subcommand(
      "new-entity",
      "Add an entity to the operator's work area, with its standard journals, as the entities "
      "list and the entity details window do; prints the new entity's number");
  newEntityCommand->add_option("--name", entity.name, "The entity's name")->required();
  newEntityCommand->add_option("--second-line", entity.secondLine, "The second line of its name");
  newEntityCommand
      ->add_option("--mode", postingMode, "Posting mode: 0 small cash business, 3 other businesses")
      ->check(CLI::IsMember({0, 3}));
  newEntityCommand->add_flag("--quarterly", entity.choices.quarterly,
                             "Quarterly GST periods (default monthly)");
  newEntityCommand->add_flag("--invoicing", entity.choices.invoicing, "Set up invoicing");
  newEntityCommand->add_flag("--accruals", entity.choices.accruals,
                             "GST on accruals (default cash)");
  newEntityCommand->callback([&] {
    entity.choices.otherBusiness = postingMode == 3;
    status = newEntity(options, entity, out, err);
  });

  JournalOptions journal;
  CLI::App* journalCommand =
      app.add_subcommand("journal", "Import rows into a journal, or show it, for one GST period");
  journalCommand->require_subcommand(1);
  const auto journalPlace = [&](CLI::App* command) {
    command
        ->add_option("--journal", journal.journal,
                     "The journal number (its line in the journals list)")
        ->required();
    command->add_option("--period", journal.period, kPeriodHelp)->required();
  };
  CLI::App* importCommand = journalCommand->add_subcommand(
      "import",
      "Type the rows of a CSV file into the journal as at the grid, then save it through the "
      "transaction check. The heading names the columns: date, particulars, ref, gst, the amount "
      "columns (Amount; or Payments/Credits, Receipts/Charges, Balance) and analysis columns by "
      "account name or as #k");
  journalPlace(importCommand);
  importCommand->add_option("FILE", journal.file, "The CSV file")->required();
  importCommand->add_flag("--keep-going", journal.keepGoing,
                          "Save even when cells are refused or the check finds faulty rows");
  importCommand->callback(
      [&] { status = workAreaThere() ? importJournal(options, journal, out, err) : kExitRefused; });
  CLI::App* showCommand = journalCommand->add_subcommand(
      "show", "Print the journal as CSV: the headings, each row with its row balance, the totals");
  journalPlace(showCommand);
  showCommand->callback(
      [&] { status = workAreaThere() ? showJournal(options, journal, out, err) : kExitRefused; });

  RenderOptions render;
  CLI::App* renderCommand = app.add_subcommand(
      "render",
      "Replay the stored pages of the last report (the work area's DosyaYaz.dat and "
      "Kelamlar.dat) as a PDF file or as a text listing: one line per drawn item, "
      "\"page y x L|R text\" in millimetres, rules, lines and boxes as RULE, LINE and BOX");
  renderCommand->add_option("--commands", render.commands, "The page command file");
  renderCommand->add_option("--texts", render.texts, "The page text file");
  renderCommand->add_option("--pages", render.pages, "The pages, A-B or A (default: all)");
  renderCommand->add_option("--format", render.format, "pdf or text")
      ->required()
      ->check(CLI::IsMember({"pdf", "text"}));
  renderCommand->add_option("--out", render.out, "The file written; - for the standard output")
      ->required();
  renderCommand->callback([&] {
    const bool ownFiles = !render.commands.empty() && !render.texts.empty();
    // Without its own page files it says itself that the work area is missing.
    status = !ownFiles || workAreaNamed() ? renderPages(options, render, out, err) : kExitRefused;
  });

  ReportOptions report;
  CLI::App* reportCommand = app.add_subcommand(
      "report", "Run a report for a GST period as the report windows do and write it to a file");
  reportCommand
      ->add_option("REPORT", report.report,
                   "The report: gst, trial-balance, ledgers, profit-and-loss")
      ->required()
      ->check(CLI::IsMember({"gst", "trial-balance", "ledgers", "profit-and-loss"}));
  reportCommand
      ->add_option("--journal", report.journal,
                   "The journal of the trial balance and the ledgers (default 1)")
      ->check(CLI::Range(1, 9999));
  reportCommand->add_flag("--all-periods", report.allPeriods,
                          "Profit and loss over every period of the scheme, not the selected one");
  reportCommand->add_option("--title", report.title,
                            "The profit and loss statement's period line, instead of the one it "
                            "offers");
  reportCommand->add_option("--period", report.period,
                            std::string(kPeriodHelp) + " (default: the period the log-in chose)");
  reportCommand
      ->add_option("--format", report.format,
                   "What to write: pdf or text, the pages (as lumctl render writes them); json, "
                   "the figures")
      ->required()
      ->check(CLI::IsMember({"pdf", "text", "json"}));
  reportCommand->add_option("--out", report.out, "The file to write; - for the standard output")
      ->required();
  reportCommand->callback(
      [&] { status = workAreaThere() ? runReport(options, report, out, err) : kExitRefused; });

  StoreOptions store;
  CLI::App* storeCommand = app.add_subcommand(
      "store",
      "Store Away: zip the work area's data files into a slot of the stored entities list "
      "and name the entity there; prints the slot");
  storeCommand->add_option("--slot", store.slot, "next (default) or the slot to override");
  storeCommand->add_flag("--previous-year", store.previousYear,
                         "Into the previous-year store folder");
  storeCommand->callback(
      [&] { status = workAreaThere() ? storeEntity(options, store, out, err) : kExitRefused; });
  CLI::App* bringBackCommand = app.add_subcommand(
      "bring-back",
      "Bring Back: unzip a stored entity's data files into the work area, over the files there "
      "unless --clear; prints the files written");
  bringBackCommand->add_option("--slot", store.slot, "The slot in the stored entities list")
      ->required();
  bringBackCommand->add_flag("--clear", store.clear,
                             "Clear the work area first (the four analysis lists are kept)");
  bringBackCommand->add_flag("--previous-year", store.previousYear,
                             "From the previous-year store folder");
  bringBackCommand->callback(
      [&] { status = workAreaThere() ? bringBackEntity(options, store, out, err) : kExitRefused; });
  CLI::App* storedCommand = app.add_subcommand(
      "stored", "List the stored entities: slot, name and date stored, tab-separated");
  storedCommand->add_flag("--previous-year", store.previousYear, "The previous-year store folder");
  storedCommand->callback(
      [&] { status = workAreaThere() ? listStored(options, store, out, err) : kExitRefused; });

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kExitSuccess;
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return kExitSuccess;
  } catch (const CLI::ParseError& error) {
    fmt::print(err, "lumctl: {}\nRun lumctl --help for the commands and their options.\n",
               error.what());
    return kExitUsage;
  }
  return status;
}

}  // namespace lum
