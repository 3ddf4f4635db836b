#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "post/render/page_device.h"

namespace lum {

// Writes each page as plain text, laid out as a person reads it: every text
// stands on a character grid where its position puts it (a text ending at
// x ends in x's column), texts drawn at about the same height share a line,
// rules are lines of '-' ('=' where two lie together, as a double rule),
// vertical lines and the sides of boxes are '|' on the lines between their
// ends, and a picture is its name in brackets. Each page starts with a line
// "=== page N ===", after a blank line from the page before. Vertical space
// is kept as at most two blank lines; a text that would run into the one
// before it on its line moves right to leave a space.
class PlainPageDevice final : public PageDevice {
 public:
  static constexpr double kColumnWidth = 1.8;  // millimetres a character
  static constexpr double kLineHeight = 4.2;   // millimetres a line
  static constexpr int kMostBlankLines = 2;

  PlainPageDevice(std::ostream& out, const TextMetrics& metrics) : mOut(&out), mMetrics(&metrics) {}

  void beginPage(int pageNumber) override;
  void endPage() override;
  void endDocument() override { endPage(); }
  void setOrientation(Orientation) override {}
  bool setFont(const PageFont&) override { return true; }
  const TextMetrics& metrics() const override { return *mMetrics; }

  void drawText(double x, double y, std::string_view text, TextAnchor anchor, Rgb colour) override;
  void drawRule(double x1, double x2, double y, int width, Rgb colour) override;
  void drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) override;
  void drawPoint(double, double, Rgb) override {}
  void drawBox(double x1, double y1, double x2, double y2, Rgb outline,
               std::optional<Rgb> fill) override;
  void drawPicture(std::span<const std::byte> bytes, std::string_view name, double x, double y,
                   double width, double height) override;

 private:
  struct Text {
    double x;
    double y;
    std::string text;
    TextAnchor anchor;
  };
  struct Rule {
    double x1;
    double x2;
    double y;
  };
  struct Upright {
    double x;
    double y1;
    double y2;
  };

  std::ostream* mOut;
  const TextMetrics* mMetrics;
  int mPage = 0;
  bool mPageOpen = false;
  bool mAnyPageWritten = false;
  std::vector<Text> mTexts;
  std::vector<Rule> mRules;
  std::vector<Upright> mUprights;
};

}  // namespace lum
