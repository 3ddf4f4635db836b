#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/record_file.h"

namespace lum {

// FontList.ini: record 1 holds the chosen report font, records 2 onwards
// the fonts that both the screen and the printer have. The list counts as
// built once it has a record beyond the first, and is then never built
// again; its length is the number of its last record.
class FontList {
 public:
  explicit FontList(RecordFile& file) : mFile(&file) {}

  bool built() const { return mFile->recordCount() > 1; }
  // Writes every font the two lists share, in the screen's order, from
  // record 2; progress(done, total) after each screen font. When they share
  // none the list stays unbuilt, to be tried again next time.
  void build(const std::vector<std::string>& screenFonts,
             const std::vector<std::string>& printerFonts,
             const std::function<void(int, int)>& progress = {});
  // Records 1 to the last: the current choice first, then the shared fonts.
  std::vector<std::string> names() const;
  std::string chosen() const;
  void choose(const std::string& fontName);

 private:
  RecordFile* mFile;
};

}  // namespace lum
