#pragma once

#include <string>

#include "post/reports/gst_trail.h"

namespace lum {

// A figure's trail as CSV, for the accountant's working papers: a heading
// line, then a line per amount with what it added to each report column
// ("1" to "7") and to the BAS labels, and its share of the figure; for a
// figure, a line with the cents a whole-dollar label leaves out and the
// total, which is the figure; then the amounts not counted, with why.
std::string trailCsv(const GstTrail& trail, const FigureTrail& figure);

}  // namespace lum
