#include "post/render/screen_page_device.h"

#include <cmath>
#include <string>
#include <vector>

namespace lum {
namespace {

// A4 in millimetres.
constexpr double kShortSide = 210;
constexpr double kLongSide = 297;

// The page's picture; its resolution is the device's whatever the zoom,
// so the fonts measure the same.
QImage blankPage(double pixelsPerMillimetre, Orientation orientation, double zoom) {
  const bool portrait = orientation == Orientation::Portrait;
  const auto pixels = [&](double millimetres) {
    return static_cast<int>(std::lround(millimetres * pixelsPerMillimetre * zoom));
  };
  QImage image(pixels(portrait ? kShortSide : kLongSide), pixels(portrait ? kLongSide : kShortSide),
               QImage::Format_RGB32);
  const int dotsPerMetre = static_cast<int>(std::lround(pixelsPerMillimetre * 1000));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  image.fill(Qt::white);
  return image;
}

}  // namespace

ScreenPageDevice::ScreenPageDevice(double pixelsPerMillimetre)
    : PainterPageDevice(QImage()),  // measured on the page itself below
      mPixelsPerMillimetre(pixelsPerMillimetre),
      mImage(blankPage(pixelsPerMillimetre, Orientation::Portrait, 1)) {
  resetMetrics(mImage);
}

ScreenPageDevice::~ScreenPageDevice() = default;

QSizeF ScreenPageDevice::pageSize() const {
  return mOrientation == Orientation::Portrait ? QSizeF(kShortSide, kLongSide)
                                               : QSizeF(kLongSide, kShortSide);
}

const QImage& ScreenPageDevice::image() {
  if (mBlank) {
    mImage.fill(Qt::white);
    mBlank = false;
    mPainted = 0;
  }
  if (mPainted < mItems.size()) {
    painter().begin(&mImage);
    painter().scale(mZoom, mZoom);
    painter().setRenderHint(QPainter::Antialiasing);
    painter().setRenderHint(QPainter::TextAntialiasing);
    for (; mPainted < mItems.size(); ++mPainted) {
      mItems[mPainted]();
    }
    painter().end();
  }
  return mImage;
}

void ScreenPageDevice::beginPage(int) {
  // The font in use carries over to the new page.
  mItems.clear();
  mItems.emplace_back([this, font = lastFont()] { PainterPageDevice::setFont(font); });
  mBlank = true;
}

void ScreenPageDevice::setOrientation(Orientation orientation) {
  if (orientation != mOrientation) {
    mOrientation = orientation;
    mImage = blankPage(mPixelsPerMillimetre, mOrientation, mZoom);
    resetMetrics(mImage);
    mBlank = true;
  }
}

void ScreenPageDevice::setZoom(double zoom) {
  if (zoom > 0 && zoom != mZoom) {
    mZoom = zoom;
    // The page's drawing is kept: it is painted again at the new size.
    mImage = blankPage(mPixelsPerMillimetre, mOrientation, mZoom);
    resetMetrics(mImage);
    mBlank = true;
  }
}

bool ScreenPageDevice::setFont(const PageFont& font) {
  setLastFont(font);
  keep([this, font] { PainterPageDevice::setFont(font); });
  return true;
}

void ScreenPageDevice::drawText(double x, double y, std::string_view text, TextAnchor anchor,
                                Rgb colour) {
  keep([this, x, y, text = std::string(text), anchor, colour] {
    PainterPageDevice::drawText(x, y, text, anchor, colour);
  });
}

void ScreenPageDevice::drawRule(double x1, double x2, double y, int width, Rgb colour) {
  keep([=, this] { PainterPageDevice::drawRule(x1, x2, y, width, colour); });
}

void ScreenPageDevice::drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) {
  keep([=, this] { PainterPageDevice::drawLine(x1, y1, x2, y2, width, colour); });
}

void ScreenPageDevice::drawPoint(double x, double y, Rgb colour) {
  keep([=, this] { PainterPageDevice::drawPoint(x, y, colour); });
}

void ScreenPageDevice::drawBox(double x1, double y1, double x2, double y2, Rgb outline,
                               std::optional<Rgb> fill) {
  keep([=, this] { PainterPageDevice::drawBox(x1, y1, x2, y2, outline, fill); });
}

void ScreenPageDevice::drawPicture(std::span<const std::byte> bytes, std::string_view name,
                                   double x, double y, double width, double height) {
  keep([=, this, copy = std::vector<std::byte>(bytes.begin(), bytes.end()),
        label = std::string(name)] {
    PainterPageDevice::drawPicture(copy, label, x, y, width, height);
  });
}

}  // namespace lum
