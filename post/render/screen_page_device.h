#pragma once

#include <QImage>
#include <functional>
#include <vector>

#include "post/render/painter_page_device.h"

namespace lum {

// The viewer's page: an A4 picture, portrait or landscape, white at each
// page start. What the commands draw is kept and painted on the picture
// when it is looked at, so a long report written page after page paints
// only the pages someone sees.
class ScreenPageDevice final : public PainterPageDevice {
 public:
  // Pixels a millimetre; 96 dots an inch by default.
  explicit ScreenPageDevice(double pixelsPerMillimetre = 96 / 25.4);
  ~ScreenPageDevice() override;

  // The page as drawn so far.
  const QImage& image();
  // Draws the page that much larger (or smaller) than its millimetres say;
  // what is measured on the page stays as at 1, so zooming moves nothing.
  void setZoom(double zoom);
  double zoom() const { return mZoom; }
  // The page in millimetres, as the orientation has it.
  QSizeF pageSize() const;
  double pixelsPerMillimetre() const { return mPixelsPerMillimetre; }

  void beginPage(int pageNumber) override;
  void setOrientation(Orientation orientation) override;
  bool setFont(const PageFont& font) override;
  void drawText(double x, double y, std::string_view text, TextAnchor anchor, Rgb colour) override;
  void drawRule(double x1, double x2, double y, int width, Rgb colour) override;
  void drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) override;
  void drawPoint(double x, double y, Rgb colour) override;
  void drawBox(double x1, double y1, double x2, double y2, Rgb outline,
               std::optional<Rgb> fill) override;
  void drawPicture(std::span<const std::byte> bytes, std::string_view name, double x, double y,
                   double width, double height) override;

 private:
  void keep(std::function<void()> item) { mItems.push_back(std::move(item)); }

  double mPixelsPerMillimetre;
  double mZoom = 1;
  Orientation mOrientation = Orientation::Portrait;
  QImage mImage;
  std::vector<std::function<void()>> mItems;  // the page's drawing, in order
  std::size_t mPainted = 0;                   // items already on the picture
  bool mBlank = true;                         // the picture must be made white first
};

}  // namespace lum
