#pragma once

// The values with a meaning that page commands take and the page files
// store as numbers. Each enum holds any stored number: a value without a
// name here is what a damaged or foreign page file may carry, and the
// commands treat it as they always have.

#include <array>
#include <cstddef>

#include "post/render/page_device.h"

namespace lum {

// Where a text stands against its x.
enum class Align : int {
  AtCursor = 0,  // where the last item left the position; x is not used
  Left = 1,      // starting at x
  Right = 2,     // ending at x
};

// How an amount is written: whole dollars with "$" before them, dollars and
// cents, whole dollars. Digits are grouped by thousands; zero is "-" and a
// negative amount stands in parentheses.
enum class AmountStyle : int {
  DollarSignWhole = 0,
  DollarsAndCents = 1,
  WholeDollars = 2,
};

// The report colours of lines, points and boxes; any other number draws black.
enum class ReportColour : int {
  Black = 0,
  LightGrey = 1,
  LightBlue = 2,
  LightYellow = 3,
  LightGreen = 4,
};

inline constexpr std::array<Rgb, 5> kReportColours = {kBlack, rgb(0xD9, 0xD9, 0xD9),
                                                      rgb(0xC6, 0xD9, 0xF1), rgb(0xFF, 0xF2, 0xCC),
                                                      rgb(0xD8, 0xE4, 0xBC)};

constexpr Rgb colourOf(ReportColour colour) {
  const auto index = static_cast<int>(colour);
  return index >= 0 && index < static_cast<int>(kReportColours.size())
             ? kReportColours[static_cast<std::size_t>(index)]
             : kBlack;
}

// The units of the older programs' drawing surfaces. Pages are measured in
// millimetres on every device here; the mode is only kept in the files.
enum class ScaleMode : int {
  User = 0,
  Twips = 1,
  Points = 2,
  Pixels = 3,
  Characters = 4,
  Inches = 5,
  Millimetres = 6,
  Centimetres = 7,
};

// Which coordinate of the current position is asked for.
enum class Axis : int { Horizontal = 0, Vertical = 1 };

// Where the page commands draw. Recording also writes each command to the
// page files while the report is first written (the older programs' device
// "Dis2"); Screen shows a stored page again ("Dis1"); Printer prints stored
// pages, or writes them to a PDF file or a text listing ("Prn1").
enum class OutputDevice { Recording, Screen, Printer };

}  // namespace lum
