#include "post/render/printer_page_device.h"

#include <QPrintDialog>

namespace lum {

PrinterPageDevice::PrinterPageDevice(QPrinter& printer)
    : PagedPageDevice(printer), mPrinter(&printer) {
  mPrinter->setFullPage(true);
}

void PrinterPageDevice::setCopies(int copies) {
  mPrinter->setCopyCount(copies);
}

PrintDialogue qtPrintDialogue(QPrinter& printer, QWidget* parent) {
  return [&printer, parent](const PrintOffer& offer) -> std::optional<PrintChoice> {
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(offer.minPage, offer.maxPage);
    printer.setFromTo(offer.fromPage, offer.toPage);
    printer.setPrintRange(QPrinter::AllPages);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) {
      return std::nullopt;
    }
    PrintChoice choice;
    choice.copies = printer.copyCount();
    switch (printer.printRange()) {
      case QPrinter::CurrentPage:
      case QPrinter::Selection:
        choice.range = PrintRange::Selection;
        break;
      case QPrinter::PageRange:
        choice.range = PrintRange::Pages;
        choice.fromPage = printer.fromPage();
        choice.toPage = printer.toPage();
        break;
      case QPrinter::AllPages:
        choice.range = PrintRange::AllPages;
        break;
    }
    return choice;
  };
}

}  // namespace lum
