#include "post/render/report_pages.h"

#include <algorithm>

namespace lum {

ReportPages::ReportPages(Session& session, PageDevice& screen)
    : mSession(&session), mYazan(session.ops(), session.prompter()) {
  mYazan.setScreen(&screen);
  mYazan.setPictureResolver(
      [&session](std::string_view name) { return session.paths().resolve(name); });
}

void ReportPages::openFiles() {
  FileRegistry& registry = mSession->registry();
  RecordFile* commands =
      registry.isOpen("DosyaYaz") ? &registry.file("DosyaYaz") : mSession->open("DosyaYaz");
  RecordFile* texts = registry.isOpen("Kelam") ? &registry.file("Kelam") : mSession->open("Kelam");
  mYazan.attachFiles(commands, texts);
  mYazan.attachSettings(registry.isOpen("RepPar") ? &registry.file("RepPar") : nullptr);
}

void ReportPages::beginRun(std::function<void()> beginReportPage) {
  mDocuments.clear();
  mReportName.reset();
  openFiles();
  mYazan.setBeginReportPage(std::move(beginReportPage));
  mYazan.setNextDevice(OutputDevice::Recording);
  mYazan.BeginOutput();
  writer().millimetreScale();
}

void ReportPages::finishRun() {
  writer().endReport();
  mSession->file("DosyaYaz").flush();
  mSession->file("Kelam").flush();
}

void ReportPages::showStored() {
  mDocuments.clear();  // a stored report is shown whole
  mReportName.reset();
  openFiles();
  // Set up for the screen only: nothing of the stored report is written over.
  mYazan.setNextDevice(OutputDevice::Screen);
  mYazan.BeginOutput();
  mYazan.setPageCount(mYazan.storedPageCount());
  mYazan.setDevice(OutputDevice::Screen);
  mYazan.setPageNumber(1);
  mYazan.LoadPage();
}

void ReportPages::beginDocument(std::string name) {
  mDocuments.push_back(DocumentStart{mYazan.pageNumber(), std::move(name)});
}

std::optional<ReportDocument> ReportPages::documentAt(int page) const {
  for (std::size_t d = mDocuments.size(); d-- > 0;) {
    if (mDocuments[d].page <= page) {
      const int last = d + 1 < mDocuments.size() ? mDocuments[d + 1].page - 1
                                                 : std::max(mYazan.pageCount(), page);
      return ReportDocument{mDocuments[d].page, last, mDocuments[d].name};
    }
  }
  return std::nullopt;
}

}  // namespace lum
