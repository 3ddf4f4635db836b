#include "post/render/paged_page_device.h"

#include <QPageLayout>
#include <QPageSize>

namespace lum {

PagedPageDevice::PagedPageDevice(QPagedPaintDevice& device)
    : PainterPageDevice(device), mDevice(&device) {
  applyLayout();
}

PagedPageDevice::~PagedPageDevice() {
  if (painting()) {
    painter().end();
  }
}

void PagedPageDevice::applyLayout() {
  mDevice->setPageLayout(QPageLayout(
      QPageSize(QPageSize::A4),
      mOrientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

void PagedPageDevice::beginPage(int) {
  resume();  // a page before it that drew nothing still has its sheet
  mPagePending = true;
}

void PagedPageDevice::resume() {
  if (!mPagePending) {
    return;
  }
  mPagePending = false;
  applyLayout();
  if (!painting()) {
    painter().begin(mDevice);
    painter().setRenderHint(QPainter::Antialiasing);
    resetMetrics(*mDevice);
  } else {
    mDevice->newPage();
  }
  ++mSheets;
}

void PagedPageDevice::endDocument() {
  resume();
  if (painting()) {
    painter().end();
  }
}

}  // namespace lum
