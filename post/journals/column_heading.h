#pragma once

#include <string>
#include <string_view>

namespace lum {

// An analysis account's name as its column heading: whole, on two lines
// when it is longer than a column is wide (broken at the blank nearest its
// middle), so that no heading is cut short.
std::string columnHeading(std::string_view name);

}  // namespace lum
