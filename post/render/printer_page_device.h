#pragma once

#include <QPrinter>

#include "post/render/paged_page_device.h"
#include "post/render/yazan.h"

class QWidget;

namespace lum {

// The printer, in millimetres from the sheet's corner.
class PrinterPageDevice final : public PagedPageDevice {
 public:
  explicit PrinterPageDevice(QPrinter& printer);

  void setCopies(int copies) override;

 private:
  QPrinter* mPrinter;
};

// The printer dialog over a printer: pages min to max offered, all of them
// chosen; printing to a file is not offered (the viewer's PDF button does
// that). Cancel gives nothing.
PrintDialogue qtPrintDialogue(QPrinter& printer, QWidget* parent);

}  // namespace lum
