#include "post/render/report_viewer.h"

namespace lum {

void ReportViewer::show(int page) {
  mYazan->setDevice(OutputDevice::Screen);
  mYazan->setPageNumber(page);
  mYazan->LoadPage();
}

void ReportViewer::toggleRuler() {
  if (mActions.showRuler) {
    mActions.showRuler(!mRulerOpen);
  }
}

void ReportViewer::first() {
  show(1);
}

void ReportViewer::last() {
  show(pageCount());
}

void ReportViewer::previous() {
  const int page = mYazan->pageNumber() - 1;
  show(page < 1 ? pageCount() : page);
}

void ReportViewer::next() {
  const int page = mYazan->pageNumber() + 1;
  show(page > pageCount() ? 1 : page);
}

void ReportViewer::rerun() {
  if (mActions.rerun) {
    mActions.rerun();
  }
}

void ReportViewer::archive() {
  if (mActions.archive) {
    mActions.archive();
  }
}

void ReportViewer::print(const PrintDialogue& dialogue) {
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

void ReportViewer::slide(int page) {
  if (pageCount() > 1 && page >= 1 && page <= pageCount()) {
    show(page);
  }
}

void ReportViewer::unload() {
  if (mRulerOpen && mActions.showRuler) {
    mActions.showRuler(false);
  }
}

}  // namespace lum
