#pragma once

#include <QImage>

#include "post/render/painter_page_device.h"

namespace lum {

// The viewer's page: an A4 picture, portrait or landscape, cleared white at
// each page start.
class ScreenPageDevice final : public PainterPageDevice {
 public:
  // Pixels a millimetre; 96 dots an inch by default.
  explicit ScreenPageDevice(double pixelsPerMillimetre = 96 / 25.4);
  ~ScreenPageDevice() override;

  // The page as drawn so far.
  const QImage& image();
  // The page in millimetres, as the orientation has it.
  QSizeF pageSize() const;

  void beginPage(int pageNumber) override;
  void endPage() override;
  void setOrientation(Orientation orientation) override;

 protected:
  void resume() override;

 private:
  void makeImage();
  void startPainting();

  double mPixelsPerMillimetre;
  Orientation mOrientation = Orientation::Portrait;
  QImage mImage;
  bool mResume = false;  // the picture was shown in the middle of a page
};

}  // namespace lum
