#pragma once

#include <string>

#include "post/login/session.h"

namespace lum {

// The banner of an entity: its name, then ", " and the second name line
// when there is one.
std::string entityBannerText(const std::string& name, const std::string& secondLine);

// The banner of the current entity; empty when there is none.
std::string currentEntityBanner(Session& session);

// Rebuilds the GST period list from the entity's period kind, selects the
// period of the GST date, and shows it with the banner on the main window.
void rebuildGstPeriods(Session& session);

// The user picked entry i of the GST period list.
void selectGstPeriod(Session& session, int entry);

// Work from the floppy folder (drive A:) or from the hard-disk work area.
void workFrom(Session& session, bool floppy);

// Enables the main window's commands for the operator and the current window.
void applyOperatorRights(Session& session);

// "Exit": closes the journals list, which ends the program.
void exitCommand(Session& session);

}  // namespace lum
