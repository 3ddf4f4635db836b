#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "tools/lumctl/lumctl.h"
#include "tools/lumctl/report_command.h"

namespace lum {

// The invoicing reports of lumctl report: invoice (the tax invoice of
// --invoice N), invoices, unpaid, overdue, statements (of --customers A-B,
// or all), customers and products, as at --date.
struct InvoiceReportOptions {
  int invoice = 0;
  std::string customers;  // "A-B", "N", or empty for all
  std::string date;       // dd/mm/yy
};

const std::vector<std::string>& invoiceReportNames();
bool isInvoiceReport(const std::string& report);

// Adds --invoice, --customers and --date to lumctl report.
std::shared_ptr<InvoiceReportOptions> addInvoiceReportOptions(CLI::App& report);

// Runs an invoicing report and writes its pages (pdf, text) or its figures
// (json) to the file of --out. Returns the exit status.
int runInvoiceReport(const GlobalOptions& global, const ReportOptions& report,
                     const InvoiceReportOptions& options, std::ostream& out, std::ostream& err);

}  // namespace lum
