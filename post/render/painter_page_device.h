#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "post/render/page_device.h"

class QPaintDevice;

namespace lum {

// The Qt font of a page font.
QFont qtFont(const PageFont& font);

// Font metrics of a paint device, in millimetres; "Arial" and the other
// Windows names are found through fontconfig (Liberation fonts have their
// widths).
class QtTextMetrics final : public TextMetrics {
 public:
  // The metrics of a device of the given resolution.
  explicit QtTextMetrics(double dotsPerInch = 1200);
  explicit QtTextMetrics(const QPaintDevice& device);
  QtTextMetrics(const QtTextMetrics&) = delete;
  QtTextMetrics& operator=(const QtTextMetrics&) = delete;

  // Measures on another device from now on.
  void use(const QPaintDevice& device);

  double width(const PageFont& font, std::string_view text) const override;
  double lineHeight(const PageFont& font) const override;

 private:
  const QFontMetricsF& metricsOf(const PageFont& font) const;

  QImage mProbe;  // stands in for a device given by its resolution
  const QPaintDevice* mDevice = nullptr;
  double mDotsPerMillimetre = 0;
  // The metrics of the font asked for last: reports change fonts seldom.
  mutable std::optional<PageFont> mLastFont;
  mutable std::optional<QFontMetricsF> mLastMetrics;
  // Widths already measured, by font: reports repeat their texts (dates,
  // names, headings) and measure each text again to draw it.
  mutable std::vector<std::pair<PageFont, std::unordered_map<std::string, double>>> mWidths;
  mutable std::size_t mWidthCount = 0;
};

// Draws the page commands with a QPainter in millimetres; the screen, the
// printer and PDF devices differ only in what they paint on and how they
// turn pages.
class PainterPageDevice : public PageDevice {
 public:
  bool setFont(const PageFont& font) override;
  const TextMetrics& metrics() const override { return mMetrics; }
  void drawText(double x, double y, std::string_view text, TextAnchor anchor, Rgb colour) override;
  void drawRule(double x1, double x2, double y, int width, Rgb colour) override;
  void drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) override;
  void drawPoint(double x, double y, Rgb colour) override;
  void drawBox(double x1, double y1, double x2, double y2, Rgb outline,
               std::optional<Rgb> fill) override;
  void drawPicture(std::span<const std::byte> bytes, std::string_view name, double x, double y,
                   double width, double height) override;

 protected:
  // Paints on the device (its resolution fixes the millimetre's size).
  explicit PainterPageDevice(const QPaintDevice& device);
  QPainter& painter() { return mPainter; }
  // Whether painting has begun; nothing is drawn before.
  bool painting() const { return mPainter.isActive(); }
  void resetMetrics(const QPaintDevice& device);
  // The font the commands set last (the screen keeps it for its next page).
  const PageFont& lastFont() const { return mCommandFont; }
  void setLastFont(const PageFont& font) { mCommandFont = font; }
  // Takes up painting again where it was left, if the device can.
  virtual void resume() {}

 private:
  bool ready() {
    resume();
    return painting();
  }
  QPointF at(double x, double y) const;
  QPen pen(int width, Rgb colour) const;

  QPainter mPainter;
  const QPaintDevice* mDevice;
  QtTextMetrics mMetrics;
  double mScale;  // device pixels a millimetre
  PageFont mFont;
  PageFont mCommandFont;
  QFont mQtFont;
  double mAscent = 0;  // device pixels
  bool mFontStale = true;
};

QColor qtColour(Rgb colour);

}  // namespace lum
