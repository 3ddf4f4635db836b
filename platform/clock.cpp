#include "platform/clock.h"

#include <ctime>
#include <optional>

namespace lum {

namespace {

std::optional<DateTime>& processTime() {
  static std::optional<DateTime> fixed;
  return fixed;
}

}  // namespace

void SystemClock::fixProcessTime(DateTime now) {
  processTime() = now;
}

DateTime SystemClock::now() const {
  if (processTime()) {
    return *processTime();
  }
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  // The system calendar always lies within the Date range.
  return DateTime{*Date::fromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                  local.tm_hour, local.tm_min, local.tm_sec};
}

std::chrono::steady_clock::time_point SystemClock::monotonic() const {
  return std::chrono::steady_clock::now();
}

}  // namespace lum
