#pragma once

#include <compare>
#include <optional>
#include <string>

namespace lum {

// A calendar day of the proleptic Gregorian calendar, years 100 to 9999
// (the range the old programs' dates cover). Cannot hold an invalid day.
class Date {
 public:
  static std::optional<Date> fromYmd(int year, int month, int day);
  // The day of an OLE date number (days since 30/12/1899; a fraction is a
  // time of day and is ignored). Nothing for a number outside the range.
  static std::optional<Date> fromOleDays(double days);

  int year() const { return mYear; }
  int month() const { return mMonth; }
  int day() const { return mDay; }
  // Days since 30/12/1899.
  int oleDays() const;
  static int daysInMonth(int year, int month);

  auto operator<=>(const Date&) const = default;

 private:
  Date(int year, int month, int day) : mYear(year), mMonth(month), mDay(day) {}

  int mYear = 1899;
  int mMonth = 12;
  int mDay = 30;
};

// An OLE date field as stored: a double of days since 30/12/1899. Zero is
// the never-written (blank) value.
struct OleDate {
  double days = 0;

  static OleDate of(Date date) { return OleDate{static_cast<double>(date.oleDays())}; }
  bool isBlank() const { return days == 0; }
  std::optional<Date> date() const { return Date::fromOleDays(days); }
};

}  // namespace lum
