#pragma once

#include "post/login/session.h"

namespace lum {

// Gives the journals list (window 0) and the entities list (window 5)
// their panels, fed from the journal list file and the entity file.
void installListWindows(Session& session);

// What showing a list window needs first: the journals list brings the
// main window's period list and banner up to date; the entities list opens
// the entity files and repairs a lost entity count.
void prepareListWindow(Session& session, int window);

// "&Open Journal" (journals list) or "Select" (entities list), and a
// double click on a line.
void openSelectedLine(Session& session, int window);

// "&Details": the details of the selected journal or entity.
void openLineDetails(Session& session, int window);

// Makes an entity the current one of the work area (the entities list
// passes its selected line).
void selectEntity(Session& session, int entity);

// A new entity record after the last, with only its name; returns its number.
int addEntity(Session& session, const std::string& name);

}  // namespace lum
