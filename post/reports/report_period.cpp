#include "post/reports/report_period.h"

#include <vector>

#include "post/login/gst_periods.h"

namespace lum {

std::string periodListText(std::string_view periodKind, char periodLetter) {
  const bool quarterly = periodKind == "Q";
  const std::vector<std::string> entries = gstPeriodEntries(periodKind);
  const int position = quarterly ? (periodLetter - 'C') / 3 : periodLetter - 'A';
  if (position < 0 || position + 1 >= static_cast<int>(entries.size()) ||
      (quarterly && (periodLetter - 'C') % 3 != 0)) {
    return entries.back();  // the full year
  }
  return entries[static_cast<std::size_t>(position)];
}

std::string periodTitle(std::string_view periodKind, char periodLetter) {
  const std::string text = periodListText(periodKind, periodLetter);
  if (text == "Full Year") {
    return "For the full year";
  }
  return periodKind == "M" ? "For " + text : "For the " + text + " Quarter";
}

}  // namespace lum
