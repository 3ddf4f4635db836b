#pragma once

#include <fmt/core.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/dos_path.h"
#include "platform/scripted_prompter.h"
#include "platform/work_area_lock.h"
#include "tests/support/test_support.h"
#include "utils/utils_session.h"
#include "utils/zip_archive.h"

namespace lum::test {

// Moves a fixed clock on instead of waiting out the lock's probe.
class ClockWaiter final : public Waiter {
 public:
  explicit ClockWaiter(FixedClock& clock) : mClock(clock) {}
  void pause(std::chrono::milliseconds duration) override { mClock.advance(duration); }

 private:
  FixedClock& mClock;
};

// A program directory in a fresh folder and a data manager session over it
// for operator 3 of group 1, on 20 August 2026, with a scripted prompter.
// The work area holds entity 2 of two, "Smith Plumbing" "Pty Ltd".
struct UtilsParts {
  explicit UtilsParts(UtilsCommandLine commandLine = {3, 0, 1})
      : session(makeSession(commandLine)) {
    std::filesystem::create_directories(area());
    std::filesystem::create_directories(dir / "floppy");
    std::filesystem::create_directories(dir / "System" / "Ent-1");
    writeBytes(dir / "System" / "Ent-1" / "Oper.dat", std::vector<std::byte>(88 * 4));
  }

  std::filesystem::path prog() const { return dir / "prog"; }
  std::filesystem::path group() const { return prog() / "Ent-1"; }
  std::filesystem::path area() const {
    return group() / ("Op-" + std::to_string(session.commandLine().operatorNumber));
  }
  std::filesystem::path store() const { return group() / "zip"; }
  std::filesystem::path email() const { return group() / "Email"; }

  // Entcoun.dat (current entity 2 of 2) and Ent.dat, and a few data files.
  void fillWorkArea(const std::string& name = "Smith Plumbing",
                    const std::string& second = "Pty Ltd") {
    writeBytes(area() / "Entcoun.dat", Bytes()
                                           .text("Entities", 24)
                                           .int16(2)
                                           .text("Current", 24)
                                           .int16(2)
                                           .text("Storage", 24)
                                           .int16(0));
    writeBytes(area() / "Ent.dat", Bytes()
                                       .text("Other Entity", 32)
                                       .zeros(306 - 32)
                                       .text(name, 32)
                                       .text(second, 32)
                                       .zeros(306 - 64));
    writeText(area() / "Jnl-0002.dat", "journal headers");
    writeText(area() / "Anstak.dat", "takings accounts");
    writeText(area() / "GrdRecs.dat", std::string(5000, ' '));
  }

  TempDir dir;
  FileOps ops;
  DosPath paths{ops, dir / "prog", dir / "floppy"};
  ScriptedPrompter prompter;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 8, 20), 10, 0, 0}};
  ClockWaiter waiter{clock};
  UtilsSession session;

 private:
  UtilsSession makeSession(UtilsCommandLine commandLine) {
    std::filesystem::create_directories(dir / "prog");
    return UtilsSession(ops, paths, prompter, clock, waiter, commandLine);
  }
};

inline std::string textOf(const std::filesystem::path& file) {
  const auto bytes = readBytes(file);
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The names of the files of a folder, sorted.
inline std::vector<std::string> namesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string quoted(const std::filesystem::path& path) {
  return fmt::format("'{}'", path.string());
}

}  // namespace lum::test

namespace lum {
// A failed expectation shows a zip status by its number.
inline void PrintTo(ZipStatus status, std::ostream* out) {
  *out << zipStatusNumber(status);
}
}  // namespace lum
