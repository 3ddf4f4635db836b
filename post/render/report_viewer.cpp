#include "post/render/report_viewer.h"

#include <algorithm>
#include <string_view>

#include "platform/text.h"

namespace lum {

std::string pdfFileName(const std::string& documentName) {
  constexpr std::string_view kRefused = "\\/:*?\"<>|";
  std::string name(trim(documentName));
  std::replace_if(
      name.begin(), name.end(),
      [&](char c) {
        return static_cast<unsigned char>(c) < 0x20 || kRefused.find(c) != kRefused.npos;
      },
      '-');
  return (name.empty() ? std::string("Report") : name) + ".pdf";
}

std::optional<ReportDocument> ReportViewer::documentOnView() const {
  if (archiveMode() || !mActions.documentAt || pageCount() < 1) {
    return std::nullopt;
  }
  return mActions.documentAt(page());
}

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
