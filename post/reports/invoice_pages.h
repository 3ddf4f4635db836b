#pragma once

// The pages of the invoicing documents and lists, written from their
// figures (invoice_documents.h).

#include <string>
#include <vector>

#include "post/invoicing/invoice.h"
#include "post/reports/invoice_documents.h"
#include "post/reports/report_writing.h"

namespace lum {

// The heading of a tax invoice, in place of the reports' common heading:
// the letterhead, the invoice's number, customer and date, the columns.
void writeTaxInvoiceHeading(PageWriter page, const Letterhead& letterhead,
                            const TaxInvoice& invoice);
// Its page: the lines, then the totals block at the foot of the page.
void writeTaxInvoice(const ReportWriting& out, const TaxInvoice& invoice);

void writeStatementHeading(PageWriter page, const Letterhead& letterhead,
                           const Statement& statement, const std::string& reportDate);
void writeStatement(const ReportWriting& out, const Statement& statement);

// After the common heading, the columns of each list.
void writeInvoiceListHeadingColumns(PageWriter page);
void writeInvoiceList(const ReportWriting& out, const InvoiceList& list);
void writeCustomersListHeadingColumns(PageWriter page);
void writeCustomersList(const ReportWriting& out, const std::vector<Customer>& customers);
void writeProductsListHeadingColumns(PageWriter page);
void writeProductsList(const ReportWriting& out, const std::vector<Product>& products);

}  // namespace lum
