#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tools/lumctl/fault_at.h"
#include "tools/lumctl/lumctl.h"

namespace lum::test {

struct LumctlOutcome {
  int status;
  std::string out;
  std::string err;
};

// Runs lumctl in this process with the arguments after the program name.
inline LumctlOutcome lumctl(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = runLumctl(args, out, err);
  return LumctlOutcome{status, out.str(), err.str()};
}

// Runs lumctl in a child process that ends at its nth file operation, as
// on a kill; returns the child's exit status.
inline int lumctlStoppedAt(const std::vector<std::string>& args, std::uint64_t operation) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::ostringstream err;
    armFaultAt({Failure::Stop, operation}, err);
    std::_Exit(lumctl(args).status);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Operator 1 of group 1 in a program directory in a fresh folder.
struct LumctlArea {
  std::filesystem::path prog() const { return dir / "prog"; }
  std::filesystem::path area() const { return prog() / "Ent-1" / "Op-1"; }
  // Runs lumctl over the program directory for group 1.
  LumctlOutcome run(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--root", prog().string(), "--group", "1"});
    return lumctl(args);
  }

  TempDir dir;
};

}  // namespace lum::test
