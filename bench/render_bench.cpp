// Page rendering at full size: a 999-page report of 60 lines a page
// recorded on the viewer's page, one page loaded and drawn again, and the
// whole report written as a PDF file.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "platform/scripted_prompter.h"
#include "post/render/page_writer.h"
#include "post/render/pdf_file.h"
#include "post/render/screen_page_device.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

constexpr int kPages = 999;
constexpr int kLinesPerPage = 60;

// The page files in a folder of their own, and the viewer's page.
struct Report {
  Report()
      : folder(fs::temp_directory_path() / ("lum-render-bench-" + std::to_string(::getpid()))),
        made((fs::create_directories(folder), true)),
        commands(ops, folder / "DosyaYaz.dat", PageCommandRecord::kSize),
        texts(ops, folder / "Kelamlar.dat", PageTextRecord::kSize),
        yazan(ops, prompter) {
    yazan.attachFiles(&commands, &texts);
    yazan.setScreen(&screen);
  }
  ~Report() { fs::remove_all(folder); }

  // A ledger listing: a heading, then 60 lines of a date, particulars,
  // reference and amount.
  void write() {
    PageWriter page(yazan);
    yazan.setNextDevice(OutputDevice::Recording);
    yazan.BeginOutput();
    page.millimetreScale();
    for (int number = 1; number <= kPages; ++number) {
      page.beginPage();
      page.moveTo(10, 15);
      page.bold();
      page.text(10, "Ledger listing of the payments journal", Align::Left);
      page.regular();
      page.text(195, "Page " + std::to_string(number), Align::Right);
      page.newLine();
      for (int line = 1; line <= kLinesPerPage; ++line) {
        page.text(10, "12/03/25", Align::Left);
        page.text(30, "Payment to supplier " + std::to_string(line), Align::Left);
        page.text(110, "chq " + std::to_string(100000 + line), Align::Left);
        page.amount(195, Currency::fromCents(line * 12345), AmountStyle::DollarsAndCents);
        page.newLine();
      }
      page.endPage();
    }
    page.endReport();
  }

  fs::path folder;
  bool made;
  FileOps ops;
  ScriptedPrompter prompter;
  RecordFile commands;
  RecordFile texts;
  ScreenPageDevice screen;
  Yazan yazan;
};

void recordReport(benchmark::State& state) {
  Report report;
  for (auto _ : state) {
    report.write();
  }
  if (report.yazan.pageCount() != kPages) {
    state.SkipWithError("the report did not come out at 999 pages");
  }
}
BENCHMARK(recordReport)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same with a new viewer page each time, so no text width is known yet.
void recordReportFirstTime(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto report = std::make_unique<Report>();
    state.ResumeTiming();
    report->write();
    state.PauseTiming();
    report.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(recordReportFirstTime)->Unit(benchmark::kMillisecond)->UseRealTime();

void loadAndRenderPage(benchmark::State& state) {
  Report report;
  report.write();
  report.yazan.setPageNumber(500);
  for (auto _ : state) {
    report.yazan.LoadPage();
    benchmark::DoNotOptimize(report.screen.image());
  }
}
BENCHMARK(loadAndRenderPage)->Unit(benchmark::kMillisecond)->UseRealTime();

void writePdf(benchmark::State& state) {
  Report report;
  report.write();
  const fs::path file = report.folder / "report.pdf";
  for (auto _ : state) {
    PdfFile pdf(report.ops, file);
    report.yazan.ReplayPages(pdf.device(), 1, kPages);
    pdf.save();
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(file));
}
BENCHMARK(writePdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace lum

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
