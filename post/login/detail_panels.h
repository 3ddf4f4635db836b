#pragma once

#include "post/login/session.h"

namespace lum {

// Gives the journal details (2), account list (3), entity details (6) and
// configuration list (11) windows their panels.
void installDetailWindows(Session& session);

// What showing or closing one of those windows needs besides its panel.
void prepareDetailWindow(Session& session, int window);
void releaseDetailWindow(Session& session, int window);

// OK of a detail window: stores what it shows. False when it must stay
// open (an entity without a name).
bool acceptWindow(Session& session);

// OK, then back to the window below when the details were taken.
void acceptAndClose(Session& session);

}  // namespace lum
