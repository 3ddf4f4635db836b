#include "tools/lumctl/settled_reading.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

#include "platform/errors.h"
#include "tools/lumctl/lumctl.h"
#include "tools/lumctl/private_folder.h"

namespace lum {
namespace {

constexpr int kReadings = 10;
constexpr std::chrono::milliseconds kPauseStep{10};

}  // namespace

void deliver(FileOps& ops, const std::string& outName, const std::string& bytes,
             std::ostream& out) {
  if (outName.empty() || outName == "-") {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return;
  }
  ops.writeFile(outName, std::as_bytes(std::span(bytes.data(), bytes.size())));
}

int readSettled(FileOps& ops, const std::filesystem::path& area, const std::string& outName,
                std::ostream& out, std::ostream& err, const std::function<int(Reading&)>& attempt) {
  try {
    const PrivateFolder folder;
    for (int reading = 1; reading <= kReadings; ++reading) {
      const auto scratch = folder.path() / fmt::format("{}", reading);
      ops.makeDirectory(scratch);
      ops.makeDirectory(scratch / "files");
      ops.makeDirectory(scratch / "made");
      std::optional<WorkAreaSnapshot> files;
      try {
        files.emplace(ops, area, scratch / "files");
      } catch (const FileError&) {
        // The marker went while it was read: the save is over.
      }
      std::ostringstream messages;
      int status = kExitRefused;
      std::string failure;
      std::string output;
      bool keepOutput = false;
      if (files) {
        Reading current{ops, *files, scratch / "made", messages, {}, false};
        try {
          status = attempt(current);
        } catch (const std::exception& error) {
          failure = error.what();
        }
        output = std::move(current.output);
        keepOutput = current.keepOutput;
      }
      if (!files || !files->stillHolds()) {
        std::this_thread::sleep_for(kPauseStep * reading);
        continue;
      }
      err << messages.str();
      if (!failure.empty()) {
        fmt::print(err, "lumctl: {}\n", failure);
        return kExitRefused;
      }
      if (outName.empty() || outName == "-" || status == kExitSuccess || keepOutput) {
        deliver(ops, outName, output, out);
      }
      return status;
    }
    fmt::print(err, "lumctl: the work area kept changing while it was read; try again\n");
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
  }
  return kExitRefused;
}

}  // namespace lum
