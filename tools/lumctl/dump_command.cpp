#include "tools/lumctl/dump_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <cerrno>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_ops.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/dump_layouts.h"
#include "tools/lumctl/lumctl.h"
#include "tools/lumctl/settled_reading.h"

namespace lum {

int dumpFile(FileOps& ops, const std::filesystem::path& file, const std::string& layoutName,
             std::ostream& out, std::ostream& err) {
  const DumpLayout* layout =
      layoutName.empty() ? dumpLayoutForFile(file.filename().string()) : findDumpLayout(layoutName);
  if (layout == nullptr) {
    fmt::print(err, "lumctl: no record layout is known for {}; name one with --layout\n",
               file.string());
    return kExitRefused;
  }

  // A file of a work area is read as it stood before a save under way there.
  return readSettled(ops, file.parent_path(), "", out, err, [&](Reading& reading) {
    const auto source = reading.files.readPath(file);
    if (!ops.exists(source)) {
      throw FileError("open", file, ENOENT);
    }
    const auto bytes = ops.readFile(source);
    std::ostringstream lines;
    int status = kExitSuccess;
    const std::size_t records = bytes.size() / layout->recordLength;
    for (std::size_t n = 0; n < records; ++n) {
      const std::span<const std::byte> record(bytes.data() + n * layout->recordLength,
                                              layout->recordLength);
      nlohmann::ordered_json line;
      line["rec"] = n + 1;
      try {
        layout->appendFields(record, line);
        lines << line.dump() << '\n';
      } catch (const std::exception& error) {
        fmt::print(reading.err, "lumctl: {} record {} cannot be read: {}\n", file.string(), n + 1,
                   error.what());
        status = kExitRefused;
      }
    }
    if (const std::size_t rest = bytes.size() % layout->recordLength; rest != 0) {
      fmt::print(reading.err,
                 "lumctl: {} is {} bytes, not a whole number of {}-byte {} records; "
                 "the last {} bytes were not read\n",
                 file.string(), bytes.size(), layout->recordLength, layout->name, rest);
      status = kExitRefused;
    }
    reading.output = lines.str();
    return status;
  });
}

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

void addDumpCommand(CLI::App& app, CommandContext& context) {
  struct Options {
    std::string file;
    std::string layout;
  };
  auto options = std::make_shared<Options>();
  CLI::App* dump = app.add_subcommand(
      "dump", "Print every record of a data file as one JSON object a line: {\"rec\": n, ...}");
  dump->add_option("FILE", options->file, "The data file")->required();
  dump->add_option("--layout", options->layout,
                   "The record layout, instead of the file's name: " + layoutNames())
      ->check([](const std::string& name) {
        return findDumpLayout(name) ? std::string() : "no layout is called " + name;
      });
  dump->callback([&context, options] {
    context.status =
        context.workAreaNamed()
            ? dumpFile(context.ops, locate(context.ops, context.options, options->file),
                       options->layout, context.out, context.err)
            : kExitRefused;
  });
}

}  // namespace lum
