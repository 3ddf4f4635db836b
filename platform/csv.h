#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lum {

// Comma-separated lines as spreadsheets write them: fields in double quotes
// may hold commas, line breaks and doubled quotes. Returns the records with
// the line number each starts on.
struct CsvRecord {
  int line;
  std::vector<std::string> fields;
};
std::vector<CsvRecord> parseCsv(std::string_view text);

// One field, quoted when it needs to be.
std::string csvField(std::string_view text);

}  // namespace lum
