#pragma once

#include <string>

namespace lum {

// A number as the reports' headings write it: a blank before a number that
// is not negative, no 0 before the point, up to 15 significant digits
// (0.25 gives " .25", 2 gives " 2", -1.5 gives "-1.5").
std::string numberToText(double value);

}  // namespace lum
