#include "post/reports/report_period.h"

#include <fmt/core.h>

#include <array>
#include <vector>

#include "post/login/gst_periods.h"

namespace lum {
namespace {

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

}  // namespace

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

std::string periodName(std::string_view periodKind, char periodLetter,
                       std::optional<Date> gstDate) {
  std::string name = "Full Year";
  if (periodListText(periodKind, periodLetter) != name) {
    // The letters "A" to "L" are the months; a quarter carries its last month's.
    name = kMonthNames[static_cast<std::size_t>(periodLetter - 'A')];
    if (periodKind == "Q") {
      name += " Quarter";
    }
  }
  return gstDate ? fmt::format("{} {}", name, gstDate->year()) : name;
}

std::string longDate(Date date) {
  return fmt::format("{} {} {}", date.day(),
                     kMonthNames[static_cast<std::size_t>(date.month() - 1)], date.year());
}

}  // namespace lum
