#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/date.h"

namespace lum {

// The period list's text for a period letter: "Jan" to "Dec", the quarters
// "Mar" to "Dec", or "Full Year" ("M" monthly, "O" quarterly).
std::string periodListText(std::string_view periodKind, char periodLetter);

// The period line of the report headings: "For the full year", "For Aug",
// or "For the Sep Quarter".
std::string periodTitle(std::string_view periodKind, char periodLetter);

// The period in words for a file name: "March 2026", "September Quarter
// 2026", "Full Year 2026"; the year is that of the GST date, when there is one.
std::string periodName(std::string_view periodKind, char periodLetter, std::optional<Date> gstDate);

// A day in words: "7 December 2026".
std::string longDate(Date date);

}  // namespace lum
