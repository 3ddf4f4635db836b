#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "post/render/yazan.h"

namespace lum {

// A document of its own within a report (a tax invoice, one customer's
// statement): its pages, and the name its PDF file is offered under.
struct ReportDocument {
  int firstPage = 1;
  int lastPage = 1;
  std::string name;  // "Invoice 7", "Statement Smith Plumbing"
};

// What a report on view is: whose, which, and over what time, as its
// heading says them ("Demo Plumbing", "GST Report", "March 2026").
struct ReportName {
  std::string entity;
  std::string title;
  std::string period;
};

// The document's name as a file name: characters a file name cannot hold
// become "-", a name too long for a file system is cut, and ".pdf" is added.
std::string pdfFileName(const std::string& documentName);
// A report's file name: its entity, title and period, in that order.
std::string pdfFileName(const ReportName& name);

// What the PDF button offers: the file name, the PDF's title, the pages.
struct PdfOffer {
  std::string fileName;  // empty when nothing is known of the report
  std::string title;
  int firstPage = 1;
  int lastPage = 1;
};

// How the page fills the viewer's frame; the choice stays while pages turn.
enum class Zoom { FitWidth, FitPage, Actual };

// What the report viewer's buttons do, without the window: paging with
// wrap-around, the slider, printing, the ruler's state and the viewer mode.
class ReportViewer {
 public:
  // What lies outside the viewer: the report run, the archive, the way
  // back from an archived report, the ruler window.
  struct Actions {
    std::function<void()> rerun;          // Command6: the report run, every request cleared
    std::function<void()> archive;        // Command7: archive the report shown
    std::function<void()> returnBack;     // Command8 in "Archives" mode
    std::function<void(bool)> showRuler;  // open (true) or close the ruler window
    // The document a page belongs to, when the report is made of documents.
    std::function<std::optional<ReportDocument>(int page)> documentAt;
    // The report on view, when the run that wrote it named it.
    std::function<std::optional<ReportName>()> reportName;
    // Says in a line what was done (the status bar).
    std::function<void(const std::string&)> status;
    // The report on view has a details window (the GST report's trail), and opening it.
    std::function<bool()> hasDetails;
    std::function<void()> details;
  };

  ReportViewer(Yazan& yazan, Actions actions) : mYazan(&yazan), mActions(std::move(actions)) {}

  Yazan& yazan() { return *mYazan; }
  int page() const { return mYazan->pageNumber(); }
  int pageCount() const { return mYazan->pageCount(); }

  // "Archives" when the viewer shows an archived report.
  const std::string& mode() const { return mMode; }
  void setMode(std::string mode) { mMode = std::move(mode); }
  bool archiveMode() const { return mMode == "Archives"; }

  bool rulerOpen() const { return mRulerOpen; }
  // The ruler window tells when it opens and closes.
  void rulerOpened() { mRulerOpen = true; }
  void rulerClosed() { mRulerOpen = false; }

  // An archived report has none: it is not the run's.
  bool hasDetails() const { return !archiveMode() && mActions.hasDetails && mActions.hasDetails(); }
  void details() {
    if (hasDetails() && mActions.details) {
      mActions.details();
    }
  }

  void toggleRuler();  // Command1
  void first();        // Command2
  void last();         // Command3
  void previous();     // Command4, from page 1 to the last
  void next();         // Command5, past the last to page 1
  void rerun();        // Command6
  void archive();      // Command7
  // Command8: prints through the dialogue, or in "Archives" mode goes back.
  void print(const PrintDialogue& dialogue);
  // The document on view: the PDF button saves only its pages, under its name.
  std::optional<ReportDocument> documentOnView() const;
  // The PDF button: the document on view under its own name, else the whole
  // report under the entity's name, the report's and the period's.
  PdfOffer pdfOffer() const;
  // The PDF file has been written: the status line says so.
  void pdfSaved(const std::filesystem::path& file, const PdfOffer& offer);

  Zoom zoom() const { return mZoom; }
  void setZoom(Zoom zoom) { mZoom = zoom; }
  // How much larger than at 100 % the page is drawn: a page of the given
  // size at 100 % in a frame of the given size (both in pixels).
  double scale(double pageWidth, double pageHeight, double frameWidth, double frameHeight) const;
  // HScroll2: only a report of more than one page moves.
  void slide(int page);
  // The viewer closes: the ruler closes with it.
  void unload();

 private:
  void show(int page);

  Yazan* mYazan;
  Actions mActions;
  std::string mMode;
  bool mRulerOpen = false;
  Zoom mZoom = Zoom::Actual;
};

}  // namespace lum
