#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/date.h"

namespace lum {

// The year of a two-digit year: the one that lies between 79 years before
// and 20 years after the current year (in 2026: 00-46 are 2000-2046 and
// 47-99 are 1947-1999). Unlike a fixed 1930-2029 window it keeps working
// as the years go by.
int expandTwoDigitYear(int twoDigitYear, int currentYear);

// A typed date: day, month and year separated by "/", "." , "-" or blanks
// ("7/8/05", "1.2.2005", "1 Feb 05"); a four-digit first field is read as
// year-month-day; without a year the current year is meant. Nothing when
// the text is not a valid date.
std::optional<Date> parseDate(std::string_view text, const Clock& clock);

// "dd/mm/yy".
std::string formatDate(Date date);

// The panels' date rule: a valid date is rewritten as "dd/mm/yy", anything
// else becomes empty.
std::string normaliseDate(std::string_view text, const Clock& clock);

}  // namespace lum
