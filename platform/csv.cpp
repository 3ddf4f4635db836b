#include "platform/csv.h"

namespace lum {

std::vector<CsvRecord> parseCsv(std::string_view text) {
  std::vector<CsvRecord> records;
  CsvRecord record{1, {}};
  std::string field;
  bool quoted = false;
  bool fieldStarted = false;
  int line = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        line += c == '\n' ? 1 : 0;
        field += c;
      }
    } else if (c == '"' && field.empty()) {
      quoted = true;
      fieldStarted = true;
    } else if (c == ',') {
      record.fields.push_back(std::move(field));
      field.clear();
      fieldStarted = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
      if (fieldStarted || !field.empty() || !record.fields.empty()) {
        record.fields.push_back(std::move(field));
        records.push_back(std::move(record));
      }
      field.clear();
      fieldStarted = false;
      ++line;
      record = CsvRecord{line, {}};
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (fieldStarted || !field.empty() || !record.fields.empty()) {
    record.fields.push_back(std::move(field));
    records.push_back(std::move(record));
  }
  return records;
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\n\r") == std::string_view::npos) {
    return std::string(text);
  }
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + '"';
}

}  // namespace lum
