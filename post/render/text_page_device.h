#pragma once

#include <iosfwd>

#include "post/render/page_device.h"

namespace lum {

// Writes each drawn item as one line, for tests and lumctl:
//
//   page y x L|R text          a text starting (L) or ending (R) at x
//   page y x1 RULE x2          a horizontal rule
//   page y1 x1 LINE y2 x2      a line, or a vertical rule
//   page y1 x1 BOX y2 x2       a box
//   page y x POINT             a point
//   page y x PICTURE y2 x2 name
//
// Millimetres with one decimal; y is the top of a text's line. Empty texts
// draw nothing and write nothing.
class TextPageDevice final : public PageDevice {
 public:
  TextPageDevice(std::ostream& out, const TextMetrics& metrics) : mOut(&out), mMetrics(&metrics) {}

  void beginPage(int pageNumber) override { mPage = pageNumber; }
  void setOrientation(Orientation) override {}
  bool setFont(const PageFont&) override { return true; }
  const TextMetrics& metrics() const override { return *mMetrics; }

  void drawText(double x, double y, std::string_view text, TextAnchor anchor, Rgb colour) override;
  void drawRule(double x1, double x2, double y, int width, Rgb colour) override;
  void drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) override;
  void drawPoint(double x, double y, Rgb colour) override;
  void drawBox(double x1, double y1, double x2, double y2, Rgb outline,
               std::optional<Rgb> fill) override;
  void drawPicture(std::span<const std::byte> bytes, std::string_view name, double x, double y,
                   double width, double height) override;

 private:
  std::ostream* mOut;
  const TextMetrics* mMetrics;
  int mPage = 0;
};

}  // namespace lum
