#include "post/login/gst_periods.h"

#include <algorithm>

namespace lum {
namespace {

constexpr int kMonths = 12;
constexpr int kQuarters = 4;

bool isQuarterly(std::string_view periodKind) {
  return periodKind == "Q";
}

}  // namespace

std::vector<std::string> gstPeriodEntries(std::string_view periodKind) {
  if (isQuarterly(periodKind)) {
    return {"Mar", "Jun", "Sep", "Dec", "Full Year"};
  }
  return {"Jan", "Feb", "Mar", "Apr", "May", "Jun",      "Jul",
          "Aug", "Sep", "Oct", "Nov", "Dec", "Full Year"};
}

int gstPeriodEntryOf(std::string_view periodKind, Date gstDate) {
  return isQuarterly(periodKind) ? (gstDate.month() - 1) / 3 : gstDate.month() - 1;
}

GstPeriod selectGstPeriod(std::string_view periodKind, int entry, int year) {
  const bool quarterly = isQuarterly(periodKind);
  entry = std::clamp(entry, 0, quarterly ? kQuarters : kMonths);
  const int month = quarterly ? 3 * entry + 3 : entry + 1;
  const char letter = static_cast<char>(quarterly ? 'C' + 3 * entry : 'A' + entry);
  const auto start =
      month <= kMonths ? Date::fromYmd(year, month, 1) : Date::fromYmd(year, 1, month);
  return GstPeriod{letter, *start};
}

}  // namespace lum
