#pragma once

#include <filesystem>

#include "platform/file_ops.h"

namespace lum {

// Trans Current to Prev: the previous-year store folder takes the current
// year's names list, count and other "*.dat" files together with the
// archives of the slots the list counts. An archive of the previous year
// whose slot gets no archive from the current year (past the new count, or
// missing there) is deleted, so that no slot names another client's data.
// Made within a WorkAreaTransaction, which makes it one step that
// completes or changes nothing. Throws FileError.
void copyCurrentYearToPrevious(FileOps& ops, const std::filesystem::path& current,
                               const std::filesystem::path& previous);

}  // namespace lum
