#include "tools/lumctl/report_invoice_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <regex>
#include <sstream>

#include "panel/dates.h"
#include "post/invoicing/invoice_book.h"
#include "post/login/login_records.h"
#include "post/render/painter_page_device.h"
#include "post/render/report_pages.h"
#include "post/render/text_page_device.h"
#include "post/reports/client_selection.h"
#include "post/reports/invoice_documents.h"
#include "post/reports/report_run.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/offscreen_application.h"
#include "tools/lumctl/record_json.h"
#include "tools/lumctl/render_command.h"
#include "tools/lumctl/settled_reading.h"

namespace lum {
namespace {

using nlohmann::ordered_json;

struct Named {
  const char* name;
  ReportCode code;
};
constexpr Named kReports[] = {
    {"invoice", ReportCode::TaxInvoice},    {"invoices", ReportCode::AllInvoices},
    {"unpaid", ReportCode::UnpaidInvoices}, {"overdue", ReportCode::OverdueInvoices},
    {"statements", ReportCode::Statements}, {"customers", ReportCode::CustomersList},
    {"products", ReportCode::ProductsList}};

ReportCode codeOf(const std::string& report) {
  for (const Named& named : kReports) {
    if (report == named.name) {
      return named.code;
    }
  }
  return ReportCode::Done;
}

std::string jsonDate(const std::optional<Date>& date) {
  return date ? fmt::format("{:04}-{:02}-{:02}", date->year(), date->month(), date->day())
              : std::string();
}

// Answers the report date's input box with --date; says everything else
// as lumctl does.
class DatePrompter final : public Prompter {
 public:
  DatePrompter(Prompter& inner, std::string date) : mInner(inner), mDate(std::move(date)) {}
  Answer ask(const Prompt& prompt) override { return mInner.ask(prompt); }
  std::optional<std::string> input(const InputPrompt&) override { return mDate; }

 private:
  Prompter& mInner;
  std::string mDate;
};

ordered_json amountsJson(const InvoiceAmounts& amounts) {
  return {{"total", currencyText(amounts.total)},
          {"paid", currencyText(amounts.paid)},
          {"discount", currencyText(amounts.discount)},
          {"written_off", currencyText(amounts.writtenOff)},
          {"balance", currencyText(amounts.balance)}};
}

ordered_json listJson(const InvoiceList& list, Date asAt) {
  ordered_json invoices = ordered_json::array();
  for (const InvoiceListEntry& entry : list.entries) {
    const InvoiceAmounts& a = entry.amounts;
    invoices.push_back({{"invoice", entry.invoice},
                        {"client", entry.client},
                        {"date", jsonDate(entry.date)},
                        {"due", jsonDate(entry.due)},
                        {"total", currencyText(a.total)},
                        {"paid_date", jsonDate(entry.paidDate)},
                        {"paid", currencyText(a.paid)},
                        {"discount", currencyText(a.discount)},
                        {"written_off", currencyText(a.writtenOff)},
                        {"balance", currencyText(a.balance)}});
  }
  return {{"as_at", jsonDate(asAt)}, {"invoices", invoices}, {"totals", amountsJson(list.totals)}};
}

ordered_json statementsJson(const std::vector<Statement>& statements, Date asAt) {
  ordered_json array = ordered_json::array();
  for (const Statement& statement : statements) {
    ordered_json invoices = ordered_json::array();
    for (const StatementEntry& entry : statement.entries) {
      invoices.push_back({{"invoice", entry.invoice},
                          {"date", jsonDate(entry.date)},
                          {"charge", currencyText(entry.charge)},
                          {"paid", currencyText(entry.paid)},
                          {"credits", currencyText(entry.credits)},
                          {"balance", currencyText(entry.balance)}});
    }
    const StatementTotals& t = statement.totals;
    array.push_back({{"customer", statement.customer.number},
                     {"name", statement.customer.name},
                     {"invoices", invoices},
                     {"totals",
                      {{"charge", currencyText(t.charge)},
                       {"paid", currencyText(t.paid)},
                       {"credits", currencyText(t.credits)},
                       {"balance", currencyText(t.balance)}}}});
  }
  return {{"as_at", jsonDate(asAt)}, {"statements", array}};
}

ordered_json taxInvoiceJson(const TaxInvoice& invoice, const Letterhead& letterhead) {
  ordered_json lines = ordered_json::array();
  for (const TaxInvoice::Line& line : invoice.lines) {
    lines.push_back({{"line", line.line},
                     {"product", line.product},
                     {"code", line.code},
                     {"particulars", line.particulars},
                     {"qty", line.quantity},
                     {"unit", currencyText(line.unitPrice)},
                     {"gst", line.gst},
                     {"amount", currencyText(line.amount)}});
  }
  return {{"invoice", invoice.invoice},
          {"title", invoice.title()},
          {"abn", letterhead.abn},
          {"customer", invoice.customer.number},
          {"name", invoice.customer.name},
          {"address", invoice.customer.lines},
          {"locality", invoice.customer.locality},
          {"date", jsonDate(invoice.date)},
          {"due", jsonDate(invoice.due)},
          {"lines", lines},
          {"total", currencyText(invoice.total)},
          {"gst", currencyText(invoice.gst)},
          {"paid", currencyText(invoice.paid)},
          {"discount", currencyText(invoice.discount)},
          {"written_off", currencyText(invoice.writtenOff)},
          {"balance", currencyText(invoice.balance)}};
}

ordered_json customersJson(const std::vector<Customer>& customers, Date asAt) {
  static constexpr const char* kFields[Customer::kFields] = {
      "name",  "second_name", "address_1", "address_2", "town",
      "state", "postcode",    "telephone", "contact"};
  ordered_json array = ordered_json::array();
  for (const Customer& customer : customers) {
    ordered_json object = {{"customer", customer.number}};
    for (std::size_t f = 0; f < Customer::kFields; ++f) {
      object[kFields[f]] = customer.fields[f];
    }
    array.push_back(object);
  }
  return {{"as_at", jsonDate(asAt)}, {"customers", array}};
}

ordered_json productsJson(const std::vector<Product>& products, Date asAt) {
  ordered_json array = ordered_json::array();
  for (const Product& product : products) {
    array.push_back({{"product", product.code},
                     {"description", product.description},
                     {"unit_price", currencyText(product.unitPrice)},
                     {"gst", product.gst}});
  }
  return {{"as_at", jsonDate(asAt)}, {"products", array}};
}

// What a report is asked for: its code, date, customers and invoice.
struct Request {
  Request(ReportCode report, Date today) : code(report), asAt(today) {}

