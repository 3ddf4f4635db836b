#pragma once

#include <optional>
#include <string>
#include <vector>

#include "post/login/file_registry.h"
#include "post/login/login_values.h"

namespace lum {

// The report option of the first line of a lum.ini: the text after the
// first "=", trimmed and upper-cased; empty when the line has no "=".
std::string reportOptionOf(const std::optional<std::vector<std::string>>& lumIni);

// Records 1 to 9 of an Ini- file.
SetupValues readSetupValues(RecordFile& ini);

// Opens the log-in file set: reads the report option from the work area's
// lum.ini (only when the program directory has a Lum.ini) and the set-up
// values, then opens FontList, counters, Jnl, ScrLoc, Butce, Log and RepPar,
// which stay open, and reads the invoice, product and customer counts.
void openLoginFileSet(FileRegistry& registry, const FileNaming& naming, LoginValues& login);

}  // namespace lum
