#pragma once

#include <QPagedPaintDevice>

#include "post/render/painter_page_device.h"

namespace lum {

// A device of sheets: the printer or a PDF file. A4 in either orientation,
// millimetres from the sheet's corner; a new sheet is taken when a page
// starts after one has been drawn.
class PagedPageDevice : public PainterPageDevice {
 public:
  explicit PagedPageDevice(QPagedPaintDevice& device);
  ~PagedPageDevice() override;

  void beginPage(int pageNumber) override;
  void endPage() override {}
  void endDocument() override;
  void setOrientation(Orientation orientation) override { mOrientation = orientation; }

  int sheets() const { return mSheets; }

 protected:
  // The sheet of a page is taken at its first drawing, so that an
  // orientation set at the top of the page still applies to it.
  void resume() override;

 private:
  void applyLayout();

  QPagedPaintDevice* mDevice;
  Orientation mOrientation = Orientation::Portrait;
  int mSheets = 0;
  bool mPagePending = false;
};

}  // namespace lum
