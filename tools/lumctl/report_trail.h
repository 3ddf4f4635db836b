#pragma once

#include <string>

#include "post/journals/journal_damage.h"
#include "post/reports/gst_trail.h"

namespace lum {

class Session;

// The GST report's trail of one figure, or of the whole report, as JSON
// or CSV text, gathered for the session's period; damage: the journals
// left out, for the caller to tell.
std::string gstTrailText(Session& session, TrailFigure figure, bool json, DamageFound& damage);

}  // namespace lum
