#include "post/render/screen_page_device.h"

#include <cmath>

namespace lum {
namespace {

// A4 in millimetres.
constexpr double kShortSide = 210;
constexpr double kLongSide = 297;

QImage blankPage(double pixelsPerMillimetre, Orientation orientation) {
  const bool portrait = orientation == Orientation::Portrait;
  QImage image(
      static_cast<int>(std::lround((portrait ? kShortSide : kLongSide) * pixelsPerMillimetre)),
      static_cast<int>(std::lround((portrait ? kLongSide : kShortSide) * pixelsPerMillimetre)),
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
      mImage(blankPage(pixelsPerMillimetre, Orientation::Portrait)) {
  resetMetrics(mImage);
}

ScreenPageDevice::~ScreenPageDevice() {
  if (painting()) {
    painter().end();
  }
}

QSizeF ScreenPageDevice::pageSize() const {
  return mOrientation == Orientation::Portrait ? QSizeF(kShortSide, kLongSide)
                                               : QSizeF(kLongSide, kShortSide);
}

void ScreenPageDevice::makeImage() {
  if (painting()) {
    painter().end();
    mResume = true;
  }
  mImage = blankPage(mPixelsPerMillimetre, mOrientation);
  resetMetrics(mImage);
}

void ScreenPageDevice::setOrientation(Orientation orientation) {
  if (orientation != mOrientation) {
    mOrientation = orientation;
    makeImage();
  }
}

const QImage& ScreenPageDevice::image() {
  // Painting ends before the picture is shown; a command drawn later
  // carries on on the same picture.
  if (painting()) {
    painter().end();
    mResume = true;
  }
  return mImage;
}

void ScreenPageDevice::endPage() {
  if (painting()) {
    painter().end();
  }
  mResume = false;
}

void ScreenPageDevice::resume() {
  if (mResume && !painting()) {
    startPainting();
  }
}

void ScreenPageDevice::startPainting() {
  painter().begin(&mImage);
  painter().setRenderHint(QPainter::Antialiasing);
  painter().setRenderHint(QPainter::TextAntialiasing);
  mResume = false;
}

void ScreenPageDevice::beginPage(int) {
  if (painting()) {
    painter().end();
  }
  mImage.fill(Qt::white);
  startPainting();
}

}  // namespace lum
