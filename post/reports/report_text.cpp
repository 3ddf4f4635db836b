#include "post/reports/report_text.h"

#include <fmt/core.h>

namespace lum {

std::string numberToText(double value) {
  std::string digits = fmt::format("{:.15g}", value < 0 ? -value : value);
  if (digits.starts_with("0.")) {
    digits.erase(0, 1);
  }
  return (value < 0 ? "-" : " ") + digits;
}

}  // namespace lum
