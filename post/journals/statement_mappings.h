#pragma once

// The bank accounts' column mappings of an entity, kept in a text file of
// the work area one a line:
//
//   # name | date | description | amount | debit | credit | balance
//   Cheque | 1 | 4 | | 2 | 3 |
//
// by column numbers, blank or 0 for none; "#" starts a comment. A
// journal's statements are read by the mapping of its name, once chosen.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "post/journals/bank_statement.h"

namespace lum {

// The mapping kept under a name (whatever its case). Nothing when the name
// is not there or its line is not a mapping.
std::optional<StatementMapping> findMapping(std::string_view text, std::string_view name);

// The names the file keeps, in its order.
std::vector<std::string> mappingNames(std::string_view text);

// The file's text with the name's mapping set: its line replaced, or added
// at the end; the other lines as they were.
std::string withMapping(std::string_view text, std::string_view name,
                        const StatementMapping& mapping);

// What a mapping lacks to read a statement ("" when nothing): the date,
// and an amount or a debit and credit column.
std::string mappingProblem(const StatementMapping& mapping);

// Why a name cannot be kept ("" when it can): it is blank, or holds the
// field separator "|".
std::string mappingNameProblem(std::string_view name);

}  // namespace lum
