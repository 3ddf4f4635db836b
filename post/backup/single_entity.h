#pragma once

#include "post/login/session.h"

namespace lum {

// "Convert to a single entity": the open entity's files become those of
// entity 1, the only one of the work area, and the other entities' files
// go. Asks first, takes a snapshot to undo it with, changes the area as one
// transaction and reads the set-up again; true when converted.
bool convertToSingleEntity(Session& session);

}  // namespace lum
