#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "post/login/session.h"
#include "post/render/page_writer.h"
#include "post/render/report_viewer.h"
#include "post/render/yazan.h"

namespace lum {

// The page commands of a log-in: the viewer's Yazan over the work area's
// page files (DosyaYaz.dat, Kelamlar.dat) and the operator's print
// settings, all through the session's file registry.
//
// A report run goes: beginRun() with the report's page start (which the
// automatic page break also runs), the report's pages through writer(),
// then finishRun(), which ends the report and shows page 1.
class ReportPages {
 public:
  ReportPages(Session& session, PageDevice& screen);

  Yazan& yazan() { return mYazan; }
  PageWriter writer() { return PageWriter(mYazan); }

  // Opens the page files and sets output up on the recording device.
  void beginRun(std::function<void()> beginReportPage);
  // The report is complete and page 1 is on the screen.
  void finishRun();
  // Shows the report the page files hold (the last one written), from page 1.
  void showStored();
  // The viewer has closed and its files with it: the commands let go of them.
  void filesClosed() { mYazan.detachFiles(); }

  // The page being written starts a document of its own (a tax invoice,
  // one customer's statement), which runs to the next one or the end.
  void beginDocument(std::string name);
  // The document a page of the report written last belongs to.
  std::optional<ReportDocument> documentAt(int page) const;
  // What the report written last is, as its run names it (nothing for a
  // stored report shown again).
  void setReportName(ReportName name) { mReportName = std::move(name); }
  const std::optional<ReportName>& reportName() const { return mReportName; }

 private:
  void openFiles();
  struct DocumentStart {
    int page;
    std::string name;
  };

  Session* mSession;
  Yazan mYazan;
  std::vector<DocumentStart> mDocuments;  // in page order
  std::optional<ReportName> mReportName;
};

}  // namespace lum
