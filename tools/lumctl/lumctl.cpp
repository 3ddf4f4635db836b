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

namespace lum {
namespace {

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
  app.add_option("--operator", options.operatorNumber, "The operator number (default 1)")
      ->check(CLI::Range(1, 9999));
  app.add_option("--group", options.groupNumber, "The group number (default 0)")
      ->check(CLI::Range(0, 9999));
  app.add_option("--entity", options.entityNumber,
                 "The entity number (default: the work area's current entity)")
      ->check(CLI::Range(1, 9999));

  FileOps ops;
  int status = kExitSuccess;

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
    status = dumpFile(ops, locate(ops, options, dumpFileName), dumpLayoutName, out, err);
  });

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
