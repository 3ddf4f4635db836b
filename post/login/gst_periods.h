#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"

namespace lum {

// Every letter a journal's period files can carry: the months "A" to "L",
// "M" the monthly full year, "O" the quarterly one (the quarters are "C",
// "F", "I" and "L").
inline constexpr std::string_view kAllPeriodLetters = "ABCDEFGHIJKLMO";

// The GST periods of the main window's period list: months "Jan" to "Dec"
// for a monthly entity, quarters "Mar", "Jun", "Sep", "Dec" for a quarterly
// one ("Q"), then "Full Year".
std::vector<std::string> gstPeriodEntries(std::string_view periodKind);

// The entry shown for a GST date.
int gstPeriodEntryOf(std::string_view periodKind, Date gstDate);

struct GstPeriod {
  char letter;  // names the journal line files: "A" to "L", "M" or "O" for the full year
  Date start;   // the GST date
};

// Choosing entry i in the given year. The full year starts on 13 January
// (monthly) or 15 January (quarterly): the month number past December is
// taken as a day of January, so that a full year saved as the GST date
// comes back as January or the March quarter at the next log-in.
GstPeriod selectGstPeriod(std::string_view periodKind, int entry, int year);

}  // namespace lum
