#pragma once

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
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
