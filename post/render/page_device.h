#pragma once

// What the page commands draw on: the viewer's page, the printer, a PDF
// file or a text listing. Positions are millimetres from the top-left corner
// of the page; a text's y is the top of the line it stands on.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lum {

// A colour as the settings files hold it: red in the low byte, then green
// and blue.
using Rgb = std::uint32_t;

constexpr Rgb rgb(int red, int green, int blue) {
  return static_cast<Rgb>(red & 0xFF) | static_cast<Rgb>(green & 0xFF) << 8 |
         static_cast<Rgb>(blue & 0xFF) << 16;
}
constexpr int redOf(Rgb colour) {
  return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(Rgb colour) {
  return static_cast<int>(colour >> 8 & 0xFF);
}
constexpr int blueOf(Rgb colour) {
  return static_cast<int>(colour >> 16 & 0xFF);
}

inline constexpr Rgb kBlack = 0;

enum class Orientation { Portrait = 1, Landscape = 2 };

// The font the page commands have set.
struct PageFont {
  std::string name = "Arial";
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;

  bool operator==(const PageFont&) const = default;
};

// Where a text stands against its x: starting there, or ending there.
enum class TextAnchor { Left, Right };

// Text widths and line heights of a font, in millimetres.
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  virtual double width(const PageFont& font, std::string_view text) const = 0;
  virtual double lineHeight(const PageFont& font) const = 0;
};

// Metrics of no real font: every character is 0.6 of the size wide and a
// line is 1.15 of the size high. Fixed, so tests can work positions out.
class FixedTextMetrics final : public TextMetrics {
 public:
  double width(const PageFont& font, std::string_view text) const override;
  double lineHeight(const PageFont& font) const override;
};

class PageDevice {
 public:
  virtual ~PageDevice() = default;

  // Starts a page: the screen clears its picture, a paged device turns to
  // a new sheet when it has drawn on the current one.
  virtual void beginPage(int pageNumber) = 0;
  // The end of a page; paged devices turn the sheet at the next beginPage.
  virtual void endPage() {}
  // The end of the report: paged devices finish their document.
  virtual void endDocument() {}
  virtual void setOrientation(Orientation orientation) = 0;
  // Copies of each printed page; only printers make more than one.
  virtual void setCopies(int) {}
  // False when the device does not accept the font's name.
  virtual bool setFont(const PageFont& font) = 0;
  virtual const TextMetrics& metrics() const = 0;

  virtual void drawText(double x, double y, std::string_view text, TextAnchor anchor,
                        Rgb colour) = 0;
  // A horizontal rule at y; width in draw-width units (a quarter millimetre each).
  virtual void drawRule(double x1, double x2, double y, int width, Rgb colour) = 0;
  virtual void drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) = 0;
  virtual void drawPoint(double x, double y, Rgb colour) = 0;
  // A box with its outline in one colour, filled in another or left open.
  virtual void drawBox(double x1, double y1, double x2, double y2, Rgb outline,
                       std::optional<Rgb> fill) = 0;
  // A picture file's bytes, painted scaled into the rectangle.
  virtual void drawPicture(std::span<const std::byte> bytes, std::string_view name, double x,
                           double y, double width, double height) = 0;
};

// One millimetre in draw-width units.
inline constexpr double kDrawWidthMillimetres = 0.25;

}  // namespace lum
