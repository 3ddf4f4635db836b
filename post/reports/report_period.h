#pragma once

#include <string>
#include <string_view>

namespace lum {

// The period list's text for a period letter: "Jan" to "Dec", the quarters
// "Mar" to "Dec", or "Full Year" ("M" monthly, "O" quarterly).
std::string periodListText(std::string_view periodKind, char periodLetter);

// The period line of the report headings: "For the full year", "For Aug",
// or "For the Sep Quarter".
std::string periodTitle(std::string_view periodKind, char periodLetter);

}  // namespace lum
