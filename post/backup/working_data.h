#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "platform/file_ops.h"

namespace lum {

// The analysis lists the journal set-up copies into each new journal. They
// live among the working data but outlast every clearing of it.
inline constexpr std::array<const char*, 4> kAnalysisTemplates = {"Anljnl.dat", "Anlpch.dat",
                                                                  "Anspay.dat", "Anstak.dat"};

// Whether a file of the work area (by name, in any case) holds working
// data of an entity: the journals' analysis (An, Ax) and period files (D,
// A, G + period letter + journal + entity), the budget, set-up, counters,
// journal list, invoicing files, and the entity list and its counters.
// The other files of the area (GSTDate.dat, DosyaYaz.dat, the page files,
// lum.ini) are not working data, though their names start with the same
// letters as the period files.
bool isWorkingDataFile(std::string_view name);

// A journal period file (D, A or G, a period letter A to M or O, two
// characters of journal number and four of entity number).
bool isJournalPeriodFile(std::string_view name);

// Deletes the working data of the folder, keeping the analysis templates:
// each is copied to its ".bak" name first and back afterwards. Runs within
// the caller's work-area transaction.
void clearWorkingData(FileOps& ops, const std::filesystem::path& folder);

}  // namespace lum
