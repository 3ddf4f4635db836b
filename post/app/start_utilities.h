#pragma once

#include "platform/program_starter.h"
#include "post/login/session.h"

namespace lum {

// "Storage", from the journals list: hands the work area to the data
// manager LumUtils. Closes every
// file and lets go of the work area's lock, starts LumUtils of the program
// directory with the command line "OPERATOR 0 LEDGERS GROUP", waits for the
// user's "Click When Storage is Finalised", then takes the work area back and
// reads the set-up again. When the work area cannot be taken back the user
// is told and the program ends.
void startUtilities(Session& session, ProgramStarter& starter);

}  // namespace lum
