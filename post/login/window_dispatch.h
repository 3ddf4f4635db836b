#pragma once

#include "panel/input_panel.h"
#include "post/login/session.h"

namespace lum {

// Opens window n on top of the current one, which it returns to on closing.
void openWindow(Session& session, int index);

// Prepares and shows the current window, disabling the one it was opened from.
void showWindow(Session& session);

// Closes the current window: releases its files, stores its position and
// returns to the window it was opened from. Closing the journals list ends
// the program; so does closing any window while the first entity is set up.
void closeWindow(Session& session);

// F2 to F5 from any window: F3 (fix row and column counters) acts
// everywhere, the others only while the journal grid is current.
void functionKey(Session& session, PanelKey key);

}  // namespace lum
