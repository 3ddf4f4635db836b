#pragma once

#include <cctype>
#include <map>
#include <string>
#include <string_view>

namespace lum {

// The manual's first heading, over the list of its chapters and sections.
inline constexpr std::string_view kContentsHeading = "Contents";
inline constexpr std::string_view kContentsAnchor = "contents";

// The anchor of a heading, as the project's web pages name it: lower case,
// blanks as hyphens, punctuation other than '-' and '_' dropped
// ("The grid's keys" is "the-grids-keys").
inline std::string anchorOf(std::string_view heading) {
  std::string anchor;
  for (const char c : heading) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '-' || c == '_' || byte >= 0x80) {
      anchor += static_cast<char>(std::tolower(byte));
    } else if (c == ' ') {
      anchor += '-';
    }
  }
  return anchor;
}

// Anchors of the headings of one page in order: a heading met again gets
// "-1", "-2" after its anchor.
class AnchorNames {
 public:
  std::string add(std::string_view heading) {
    const std::string anchor = anchorOf(heading);
    const int seen = mSeen[anchor]++;
    return seen == 0 ? anchor : anchor + "-" + std::to_string(seen);
  }

 private:
  std::map<std::string, int> mSeen;
};

}  // namespace lum
