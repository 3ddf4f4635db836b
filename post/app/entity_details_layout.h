#pragma once

#include "panel/panel_arrangement.h"

namespace lum {

// The entity details window (Client Manager) as a form: the name on two
// lines, the address with the postcode beside its second line, the
// contact, the telephone, fax and mobile numbers in an Area Code and a
// Number column, and the ABN.
PanelArrangement entityDetailsLayout();

}  // namespace lum
