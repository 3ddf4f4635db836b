#include "post/render/text_page_device.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <algorithm>
#include <ostream>

#include "platform/text.h"

namespace lum {
namespace {

// One decimal, never "-0.0".
std::string mm(double value) {
  std::string text = fmt::format("{:.1f}", value);
  if (text == "-0.0") {
    text = "0.0";
  }
  return text;
}

// A text as one line of the listing: a line end or another control
// character of a damaged text file would otherwise start a line of its own.
std::string oneLine(std::string_view text) {
  std::string line(text);
  std::replace_if(
      line.begin(), line.end(),
      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
  return line;
}

}  // namespace

double FixedTextMetrics::width(const PageFont& font, std::string_view text) const {
  return static_cast<double>(characterCount(text)) * font.size * 0.6 * 25.4 / 72.0;
}

double FixedTextMetrics::lineHeight(const PageFont& font) const {
  return font.size * 1.15 * 25.4 / 72.0;
}

void TextPageDevice::drawText(double x, double y, std::string_view text, TextAnchor anchor, Rgb) {
  if (text.empty()) {
    return;
  }
  fmt::print(*mOut, "{} {} {} {} {}\n", mPage, mm(y), mm(x), anchor == TextAnchor::Left ? "L" : "R",
             oneLine(text));
}

void TextPageDevice::drawRule(double x1, double x2, double y, int, Rgb) {
  fmt::print(*mOut, "{} {} {} RULE {}\n", mPage, mm(y), mm(x1), mm(x2));
}

void TextPageDevice::drawLine(double x1, double y1, double x2, double y2, int, Rgb) {
  fmt::print(*mOut, "{} {} {} LINE {} {}\n", mPage, mm(y1), mm(x1), mm(y2), mm(x2));
}

void TextPageDevice::drawPoint(double x, double y, Rgb) {
  fmt::print(*mOut, "{} {} {} POINT\n", mPage, mm(y), mm(x));
}

void TextPageDevice::drawBox(double x1, double y1, double x2, double y2, Rgb, std::optional<Rgb>) {
  fmt::print(*mOut, "{} {} {} BOX {} {}\n", mPage, mm(y1), mm(x1), mm(y2), mm(x2));
}

void TextPageDevice::drawPicture(std::span<const std::byte>, std::string_view name, double x,
                                 double y, double width, double height) {
  fmt::print(*mOut, "{} {} {} PICTURE {} {} {}\n", mPage, mm(y), mm(x), mm(y + height),
             mm(x + width), oneLine(name));
}

}  // namespace lum
