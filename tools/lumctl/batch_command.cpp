#include <fmt/core.h>
#include <fmt/ostream.h>

#include <iostream>
#include <iterator>
#include <memory>
#include <ostream>

#include "platform/work_area_lock.h"
#include "tools/lumctl/batch_script.h"
#include "tools/lumctl/command_context.h"
#include "tools/lumctl/headless.h"

namespace lum {
namespace {

struct BatchOptions {
  std::string file;  // "-": the standard input
  bool keepGoing = false;
};

// Runs one line with the batch's global options and lock.
int runLine(const BatchLine& line, const CommandContext& batch, const GlobalOptions& options) {
  CLI::App app("lumctl: the headless front end of LumPost and LumUtils", "lumctl");
  CommandContext context(options, batch.areaNamed(), batch.in, batch.out, batch.err);
  addCommands(app, context);
  const int status = parseAndRun(app, context, line.words);
  batch.out.flush();
  return status;
}

int runBatch(CommandContext& context, const BatchOptions& batch) {
  std::string text;
  if (batch.file == "-") {
    text.assign(std::istreambuf_iterator<char>(context.in), std::istreambuf_iterator<char>());
  } else {
    if (!context.ops.exists(batch.file) || context.ops.isDirectory(batch.file)) {
      fmt::print(context.err, "lumctl: cannot read {}\n", batch.file);
      return kExitRefused;
    }
    const auto bytes = context.ops.readFile(batch.file);
    text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  const BatchScript script = parseBatchScript(text);
  if (!script.faults.empty()) {
    for (const std::string& fault : script.faults) {
      fmt::print(context.err, "lumctl: {} {}\n", batch.file == "-" ? "batch" : batch.file, fault);
    }
    fmt::print(context.err, "lumctl: nothing was run\n");
    return kExitUsage;
  }

  // One lock for every line, taken by the first that changes the work area.
  FileOps ops;
  SystemClock clock;
  SleepingWaiter waiter;
  WorkAreaLock lock(ops, clock, waiter);
  GlobalOptions options = context.options;
  options.batchLock = &lock;

  int firstFailure = kExitSuccess;
  for (std::size_t n = 0; n < script.lines.size(); ++n) {
    const BatchLine& line = script.lines[n];
    lock.heartbeat();
    const int status = runLine(line, context, options);
    if (status == kExitSuccess) {
      continue;
    }
    fmt::print(context.err, "lumctl: line {} failed (exit status {}): {}\n", line.number, status,
               line.text);
    if (firstFailure == kExitSuccess) {
      firstFailure = status;
    }
    if (!batch.keepGoing) {
      if (n + 1 < script.lines.size()) {
        fmt::print(context.err, "lumctl: the batch stopped there; {} line(s) not run\n",
                   script.lines.size() - n - 1);
      }
      break;
    }
  }
  lock.release();
  return firstFailure;
}

}  // namespace

void addBatchCommand(CLI::App& app, CommandContext& context) {
  auto options = std::make_shared<BatchOptions>();
  CLI::App* batch = app.add_subcommand(
      "batch",
      "Run the commands of a file, one a line, in order, under one lock of the work area "
      "(taken once, by the first line that changes it): the global options given before batch "
      "hold for every line. Words are split as a shell splits them ('...', \"...\", \\); a # "
      "word starts a comment; blank lines are skipped. Stops at the first line that fails, "
      "whose exit status is the batch's");
  batch->add_option("FILE", options->file, "The file of commands; - for the standard input")
      ->required();
  batch->add_flag("--keep-going", options->keepGoing,
                  "Run every line even after one fails; the exit status is still the first "
                  "failure's");
  batch->callback([&context, options] { context.status = runBatch(context, *options); });
}

}  // namespace lum
