#include "post/render/painter_page_device.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <algorithm>

namespace lum {
namespace {

constexpr double kMillimetresPerInch = 25.4;

QString qtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QFont qtFont(const PageFont& font) {
  QFont qt(QString::fromStdString(font.name));
  qt.setPointSizeF(font.size > 0 ? font.size : 10);
  qt.setBold(font.bold);
  qt.setItalic(font.italic);
  qt.setUnderline(font.underline);
  qt.setStrikeOut(font.strikeOut);
  return qt;
}

QColor qtColour(Rgb colour) {
  return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

QtTextMetrics::QtTextMetrics(double dotsPerInch) : mProbe(1, 1, QImage::Format_RGB32) {
  const int dotsPerMetre = static_cast<int>(dotsPerInch / kMillimetresPerInch * 1000 + 0.5);
  mProbe.setDotsPerMeterX(dotsPerMetre);
  mProbe.setDotsPerMeterY(dotsPerMetre);
  use(mProbe);
}

QtTextMetrics::QtTextMetrics(const QPaintDevice& device) {
  use(device);
}

void QtTextMetrics::use(const QPaintDevice& device) {
  mDevice = &device;
  mDotsPerMillimetre = device.logicalDpiY() / kMillimetresPerInch;
  mLastFont.reset();
  mLastMetrics.reset();
  mWidths.clear();
  mWidthCount = 0;
}

const QFontMetricsF& QtTextMetrics::metricsOf(const PageFont& font) const {
  if (!mLastFont || !(*mLastFont == font)) {
    mLastMetrics.emplace(qtFont(font), mDevice);
    mLastFont = font;
  }
  return *mLastMetrics;
}

double QtTextMetrics::width(const PageFont& font, std::string_view text) const {
  if (text.empty()) {
    return 0;
  }
  constexpr std::size_t kMostWidths = 50000;
  auto entry = std::find_if(mWidths.begin(), mWidths.end(),
                            [&](const auto& widths) { return widths.first == font; });
  if (entry == mWidths.end()) {
    entry = mWidths.emplace(mWidths.end(), font, std::unordered_map<std::string, double>{});
  }
  const std::string key(text);
  if (const auto found = entry->second.find(key); found != entry->second.end()) {
    return found->second;
  }
  const double width = metricsOf(font).horizontalAdvance(qtText(text)) / mDotsPerMillimetre;
  if (mWidthCount >= kMostWidths) {
    mWidths.clear();
    mWidthCount = 0;
    mWidths.emplace_back(font, std::unordered_map<std::string, double>{});
    entry = mWidths.begin();
  }
  entry->second.emplace(key, width);
  ++mWidthCount;
  return width;
}

double QtTextMetrics::lineHeight(const PageFont& font) const {
  return metricsOf(font).height() / mDotsPerMillimetre;
}

PainterPageDevice::PainterPageDevice(const QPaintDevice& device)
    : mDevice(&device), mMetrics(device), mScale(device.logicalDpiX() / kMillimetresPerInch) {}

void PainterPageDevice::resetMetrics(const QPaintDevice& device) {
  mDevice = &device;
  mMetrics.use(device);
  mScale = device.logicalDpiX() / kMillimetresPerInch;
  mFontStale = true;
}

QPointF PainterPageDevice::at(double x, double y) const {
  return QPointF(x * mScale, y * mScale);
}

QPen PainterPageDevice::pen(int width, Rgb colour) const {
  QPen pen(qtColour(colour));
  pen.setWidthF(std::max(1, width) * kDrawWidthMillimetres * mScale);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

bool PainterPageDevice::setFont(const PageFont& font) {
  if (!(font == mFont) || mFontStale) {
    mFontStale = false;
    mFont = font;
    mQtFont = qtFont(font);
    mAscent = QFontMetricsF(mQtFont, mDevice).ascent();
  }
  if (painting()) {
    mPainter.setFont(mQtFont);
  }
  return true;
}

void PainterPageDevice::drawText(double x, double y, std::string_view text, TextAnchor anchor,
                                 Rgb colour) {
  if (text.empty() || !ready()) {
    return;
  }
  const QString qt = qtText(text);
  double left = x;
  if (anchor == TextAnchor::Right) {
    left -= mMetrics.width(mFont, text);
  }
  mPainter.setFont(mQtFont);
  mPainter.setPen(qtColour(colour));
  mPainter.drawText(at(left, y) + QPointF(0, mAscent), qt);
}

void PainterPageDevice::drawRule(double x1, double x2, double y, int width, Rgb colour) {
  if (ready()) {
    mPainter.setPen(pen(width, colour));
    mPainter.drawLine(at(x1, y), at(x2, y));
  }
}

void PainterPageDevice::drawLine(double x1, double y1, double x2, double y2, int width,
                                 Rgb colour) {
  if (ready()) {
    mPainter.setPen(pen(width, colour));
    mPainter.drawLine(at(x1, y1), at(x2, y2));
  }
}

void PainterPageDevice::drawPoint(double x, double y, Rgb colour) {
  if (ready()) {
    mPainter.setPen(pen(1, colour));
    mPainter.drawPoint(at(x, y));
  }
}

void PainterPageDevice::drawBox(double x1, double y1, double x2, double y2, Rgb outline,
                                std::optional<Rgb> fill) {
  if (!ready()) {
    return;
  }
  mPainter.setPen(pen(1, outline));
  if (fill) {
    mPainter.setBrush(qtColour(*fill));
  } else {
    mPainter.setBrush(Qt::NoBrush);
  }
  mPainter.drawRect(QRectF(at(x1, y1), at(x2, y2)).normalized());
  mPainter.setBrush(Qt::NoBrush);
}

void PainterPageDevice::drawPicture(std::span<const std::byte> bytes, std::string_view, double x,
                                    double y, double width, double height) {
  if (!ready()) {
    return;
  }
  const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                          static_cast<int>(bytes.size()));
  if (!picture.isNull()) {
    mPainter.drawImage(QRectF(at(x, y), at(x + width, y + height)), picture);
  }
}

}  // namespace lum
