#pragma once

#include "post/login/file_registry.h"

namespace lum {

// The operator's class from the suite's operator file: 'Y' for a restricted
// operator (kind 99), 'A' when its profile's record 402 gives it extended
// rights, else 'N'. The profile stays open for peeking. Throws FileError
// when the operator file cannot be read: the launcher always writes it.
char readOperatorClass(FileRegistry& registry, const FileNaming& naming, int operatorNumber);

// Whether the profile of the operator in naming lists the target operator
// among those whose work areas it may look into (records 501 to 600).
bool profileAllowsPeek(FileRegistry& registry, const FileNaming& naming, int target);

}  // namespace lum
