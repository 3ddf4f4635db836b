#include "post/render/font_list.h"

#include <set>

#include "platform/text.h"
#include "post/login/login_records.h"

namespace lum {

void FontList::build(const std::vector<std::string>& screenFonts,
                     const std::vector<std::string>& printerFonts,
                     const std::function<void(int, int)>& progress) {
  std::set<std::string, std::less<>> printer;
  for (const auto& name : printerFonts) {
    printer.insert(std::string(trim(name)));
  }
  std::int64_t last = 1;
  const int total = static_cast<int>(screenFonts.size());
  for (int i = 0; i < total; ++i) {
    const std::string name(trim(screenFonts[static_cast<std::size_t>(i)]));
    // Only names a record can hold whole, so the list never offers a cut name.
    if (!name.empty() && name.size() <= FontNameRecord::kSize && printer.contains(name)) {
      mFile->put(++last, FontNameRecord{name});
    }
    if (progress) {
      progress(i + 1, total);
    }
  }
  mFile->flush();
}

std::vector<std::string> FontList::names() const {
  std::vector<std::string> names;
  const std::int64_t count = mFile->recordCount();
  for (std::int64_t r = 1; r <= count; ++r) {
    names.push_back(mFile->get<FontNameRecord>(r).fontName);
  }
  return names;
}

std::string FontList::chosen() const {
  return mFile->get<FontNameRecord>(1).fontName;
}

void FontList::choose(const std::string& fontName) {
  mFile->put(1, FontNameRecord{std::string(trimRight(fontName))});
  mFile->flush();
}

}  // namespace lum
