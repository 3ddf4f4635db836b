#include "post/backup/working_data.h"

#include <cctype>
#include <string>

#include "platform/text.h"

namespace lum {

namespace {

constexpr std::array<std::string_view, 12> kWorkingDataPatterns = {
    "An*.dat",   "Ax*.dat",   "Bdg-*.dat", "Entcoun.dat", "Ent.dat",   "Ini-*.dat",
    "Lcn-*.dat", "Jnl-*.dat", "Inv-*.dat", "InD-*.dat",   "Cus-*.dat", "Prd-*.dat"};

std::filesystem::path bakName(const std::filesystem::path& file) {
  std::filesystem::path bak = file;
  return bak.replace_extension(".bak");
}

}  // namespace

bool isJournalPeriodFile(std::string_view name) {
  constexpr std::size_t kStemLength = 8;  // prefix, period, journal (2), entity (4)
  if (name.size() != kStemLength + 4 || !equalsIgnoreCase(name.substr(kStemLength), ".dat")) {
    return false;
  }
  const char prefix = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  const char period = static_cast<char>(std::toupper(static_cast<unsigned char>(name[1])));
  if ((prefix != 'D' && prefix != 'A' && prefix != 'G') || period < 'A' || period > 'O' ||
      period == 'N') {
    return false;
  }
  for (std::size_t i = 4; i < kStemLength; ++i) {
    if (std::isdigit(static_cast<unsigned char>(name[i])) == 0) {
      return false;
    }
  }
  return true;
}

bool isWorkingDataFile(std::string_view name) {
  if (isJournalPeriodFile(name)) {
    return true;
  }
  for (const std::string_view pattern : kWorkingDataPatterns) {
    if (wildcardMatch(pattern, name)) {
      return true;
    }
  }
  return false;
}

void clearWorkingData(FileOps& ops, const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> kept;
  for (const std::string& name : ops.list(folder)) {
    for (const char* templateName : kAnalysisTemplates) {
      if (equalsIgnoreCase(name, templateName) && !ops.isDirectory(folder / name)) {
        ops.copy(folder / name, bakName(folder / name));
        kept.push_back(folder / name);
      }
    }
  }
  for (const std::string& name : ops.list(folder)) {
    if (isWorkingDataFile(name) && !ops.isDirectory(folder / name)) {
      ops.remove(folder / name);
    }
  }
  for (const std::filesystem::path& file : kept) {
    ops.copy(bakName(file), file);
  }
}

}  // namespace lum
