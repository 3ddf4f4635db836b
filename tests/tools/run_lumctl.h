#pragma once

#include <sstream>
#include <string>
#include <vector>

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

}  // namespace lum::test
