#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "post/login/report_requests.h"
#include "post/render/page_writer.h"
#include "post/render/report_viewer.h"
#include "post/reports/gst_figures.h"
#include "post/reports/invoice_documents.h"
#include "post/reports/profit_and_loss.h"

namespace lum {

class InvoiceBook;
class RecordFile;
class ReportPages;
class Session;
struct ReportWriting;

// What the run needs from around it.
struct ReportRunHooks {
  std::function<void()> closeCurrentWindow;  // the run found nothing more to do
  // The progress window of the GST gathering.
  std::function<void()> progressOpen;
  std::function<void(int done, int total)> progress;
  std::function<void()> progressClose;
  // The journal of the trial balance and the ledgers; by default the
  // journals list's current one.
  std::function<int()> selectedJournal;
};

// The report run: turns the session's report requests into pages on the
// viewer, one report a run on the screen, and keeps what later runs need
// (the current report code, the GST figures of the period).
class ReportRun {
 public:
  ReportRun(Session& session, ReportPages& pages, ReportRunHooks hooks);

  // RunReports: the next requested report from the current code on.
  void runReports();
  ReportCode currentCode() const { return mCode; }
  // The report the last run wrote, on view in the viewer.
  ReportCode reportOnView() const { return mOnView; }
  // The viewer was closed: the next request starts a run from the set-up
  // step, as a Re-run that found nothing more to do would.
  void viewerClosed() { mCode = ReportCode::SetUp; }

  // The financial reports window's OK: builds the profit and loss account
  // table and requests the statement; false when the table could not be
  // built (the user has been told why).
  bool prepareProfitAndLoss(ProfitAndLossPeriods periods);
  // AskReportDate: opens the invoicing files, reads how many invoices
  // there are, then asks the date the invoice reports are made at;
  // requests the report when it is a date, else tells the user. True when
  // requested.
  bool askReportDate(ReportCode code);
  int invoicesInUse() const { return mInvoicesInUse; }
  // The invoice window's Print: the tax invoice of that invoice.
  void requestTaxInvoice(int invoice);
  // The customers the statements go to, as the client selection fixed them.
  void setStatementCustomers(CustomerRange customers) { mStatementCustomers = customers; }
  const std::string& periodTitle() const { return mPeriodTitle; }
  // Every damaged file the runs so far told the user of (their journals
  // were left out).
  const DamageFound& damageTold() const { return mDamageTold; }

  // A new page with the current report's heading (also the page break's).
  void beginReportPage();
  void writePageHeading(const std::string& title);
  // "END", and the viewer's page count.
  void finishReportRun();

 private:
  void setUp();
  // Tells the user of each damaged file a gathering found.
  void tell(const DamageFound& damage);
  void produce(ReportCode code);
  std::string titleOf(ReportCode code);
  // The entity, title and period of the report written, for its PDF file.
  ReportName nameOf(ReportCode code);
  int selectedJournal() const;
  // A file of the log-in, opened when it is not.
  RecordFile& file(std::string_view logicalName);
  int leftMargin() const;
  void writePeriodLines(PageWriter page, int l);
  // The tax invoice, lists, statements, customers and products.
  void produceInvoicing(ReportCode code, const ReportWriting& out);
  void produceDocuments(ReportCode code, InvoiceBook& book, const ReportWriting& out);
  void writeHeadingColumns(PageWriter page, int l);

  Session& mSession;
  ReportPages& mPages;
  ReportRunHooks mHooks;
  ReportCode mCode = ReportCode::SetUp;
  ReportCode mOnView = ReportCode::SetUp;
  std::string mPeriodTitle;
  int mStorageNumber = 0;
  std::string mReportDate;
  int mInvoicesInUse = 0;
  int mTaxInvoice = 0;
  CustomerRange mStatementCustomers;
  // The document whose pages are being written, for their headings.
  Letterhead mLetterhead;
  std::optional<TaxInvoice> mInvoiceOnPage;
  const Statement* mStatementOnPage = nullptr;
  // The GST figures and the period text they were gathered for.
  std::optional<GstFigures> mGst;
  std::string mGstPeriodText;
  // The profit and loss statement prepared, and over which periods.
  std::optional<ProfitAndLoss> mProfitAndLoss;
  ProfitAndLossPeriods mProfitAndLossPeriods = ProfitAndLossPeriods::SelectedOnly;
  DamageFound mDamageTold;
};

}  // namespace lum
