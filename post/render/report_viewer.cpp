#include "post/render/report_viewer.h"

#include <fmt/core.h>

#include <algorithm>
#include <string_view>

#include "platform/text.h"

namespace lum {
namespace {

// Room for a folder's path besides the name in the 255 bytes a name may take.
constexpr std::size_t kLongestName = 120;
// The pixels left around a page fitted into the frame.
constexpr double kFitMargin = 8;
constexpr double kSmallestScale = 0.1;
constexpr double kLargestScale = 8;

std::string joined(const ReportName& name) {
  std::string text;
  for (const std::string* part : {&name.entity, &name.title, &name.period}) {
    const std::string_view word = trim(*part);
    if (!word.empty()) {
      text += (text.empty() ? "" : " ") + std::string(word);
    }
  }
  return text;
}

}  // namespace

std::string pdfFileName(const std::string& documentName) {
  constexpr std::string_view kRefused = "\\/:*?\"<>|";
  std::string name(trim(documentName));
  std::replace_if(
      name.begin(), name.end(),
      [&](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
               kRefused.find(c) != kRefused.npos;
      },
      '-');
  name = leftCharacters(name, kLongestName);
  // No hidden file, and no name Windows would cut short at its end.
  const std::size_t first = name.find_first_not_of(". ");
  const std::size_t last = name.find_last_not_of(". ");
  name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
  return (name.empty() ? std::string("Report") : name) + ".pdf";
}

std::optional<ReportDocument> ReportViewer::documentOnView() const {
  if (archiveMode() || !mActions.documentAt || pageCount() < 1) {
    return std::nullopt;
  }
  return mActions.documentAt(page());
}

std::string pdfFileName(const ReportName& name) {
  return pdfFileName(joined(name));
}

PdfOffer ReportViewer::pdfOffer() const {
  if (const auto document = documentOnView()) {
    return PdfOffer{pdfFileName(document->name), document->name, document->firstPage,
                    document->lastPage};
  }
  PdfOffer offer{{}, "Report", 1, std::max(1, pageCount())};
  // An archived report is shown without its run: nothing names it.
  const std::optional<ReportName> name =
      !archiveMode() && mActions.reportName ? mActions.reportName() : std::nullopt;
  if (name && !joined(*name).empty()) {
    offer.fileName = pdfFileName(*name);
    if (!trim(name->title).empty()) {
      offer.title = std::string(trim(name->title));
    }
  }
  return offer;
}

void ReportViewer::pdfSaved(const std::filesystem::path& file, const PdfOffer& offer) {
  if (!mActions.status) {
    return;
  }
  const int pages = offer.lastPage - offer.firstPage + 1;
  const std::string folder = file.parent_path().string();
  mActions.status(fmt::format("Saved {} ({} page{}){}", file.filename().string(), pages,
                              pages == 1 ? "" : "s", folder.empty() ? "" : " in " + folder));
}

double ReportViewer::scale(double pageWidth, double pageHeight, double frameWidth,
                           double frameHeight) const {
  if (mZoom == Zoom::Actual || pageWidth <= 0 || pageHeight <= 0) {
    return 1;
  }
  const double across = (frameWidth - 2 * kFitMargin) / pageWidth;
  const double down = (frameHeight - 2 * kFitMargin) / pageHeight;
  const double fitted = mZoom == Zoom::FitWidth ? across : std::min(across, down);
  return std::clamp(fitted, kSmallestScale, kLargestScale);
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