  ReportCode code;
  std::string date;  // dd/mm/yy
  Date asAt;
  CustomerRange customers;
  int invoice = 0;
};

ordered_json figuresJson(Session& session, const Request& request) {
  const InvoiceBook book(session);
  const Clock& clock = session.clock();
  ordered_json figures;
  switch (request.code) {
    case ReportCode::TaxInvoice: {
      RecordFile& entities =
          session.registry().isOpen("Ent") ? session.file("Ent") : *session.open("Ent");
      const Letterhead letterhead =
          Letterhead::of(entities.get<EntityRecord>(session.login.entityNumber));
      figures =
          taxInvoiceJson(*taxInvoiceOf(book, request.invoice, letterhead.name, clock), letterhead);
      break;
    }
    case ReportCode::AllInvoices:
      figures =
          listJson(invoiceListOf(book, InvoiceListKind::All, request.asAt, clock), request.asAt);
      break;
    case ReportCode::UnpaidInvoices:
      figures =
          listJson(invoiceListOf(book, InvoiceListKind::Unpaid, request.asAt, clock), request.asAt);
      break;
    case ReportCode::OverdueInvoices:
      figures = listJson(invoiceListOf(book, InvoiceListKind::Overdue, request.asAt, clock),
                         request.asAt);
      break;
    case ReportCode::Statements:
      figures =
          statementsJson(statementsOf(book, request.customers, request.asAt, clock), request.asAt);
      break;
    case ReportCode::CustomersList:
      figures = customersJson(book.customers(), request.asAt);
      break;
    default:
      figures = productsJson(book.products(), request.asAt);
      break;
  }
  for (const std::string& problem : book.problems()) {
    session.prompter().message(problem);
  }
  return figures;
}

// The report's pages, written as the viewer writes them into the session's
// private page files, then replayed from there.
std::optional<std::string> pagesOf(Session& session, const Request& request,
                                   const std::string& format, const std::filesystem::path& pdfFile,
                                   Prompter& prompter, std::ostream& err) {
  {
    OffscreenApplication application;
    QtTextMetrics metrics;
    std::ostringstream discarded;
    TextPageDevice screen(discarded, metrics);
    ReportPages pages(session, screen);
    ReportRun run(session, pages, {});
    if (request.code == ReportCode::TaxInvoice) {
      run.requestTaxInvoice(request.invoice);
    } else {
      run.setStatementCustomers(request.customers);
      if (!run.askReportDate(request.code)) {
        return std::nullopt;
      }
    }
    run.runReports();
  }
  FileRegistry& registry = session.registry();
  StoredPages stored;
  stored.commands = registry.file("DosyaYaz").path();
  stored.texts = registry.file("Kelam").path();
  registry.close("DosyaYaz");
  registry.close("Kelam");
  stored.settings = registry.isOpen("RepPar") ? &registry.file("RepPar") : nullptr;
  stored.pictures = [&session](std::string_view name) { return session.paths().resolve(name); };
  return replayPages(session.ops(), stored, "", format, pdfFile, prompter, err);
}

// "A-B" or "N" (either may be negative); nothing when it is neither.
std::optional<std::pair<int, int>> customerNumbers(const std::string& text) {
  static const std::regex kPattern(R"(\s*(-?\d{1,9})\s*(?:-\s*(-?\d{1,9}))?\s*)");
  std::smatch match;
  if (!std::regex_match(text, match, kPattern)) {
    return std::nullopt;
  }
  const int first = std::stoi(match[1].str());
  return std::pair<int, int>{first, match[2].matched ? std::stoi(match[2].str()) : first};
}

// Fills in the request from the options; the exit status, told on err,
// when they do not make one.
int prepare(Session& session, const InvoiceReportOptions& options, Request& request,
            std::ostream& err) {
  const Clock& clock = session.clock();
  if (request.code == ReportCode::TaxInvoice) {
    const InvoiceBook book(session);
    if (options.invoice < 1 || !book.invoice(options.invoice)) {
      fmt::print(err, "lumctl: there is no invoice {} in use\n", options.invoice);
      return kExitRefused;
    }
    request.invoice = options.invoice;
    return kExitSuccess;
  }
  request.date = normaliseDate(options.date, clock);
  if (request.date.empty()) {
    session.prompter().message("Date entered is not admissible");
    return kExitRefused;
  }
  request.asAt = *parseDate(request.date, clock);
  if (request.code == ReportCode::Statements) {
    const int customers =
        std::max<int>(session.file("counters")
                          .get<CounterRecord>(static_cast<int>(EntityCounter::Customers))
                          .value,
                      0);
    ClientChoice choice = ClientChoice::All;
    std::array<std::string, 3> boxes{};
    if (!options.customers.empty()) {
      const auto numbers = customerNumbers(options.customers);
      if (!numbers) {
        fmt::print(err, "lumctl: --customers takes A-B or N, not \"{}\"\n", options.customers);
        return kExitUsage;
      }
      const bool one = options.customers.find('-', 1) == std::string::npos;
      choice = one ? ClientChoice::Selected : ClientChoice::Range;
      boxes = {std::to_string(numbers->first), std::to_string(numbers->second),
               std::to_string(numbers->first)};
    }
    request.customers = customerRangeOf(choice, boxes, customers);
    if (request.customers.first > request.customers.last) {
      fmt::print(err, "lumctl: no customer {} (the customers are numbered 1 to {})\n",
                 options.customers.empty() ? std::string("at all") : options.customers, customers);
      return kExitRefused;
    }
  }
  return kExitSuccess;
}

}  // namespace

const std::vector<std::string>& invoiceReportNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const Named& named : kReports) {
      all.emplace_back(named.name);
    }
    return all;
  }();
  return names;
}

