#include "post/render/report_view.h"

namespace lum {

void ReportView::show(int page) {
  mYazan->setDevice(OutputDevice::Screen);
  mYazan->setPageNumber(page);
  mYazan->LoadPage();
}

void ReportView::toggleRuler() {
  if (mActions.showRuler) {
    mActions.showRuler(!mRulerOpen);
  }
}

void ReportView::first() {
  show(1);
}

void ReportView::last() {
  show(pageCount());
}

void ReportView::previous() {
  const int page = mYazan->pageNumber() - 1;
  show(page < 1 ? pageCount() : page);
}

void ReportView::next() {
  const int page = mYazan->pageNumber() + 1;
  show(page > pageCount() ? 1 : page);
}

void ReportView::rerun() {
  if (mActions.rerun) {
    mActions.rerun();
  }
}

void ReportView::archive() {
  if (mActions.archive) {
    mActions.archive();
  }
}

void ReportView::print(const PrintDialogue& dialogue) {
  if (archiveMode()) {
    if (mActions.returnBack) {
      mActions.returnBack();
    }
    return;
  }
  mYazan->setDevice(OutputDevice::Printer);
  mYazan->setNextDevice(OutputDevice::Printer);
  mYazan->PrintPages(dialogue);
}

void ReportView::slide(int page) {
  if (pageCount() > 1 && page >= 1 && page <= pageCount()) {
    show(page);
  }
}

void ReportView::unload() {
  if (mRulerOpen && mActions.showRuler) {
    mActions.showRuler(false);
  }
}

}  // namespace lum
