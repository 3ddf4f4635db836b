#include "post/journals/column_heading.h"

#include <cstdlib>

#include "platform/text.h"

namespace lum {
namespace {

// What a column of the usual width shows on one line.
constexpr std::size_t kOneLine = 11;

}  // namespace

std::string columnHeading(std::string_view name) {
  const std::string_view whole = trim(name);
  if (whole.size() <= kOneLine) {
    return std::string(whole);
  }
  const auto middle = static_cast<std::ptrdiff_t>(whole.size() / 2);
  std::size_t best = std::string_view::npos;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (whole[i] == ' ' && (best == std::string_view::npos ||
                            std::abs(static_cast<std::ptrdiff_t>(i) - middle) <
                                std::abs(static_cast<std::ptrdiff_t>(best) - middle))) {
      best = i;
    }
  }
  if (best == std::string_view::npos) {
    return std::string(whole);  // one word: the column widens to it
  }
  return std::string(trimRight(whole.substr(0, best))) + "\n" +
         std::string(trimLeft(whole.substr(best + 1)));
}

}  // namespace lum
