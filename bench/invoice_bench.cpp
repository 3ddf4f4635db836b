// The list of unpaid invoices and the statements over 10,000 invoices of
// five lines each and 1,000 customers, against a plain sequential read of
// the same files.

#include <benchmark/benchmark.h>
#include <fmt/core.h>

#include <vector>

#include "bench/full_work_area.h"
#include "post/invoicing/invoice_book.h"
#include "post/render/report_pages.h"
#include "post/render/text_page_device.h"
#include "post/reports/invoice_documents.h"
#include "post/reports/report_run.h"

namespace lum {
namespace {

constexpr int kInvoices = 10000;
constexpr int kLinesEach = 5;
constexpr int kCustomers = 1000;
// The lines file is counted in 16 bits: past 32,765 records the invoices
// take the line records from the start again, still five reads each.
constexpr int kLineRecords = 32765;

// The benchmark work area with invoices across 2025: every third paid in
// full, every fifth part paid, the rest owing, due thirty days on.
struct InvoicingArea {
  InvoicingArea() {
    const std::filesystem::path area = bench.root / "prog" / "Ent-1" / "Op-1";
    RecordFile customers(bench.ops, area / "Cus-0001.dat", CustomerRecord::kSize);
    for (int c = 1; c <= kCustomers; ++c) {
      CustomerRecord customer;
      customer.texts = {
          fmt::format("Customer {}", c), "", "1 Main Road", "", "Penrith", "NSW", "2750", "", ""};
      customer.inUse = kInUse;
      customers.put(c, customer);
    }
    RecordFile invoices(bench.ops, area / "Inv-0001.dat", InvoiceRecord::kSize);
    RecordFile lines(bench.ops, area / "InD-0001.dat", InvoiceLineRecord::kSize);
    for (int i = 1; i <= kInvoices; ++i) {
      InvoiceRecord invoice;
      invoice.customer = static_cast<std::int16_t>((i - 1) % kCustomers + 1);
      const int day = (i % 28) + 1;
      const int month = (i % 12) + 1;
      invoice.date = fmt::format("{:02}/{:02}/25", day, month);
      invoice.dateDue = fmt::format("{:02}/{:02}/{}", day, month % 12 + 1, month == 12 ? 26 : 25);
      for (int l = 1; l <= kLinesEach; ++l) {
        const int detail = ((i - 1) * kLinesEach) % kLineRecords + l;
        InvoiceLineRecord line;
        line.productCode = static_cast<std::int16_t>(l);
        line.particulars = fmt::format("Service item {}", l);
        line.quantity = 2;
        line.unitPrice = Currency::fromCents(1000 * l);
        line.gst = std::string(1, 'y');
        line.amount = Currency::fromCents(2200 * l);
        line.inUse = kInUse;
        lines.put(detail, line);
        invoice.detailNumbers[static_cast<std::size_t>(l)] = static_cast<float>(detail);
        invoice.total += line.amount;
      }
      invoice.gst = Currency::fromCents(invoice.total.raw() / 1100);
      if (i % 3 == 0) {
        invoice.amountPaid = invoice.total;
        invoice.datePaid = invoice.dateDue;
      } else if (i % 5 == 0) {
        invoice.amountPaid = Currency::fromCents(5000);
      }
      invoice.inUse = kInUse;
      invoices.put(i, invoice);
    }
    RecordFile counters(bench.ops, area / "Lcn-0001.dat", CounterRecord::kSize);
    counters.put(static_cast<int>(EntityCounter::Invoices), CounterRecord{"Invoices", kInvoices});
    counters.put(static_cast<int>(EntityCounter::InvoiceDetails),
                 CounterRecord{"Invoice Details", kLineRecords});
    counters.put(static_cast<int>(EntityCounter::Customers),
                 CounterRecord{"Customers", kCustomers});
  }

  bench::FullWorkArea bench{1};
  const Date asAt = *Date::fromYmd(2025, 12, 31);
};

InvoicingArea& workArea() {
  static InvoicingArea area;
  return area;
}

void unpaidList(benchmark::State& state) {
  InvoicingArea& area = workArea();
  for (auto _ : state) {
    const InvoiceBook book(area.bench.session);
    benchmark::DoNotOptimize(
        invoiceListOf(book, InvoiceListKind::Unpaid, area.asAt, area.bench.clock));
  }
}
BENCHMARK(unpaidList)->Unit(benchmark::kMillisecond);

void statements(benchmark::State& state) {
  InvoicingArea& area = workArea();
  for (auto _ : state) {
    const InvoiceBook book(area.bench.session);
    benchmark::DoNotOptimize(statementsOf(book, {1, kCustomers}, area.asAt, area.bench.clock));
  }
}
BENCHMARK(statements)->Unit(benchmark::kMillisecond);

// The report run as the viewer starts it: figures and every page recorded
// into the page files, drawn on a text device that is thrown away.
void runReport(benchmark::State& state, ReportCode code) {
  InvoicingArea& area = workArea();
  Session& session = area.bench.session;
  std::ostringstream discarded;
  FixedTextMetrics metrics;
  TextPageDevice screen(discarded, metrics);
  ReportPages pages(session, screen);
  ReportRun run(session, pages, {});
  run.setStatementCustomers({1, kCustomers});
  for (auto _ : state) {
    session.reportRequests[code] = 1;
    run.viewerClosed();
    run.runReports();
    discarded.str({});
  }
  state.counters["pages"] = pages.yazan().pageCount();
}
void unpaidListPages(benchmark::State& state) {
  runReport(state, ReportCode::UnpaidInvoices);
}
BENCHMARK(unpaidListPages)->Unit(benchmark::kMillisecond);
void statementsPages(benchmark::State& state) {
  runReport(state, ReportCode::Statements);
}
BENCHMARK(statementsPages)->Unit(benchmark::kMillisecond);

// The invoices, their lines and the customers, start to end, through one
// reused buffer.
void readSameFiles(benchmark::State& state) {
  InvoicingArea& area = workArea();
  const std::filesystem::path folder = area.bench.root / "prog" / "Ent-1" / "Op-1";
  std::vector<std::byte> buffer(64 * 1024);
  for (auto _ : state) {
    for (const char* name : {"Inv-0001.dat", "InD-0001.dat", "Cus-0001.dat"}) {
      const FileHandle file = area.bench.ops.open(folder / name, OpenMode::ReadOnly);
      std::uint64_t offset = 0;
      while (const std::size_t got = area.bench.ops.readAt(file, offset, buffer)) {
        offset += got;
      }
      benchmark::DoNotOptimize(offset);
    }
  }
}
BENCHMARK(readSameFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lum
BENCHMARK_MAIN();
