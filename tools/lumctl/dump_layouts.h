#pragma once

#include <cstddef>
#include <functional>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lum {

// A record layout lumctl can print.
struct DumpLayout {
  std::string_view name;                       // for --layout
  std::vector<std::string_view> logicalNames;  // the registry names whose files use it
  std::size_t recordLength;
  // Appends the record's fields to a JSON object; throws FormatError for unreadable bytes.
  std::function<void(std::span<const std::byte>, nlohmann::ordered_json&)> appendFields;
};

const std::vector<DumpLayout>& dumpLayouts();
// By layout name or registry logical name, case-insensitive.
const DumpLayout* findDumpLayout(std::string_view name);
// By the name of a file, as the registry names its files ("Lcn-0001.dat",
// "ScrLoc.Dat", "RpP-3.Dat"), as LumUtils and the ledgers program name
// theirs ("EnList.Dat", "Ltc-1.Dat", "RollAcP.dat"), case-insensitive.
const DumpLayout* dumpLayoutForFile(std::string_view fileName);

}  // namespace lum
