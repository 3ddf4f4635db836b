#include "platform/date.h"

#include <cmath>

namespace lum {
namespace {

constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

// Days from 1/1/1970 for a civil date, and back (Howard Hinnant's algorithms).
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const long kOleEpoch = daysFromCivil(1899, 12, 30);

}  // namespace

int Date::daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<Date> Date::fromYmd(int year, int month, int day) {
  if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month)) {
    return std::nullopt;
  }
  return Date(year, month, day);
}

std::optional<Date> Date::fromOleDays(double days) {
  // An OLE date's whole part is its day, also below zero (-1.5 is noon on 29/12/1899).
  const double whole = std::trunc(days);
  if (!std::isfinite(whole) || whole < -657434.0 || whole > 2958465.0) {
    return std::nullopt;
  }
  int y, m, d;
  civilFromDays(kOleEpoch + static_cast<long>(whole), y, m, d);
  return fromYmd(y, m, d);
}

int Date::oleDays() const {
  return static_cast<int>(daysFromCivil(mYear, mMonth, mDay) - kOleEpoch);
}

}  // namespace lum
