#include <fmt/core.h>
#include <fmt/ostream.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "platform/clock.h"
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
  // The crash matrix's fixed time, "yyyy-mm-dd hh:mm:ss".
  if (const char* nowText = std::getenv("LUM_NOW"); nowText != nullptr && *nowText != '\0') {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const auto date =
        std::sscanf(nowText, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second) == 6
            ? lum::Date::fromYmd(year, month, day)
            : std::nullopt;
    if (!date || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
      fmt::print(std::cerr, "lumctl: LUM_NOW takes yyyy-mm-dd hh:mm:ss, not {}\n", nowText);
      return lum::kExitUsage;
    }
    lum::SystemClock::fixProcessTime({*date, hour, minute, second});
  }
  const int status = lum::runLumctl(args, std::cout, std::cerr);
  if (fault) {
    lum::tellFaultNotReached(*fault, std::cerr);
  }
  return status;
}