bool isInvoiceReport(const std::string& report) {
  return codeOf(report) != ReportCode::Done;
}

std::shared_ptr<InvoiceReportOptions> addInvoiceReportOptions(CLI::App& report) {
  auto options = std::make_shared<InvoiceReportOptions>();
  report.add_option("--invoice", options->invoice, "The invoice of the tax invoice (invoice)")
      ->check(CLI::Range(1, 32767));
  report.add_option("--customers", options->customers,
                    "The customers of the statements: A-B or one number N (default: all)");
  report.add_option("--date", options->date,
                    "The report date of the invoicing lists and statements, dd/mm/yy");
  return options;
}

int runInvoiceReport(const GlobalOptions& global, const ReportOptions& report,
                     const InvoiceReportOptions& options, std::ostream& out, std::ostream& err) {
  const ReportCode code = codeOf(report.report);
  if (code == ReportCode::TaxInvoice ? options.invoice == 0 : options.date.empty()) {
    fmt::print(err, "lumctl: report {} needs {}\n", report.report,
               code == ReportCode::TaxInvoice ? "--invoice N" : "--date dd/mm/yy");
    return kExitUsage;
  }
  FileOps ops;
  return readSettled(ops, workAreaFolder(global), report.out, out, err, [&](Reading& reading) {
    StreamPrompter messages(reading.err);
    DatePrompter prompter(messages, options.date);
    HeadlessLogin login(global, prompter);
    if (!login.openToRead(reading.files)) {
      return int{kExitRefused};
    }
    Session& session = login.session();
    Request request(code, session.clock().today());
    if (const int status = prepare(session, options, request, reading.err);
        status != kExitSuccess) {
      return status;
    }
    if (report.format == "json") {
      reading.output = figuresJson(session, request).dump(2) + "\n";
      return int{kExitSuccess};
    }
    const auto pages = pagesOf(session, request, report.format, reading.scratch / "report.pdf",
                               prompter, reading.err);
    if (!pages) {
      return int{kExitRefused};
    }
    reading.output = *pages;
    return int{kExitSuccess};
  });
}

}  // namespace lum
