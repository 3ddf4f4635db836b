#include "post/render/plain_page_device.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <cmath>
#include <ostream>

#include "platform/text.h"

namespace lum {
namespace {

constexpr double kSameLine = 1.5;  // millimetres: texts this close in height share a line
constexpr double kFlat = 0.5;      // millimetres: a line this close to level is a rule

int columnOf(double x) {
  return std::max(0, static_cast<int>(std::lround(x / PlainPageDevice::kColumnWidth)));
}

// The characters of a UTF-8 text, each as its bytes; a control character
// of a damaged text file is a space.
std::vector<std::string> charactersOf(std::string_view text) {
  std::vector<std::string> characters;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80 && !characters.empty()) {
      characters.back() += c;
    } else {
      characters.emplace_back(byte < 0x20 || byte == 0x7F ? std::string(" ") : std::string(1, c));
    }
  }
  return characters;
}

// One line of the page: its height and its character cells.
struct Line {
  double y;
  bool rule;
  std::vector<std::string> cells;

  std::string& cell(int column) {
    const auto at = static_cast<std::size_t>(column);
    if (cells.size() <= at) {
      cells.resize(at + 1, " ");
    }
    return cells[at];
  }
  std::string text() const {
    std::string joined;
    for (const std::string& c : cells) {
      joined += c;
    }
    return std::string(trimRight(joined));
  }
};

// Sorted by height, the items whose heights lie within kSameLine of the
// first of their group, a group at a time.
template <class Item, class Each>
void byLine(std::vector<Item>& items, Each each) {
  std::stable_sort(items.begin(), items.end(),
                   [](const Item& a, const Item& b) { return a.y < b.y; });
  for (std::size_t first = 0; first < items.size();) {
    std::size_t end = first + 1;
    while (end < items.size() && items[end].y - items[first].y <= kSameLine) {
      ++end;
    }
    each(std::span<const Item>(items.data() + first, end - first));
    first = end;
  }
}

}  // namespace

void PlainPageDevice::beginPage(int pageNumber) {
  endPage();
  mPage = pageNumber;
  mPageOpen = true;
}

void PlainPageDevice::drawText(double x, double y, std::string_view text, TextAnchor anchor, Rgb) {
  if (!text.empty()) {
    mTexts.push_back({x, y, std::string(text), anchor});
  }
}

void PlainPageDevice::drawRule(double x1, double x2, double y, int, Rgb) {
  mRules.push_back({std::min(x1, x2), std::max(x1, x2), y});
}

void PlainPageDevice::drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) {
  if (std::abs(y1 - y2) < kFlat) {
    drawRule(x1, x2, y1, width, colour);
  } else if (std::abs(x1 - x2) < kFlat) {
    mUprights.push_back({x1, std::min(y1, y2), std::max(y1, y2)});
  }
  // A slanting line has no place on a grid of characters.
}

void PlainPageDevice::drawBox(double x1, double y1, double x2, double y2, Rgb outline,
                              std::optional<Rgb>) {
  drawLine(x1, y1, x2, y1, 1, outline);
  drawLine(x1, y2, x2, y2, 1, outline);
  drawLine(x1, y1, x1, y2, 1, outline);
  drawLine(x2, y1, x2, y2, 1, outline);
}

void PlainPageDevice::drawPicture(std::span<const std::byte>, std::string_view name, double x,
                                  double y, double, double) {
  mTexts.push_back({x, y, fmt::format("[{}]", name), TextAnchor::Left});
}

void PlainPageDevice::endPage() {
  if (!mPageOpen) {
    return;
  }
  mPageOpen = false;
  std::vector<Line> lines;
  byLine(mTexts, [&](std::span<const Text> texts) {
    struct Placed {
      int column;
      std::vector<std::string> characters;
    };
    std::vector<Placed> placed;
    for (const Text& text : texts) {
      auto characters = charactersOf(text.text);
      const int width = static_cast<int>(characters.size());
      const int column = text.anchor == TextAnchor::Left ? columnOf(text.x)
                                                         : std::max(0, columnOf(text.x) - width);
      placed.push_back({column, std::move(characters)});
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.column < b.column; });
    Line line{texts.front().y, false, {}};
    int free = 0;  // the first column a text may start in
    for (const Placed& text : placed) {
      int column = std::max(text.column, free);
      for (const std::string& character : text.characters) {
        line.cell(column++) = character;
      }
      free = column + 1;
    }
    lines.push_back(std::move(line));
  });
  byLine(mRules, [&](std::span<const Rule> rules) {
    Line line{rules.front().y, true, {}};
    for (const Rule& rule : rules) {
      const int last = std::max(columnOf(rule.x1), columnOf(rule.x2) - 1);
      for (int column = columnOf(rule.x1); column <= last; ++column) {
        std::string& cell = line.cell(column);
        cell = cell == " " ? "-" : "=";
      }
    }
    lines.push_back(std::move(line));
  });
  // A rule at a text's height is drawn above it.
  std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
    return a.y < b.y || (a.y == b.y && a.rule && !b.rule);
  });
  for (const Upright& upright : mUprights) {
    for (Line& line : lines) {
      if (line.y > upright.y1 + kFlat && line.y < upright.y2 - kFlat) {
        std::string& cell = line.cell(columnOf(upright.x));
        if (cell == " ") {
          cell = "|";
        }
      }
    }
  }

  if (mAnyPageWritten) {
    *mOut << '\n';
  }
  mAnyPageWritten = true;
  fmt::print(*mOut, "=== page {} ===\n", mPage);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    if (n > 0) {
      const auto gap = std::lround((lines[n].y - lines[n - 1].y) / kLineHeight) - 1;
      for (long blank = std::clamp(gap, 0L, static_cast<long>(kMostBlankLines)); blank > 0;
           --blank) {
        *mOut << '\n';
      }
    }
    *mOut << lines[n].text() << '\n';
  }
  mTexts.clear();
  mRules.clear();
  mUprights.clear();
}

}  // namespace lum
