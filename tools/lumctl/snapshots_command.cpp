#include <fmt/core.h>
#include <fmt/ostream.h>

#include <ostream>

#include "post/backup/snapshots.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/housekeeping_run.h"

namespace lum {

void addSnapshotsCommand(CLI::App& app, CommandContext& context) {
  CLI::App* command =
      app.add_subcommand("snapshots",
                         "List the snapshots housekeeping took to be undone with, newest first: "
                         "name<TAB>operation<TAB>date-time");
  command->callback([&context] {
    if (!context.workAreaThere()) {
      context.status = kExitRefused;
      return;
    }
    try {
      for (const SnapshotInfo& info : listSnapshots(context.ops, workAreaFolder(context.options))) {
        fmt::print(context.out, "{}\t{}\t{}\n", info.name, info.operation, info.taken);
      }
    } catch (const std::exception& error) {
      fmt::print(context.err, "lumctl: {}\n", error.what());
      context.status = kExitRefused;
    }
  });
}

}  // namespace lum
