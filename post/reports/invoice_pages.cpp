#include "post/reports/invoice_pages.h"

#include <fmt/core.h>

#include <algorithm>
#include <initializer_list>

#include "platform/text.h"

namespace lum {
namespace {

constexpr int kRightEdge = 195;
constexpr int kDocumentLeft = 10;
constexpr auto kCents = AmountStyle::DollarsAndCents;
// The invoice's totals stand at the foot of the page, where a reader
// looks for them, unless its lines reach further down.
constexpr int kTotalsTop = 222;
// Sizes: the lists have ten columns across a portrait page.
constexpr int kListSize = 7;
constexpr int kDocumentSize = 10;
constexpr int kInvoiceLineSize = 9;

// A document's column headings, in bold between two rules.
struct ColumnHeading {
  int x;
  const char* title;
  Align alignment;
};
void writeDocumentColumns(PageWriter page, std::initializer_list<ColumnHeading> headings) {
  page.rule(kDocumentLeft, kRightEdge);
  page.newLine();
  page.bold();
  for (const ColumnHeading& heading : headings) {
    page.text(heading.x, heading.title, heading.alignment);
  }
  page.newLine();
  page.rule(kDocumentLeft, kRightEdge);
  page.regular();
}

// An amount as the lists write it: two decimals, no grouping.
std::string cents(Currency amount) {
  return decimalText(amount, 2);
}

// Up to two decimals, without trailing zeros: 2, 2.5, 1.33.
std::string quantityText(double quantity) {
  std::string text = fmt::format("{:.2f}", quantity);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') {
    text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

// The entity's name, address, telephones and ABN over a rule.
void writeLetterhead(PageWriter page, const Letterhead& head) {
  page.moveTo(0, static_cast<int>(page.topMargin()));
  page.size(14);
  page.bold();
  page.text(kDocumentLeft, head.name, Align::Left);
  page.newLine();
  if (!head.secondLine.empty()) {
    page.text(kDocumentLeft, head.secondLine, Align::Left);
    page.newLine();
  }
  page.regular();
  page.size(12);
  page.text(kDocumentLeft, head.address, Align::Left);
  page.newLine();
  page.size(kDocumentSize);
  page.text(kDocumentLeft, head.phones, Align::Left);
  if (!head.abn.empty()) {
    page.bold();
    page.text(kRightEdge, "ABN: " + head.abn, Align::Right);
    page.regular();
  }
  page.newLine();
  page.rule(kDocumentLeft, kRightEdge);
  page.newLine();
}

// The number line, then the name beside the document's title, the address
// lines below at x and the locality at 20.
void writeAddressee(PageWriter page, int number, const Addressee& addressee, int x,
                    const char* title) {
  page.size(kDocumentSize);
  page.bold();
  page.text(kDocumentLeft, documentNumber(number), Align::Left);
  page.newLine();
  page.size(14);
  page.text(kRightEdge, title, Align::Right);
  page.size(12);
  page.text(x, addressee.name, Align::Left);
  page.newLine();
  page.regular();
  page.size(kDocumentSize);
  for (const std::string& line : addressee.lines) {
    page.text(x, line, Align::Left);
    page.newLine();
  }
  page.text(20, addressee.locality, Align::Left);
  page.newLine();
}

void writeDeductions(PageWriter page, const TaxInvoice& invoice) {
  const std::string less = invoice.deductions();
  if (less.empty()) {
    return;
  }
  page.newLine();
  page.text(20, less, Align::Left);
  const Currency deducted = invoice.deducted();
  page.text(kRightEdge, drCrText(deducted, deducted < Currency()), Align::Right);
  page.newLine();
  page.text(20, "Balance Remaining", Align::Left);
  page.text(kRightEdge, drCrText(invoice.balance, invoice.balance >= Currency()), Align::Right);
}

}  // namespace

void writeTaxInvoiceHeading(PageWriter page, const Letterhead& letterhead,
                            const TaxInvoice& invoice) {
  writeLetterhead(page, letterhead);
  page.newLine();
  writeAddressee(page, invoice.invoice, invoice.customer, 20, invoice.title());
  page.text(kRightEdge, "Date: " + printedDate(invoice.date), Align::Right);
  page.newLine();
  writeDocumentColumns(page, {{kDocumentLeft, "Code", Align::Left},
                              {28, "Details", Align::Left},
                              {145, "Qty", Align::Right},
                              {160, "Unit", Align::Right},
                              {170, "GST", Align::Right},
                              {kRightEdge, "Amount", Align::Right}});
}

void writeTaxInvoice(const ReportWriting& out, const TaxInvoice& invoice) {
  PageWriter page = out.page;
  out.beginReportPage();
  page.size(kInvoiceLineSize);
  for (const TaxInvoice::Line& line : invoice.lines) {
    page.newLine();
    page.text(kDocumentLeft, line.code, Align::Left);
    page.text(28, line.particulars, Align::Left);
    if (line.quantity != 0) {
      page.text(145, quantityText(line.quantity), Align::Right);
    }
    if (!line.unitPrice.isZero()) {
      page.amount(160, line.unitPrice, kCents);
    }
    page.text(167, line.gst, Align::Left);
    if (!line.amount.isZero()) {
      page.text(kRightEdge, drCrText(line.amount, line.amount > Currency()), Align::Right);
    }
  }
  page.newLine();
  const int linesEnd = page.position(Axis::Vertical);
  page.size(kDocumentSize);
  page.moveTo(0, std::max(linesEnd + 4, kTotalsTop));
  page.bold();
  page.rule(kDocumentLeft, kRightEdge);
  page.newLine();
  page.text(20, "Total Invoice", Align::Left);
  page.text(kRightEdge, drCrText(invoice.total, invoice.total >= Currency()), Align::Right);
  writeDeductions(page, invoice);
  page.newLine();
  page.text(20, "Total GST included in this invoice", Align::Left);
  page.text(kRightEdge, drCrText(invoice.gst, invoice.gst >= Currency()), Align::Right);
  page.regular();
  page.endPage();
}

void writeStatementHeading(PageWriter page, const Letterhead& letterhead,
                           const Statement& statement, const std::string& reportDate) {
  writeLetterhead(page, letterhead);
  page.newLine();
  writeAddressee(page, statement.customer.number, statement.customer, kDocumentLeft, "Statement");
  page.text(kRightEdge, "Date: " + reportDate, Align::Right);
  page.newLine();
  writeDocumentColumns(page, {{kDocumentLeft, "Invoice", Align::Left},
                              {40, "Date", Align::Left},
                              {130, "Charge", Align::Right},
                              {150, "Paid", Align::Right},
                              {170, "Credits", Align::Right},
                              {kRightEdge, "Balance", Align::Right}});
}

void writeStatement(const ReportWriting& out, const Statement& statement) {
  PageWriter page = out.page;
  out.beginReportPage();
  page.size(kDocumentSize);
  for (const StatementEntry& entry : statement.entries) {
    page.newLine();
    page.text(kDocumentLeft, documentNumber(entry.invoice), Align::Left);
    page.text(40, printedDate(entry.date), Align::Left);
    page.text(130, cents(entry.charge), Align::Right);
    page.text(150, cents(entry.paid), Align::Right);
    page.text(170, cents(entry.credits), Align::Right);
    page.text(kRightEdge, cents(entry.balance), Align::Right);
  }
  page.bold();
  page.newLine();
  page.rule(90, kRightEdge);
  page.text(20, "Totals", Align::Left);
  page.amount(130, statement.totals.charge, kCents);
  page.amount(150, statement.totals.paid, kCents);
  page.amount(170, statement.totals.credits, kCents);
  page.amount(kRightEdge, statement.totals.balance, kCents);
  page.regular();
  page.endPage();
}

void writeInvoiceListHeadingColumns(PageWriter page) {
  page.size(kListSize);
  page.bold();
  page.text(kDocumentLeft, "Inv No", Align::Left);
  page.text(20, "Client", Align::Left);
  const std::pair<const char*, int> titles[] = {
      {"Date", 100},   {"Due", 112},  {"Amount", 127}, {"Paid", 139},
      {"Amount", 154}, {"Disc", 167}, {"W/Off", 180},  {"Balance", kRightEdge}};
  for (const auto& [title, x] : titles) {
    page.text(x, title, Align::Right);
  }
  page.regular();
}

void writeInvoiceList(const ReportWriting& out, const InvoiceList& list) {
  PageWriter page = out.page;
  out.beginReportPage();
  for (const InvoiceListEntry& entry : list.entries) {
    page.newLine();
    page.text(kDocumentLeft, documentNumber(entry.invoice), Align::Left);
    page.text(20, entry.client, Align::Left);
    page.text(100, printedDate(entry.date), Align::Right);
    page.text(112, printedDate(entry.due), Align::Right);
    page.text(127, cents(entry.amounts.total), Align::Right);
    page.text(139, printedDate(entry.paidDate), Align::Right);
    page.text(154, cents(entry.amounts.paid), Align::Right);
    page.text(167, cents(entry.amounts.discount), Align::Right);
    page.text(180, cents(entry.amounts.writtenOff), Align::Right);
    page.text(kRightEdge, cents(entry.amounts.balance), Align::Right);
  }
  page.bold();
  page.newLine();
  page.rule(90, kRightEdge);
  page.newLine();
  page.text(20, "Totals", Align::Left);
  page.amount(127, list.totals.total, kCents);
  page.amount(154, list.totals.paid, kCents);
  page.amount(167, list.totals.discount, kCents);
  page.amount(180, list.totals.writtenOff, kCents);
  page.amount(kRightEdge, list.totals.balance, kCents);
  page.regular();
  page.endPage();
}

void writeCustomersListHeadingColumns(PageWriter page) {
  page.size(kDocumentSize);
  page.bold();
  page.text(20, "No", Align::Right);
  page.text(30, "Client", Align::Left);
  page.regular();
}

void writeCustomersList(const ReportWriting& out, const std::vector<Customer>& customers) {
  PageWriter page = out.page;
  out.beginReportPage();
  for (const Customer& customer : customers) {
    const auto& f = customer.fields;
    page.bold();
    page.newLine();
    page.newLine();
    page.text(20, std::to_string(customer.number), Align::Right);
    page.text(30, customer.name(), Align::Left);
    page.regular();
    for (std::size_t line = 2; line < 4; ++line) {
      if (!trim(f[line]).empty()) {
        page.newLine();
        page.text(30, f[line], Align::Left);
      }
    }
    page.newLine();
    page.text(30, fmt::format("{} {} {}", f[4], f[5], f[6]), Align::Left);
    page.newLine();
    page.text(30, fmt::format("{} {}", f[8], f[7]), Align::Left);
  }
  page.endPage();
}

void writeProductsListHeadingColumns(PageWriter page) {
  page.size(kDocumentSize);
  page.bold();
  page.text(20, "No", Align::Right);
  page.text(30, "Product", Align::Left);
  page.text(150, "U/Price", Align::Right);
  page.text(160, "GST", Align::Left);
  page.regular();
}

void writeProductsList(const ReportWriting& out, const std::vector<Product>& products) {
  PageWriter page = out.page;
  out.beginReportPage();
  for (const Product& product : products) {
    page.newLine();
    page.text(20, std::to_string(product.code), Align::Right);
    page.text(30, product.description, Align::Left);
    page.amount(150, product.unitPrice, kCents);
    page.text(165, product.gst, Align::Right);
  }
  page.endPage();
}

}  // namespace lum
