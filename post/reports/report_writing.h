#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/currency.h"
#include "post/render/page_writer.h"
#include "post/reports/gst_figures.h"
#include "post/reports/journal_ledgers.h"
#include "post/reports/profit_and_loss.h"
#include "post/reports/trial_balance.h"

namespace lum {

// What a report's pages are written with: the page writer, the left
// margin in millimetres and the page start with its heading.
struct ReportWriting {
  PageWriter page;
  int left = 0;
  std::function<void()> beginReportPage;
};

// The GST report: a line per journal with a figure, the totals and, when
// asked, the BAS summary. names[j - 1] is journal j's name.
void writeGstReport(const ReportWriting& out, const GstFigures& figures,
                    const std::vector<std::string>& names, bool basSummary);
void writeGstHeadingColumns(const ReportWriting& out, const GstSettings& settings);

void writeTrialBalance(const ReportWriting& out, const TrialBalance& balance);
void writeTrialBalanceHeadingColumns(const ReportWriting& out);

void writeJournalLedgers(const ReportWriting& out, const std::vector<AccountLedger>& ledgers);

// The statement's page, then the other transactions on a page of their own.
void writeProfitAndLoss(const ReportWriting& out, const ProfitAndLoss& statement);

}  // namespace lum
