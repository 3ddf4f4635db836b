#include "tools/lumctl/dump_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>
#include <ostream>

#include "platform/errors.h"
#include "platform/file_ops.h"
#include "tools/lumctl/dump_layouts.h"
#include "tools/lumctl/lumctl.h"

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

  std::vector<std::byte> bytes;
  try {
    bytes = ops.readFile(file);
  } catch (const FileError& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }

  int status = kExitSuccess;
  const std::size_t records = bytes.size() / layout->recordLength;
  for (std::size_t n = 0; n < records; ++n) {
    const std::span<const std::byte> record(bytes.data() + n * layout->recordLength,
                                            layout->recordLength);
    nlohmann::ordered_json line;
    line["rec"] = n + 1;
    try {
      layout->appendFields(record, line);
      out << line.dump() << '\n';
    } catch (const std::exception& error) {
      fmt::print(err, "lumctl: {} record {} cannot be read: {}\n", file.string(), n + 1,
                 error.what());
      status = kExitRefused;
    }
  }
  if (const std::size_t rest = bytes.size() % layout->recordLength; rest != 0) {
    fmt::print(err,
               "lumctl: {} is {} bytes, not a whole number of {}-byte {} records; "
               "the last {} bytes were not read\n",
               file.string(), bytes.size(), layout->recordLength, layout->name, rest);
    status = kExitRefused;
  }
  return status;
}

}  // namespace lum
