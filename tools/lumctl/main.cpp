#include <fmt/core.h>
#include <fmt/ostream.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "tools/lumctl/fault_at.h"
#include "tools/lumctl/lumctl.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  // The crash matrix's hook: read here, so that only this program has it.
  const char* faultText = std::getenv("LUM_FAULT_AT");
  std::optional<lum::FaultAt> fault;
  if (faultText != nullptr && *faultText != '\0') {
    fault = lum::parseFaultAt(faultText);
    if (!fault) {
      fmt::print(std::cerr, "lumctl: LUM_FAULT_AT takes kill:N, enospc:N or eio:N, not {}\n",
                 faultText);
      return lum::kExitUsage;
    }
    lum::armFaultAt(*fault, std::cerr);
  }
  const int status = lum::runLumctl(args, std::cout, std::cerr);
  if (fault) {
    lum::tellFaultNotReached(*fault, std::cerr);
  }
  return status;
}
