// The GST gathering (alone and writing its audit trail) and the profit and
// loss preparation over 99 full journals of one period, against a plain
// sequential read of the same files.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/full_work_area.h"
#include "post/reports/gst_figures.h"
#include "post/reports/gst_trail.h"
#include "post/reports/profit_and_loss.h"

namespace lum {
namespace {

constexpr int kJournals = 99;

bench::FullWorkArea& workArea() {
  static bench::FullWorkArea area(kJournals);
  return area;
}

void gatherGst(benchmark::State& state) {
  bench::FullWorkArea& area = workArea();
  for (auto _ : state) {
    benchmark::DoNotOptimize(gatherGstFigures(area.session));
  }
}
BENCHMARK(gatherGst)->Unit(benchmark::kMillisecond);

// The same gathering writing the audit trail on the way: of every amount
// and everything left out (argument 0), or of G1 only (1), as the details
// window asks for it.
void gatherGstWithTrail(benchmark::State& state) {
  bench::FullWorkArea& area = workArea();
  std::size_t lines = 0;
  std::size_t leftOut = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    GstTrail trail;
    if (state.range(0) == 1) {
      trail.figure = TrailFigure::label(1);
      trail.keepLeftOut = false;
    }
    benchmark::DoNotOptimize(gatherGstFigures(area.session, {}, &trail));
    lines = trail.lines.size();
    leftOut = trail.notCounted.size();
    bytes = trail.lines.capacity() * sizeof(GstTrailLine) +
            trail.rows.capacity() * sizeof(GstTrailRow) +
            trail.notCounted.capacity() * sizeof(GstLeftOut);
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["left out"] = static_cast<double>(leftOut);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(gatherGstWithTrail)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void prepareProfitAndLossAllPeriods(benchmark::State& state) {
  bench::FullWorkArea& area = workArea();
  for (auto _ : state) {
    benchmark::DoNotOptimize(prepareProfitAndLoss(area.session, ProfitAndLossPeriods::All));
  }
}
BENCHMARK(prepareProfitAndLossAllPeriods)->Unit(benchmark::kMillisecond);

// Every file the gathering reads, start to end, through one reused buffer.
void readSameFiles(benchmark::State& state) {
  bench::FullWorkArea& area = workArea();
  std::vector<std::byte> buffer(64 * 1024);
  for (auto _ : state) {
    for (int j = 1; j <= kJournals; ++j) {
      const JournalFiles files(area.session, j);
      for (const char* name : {"GrdRecs", "GrdAms", "An", "Ax"}) {
        const FileHandle file = area.ops.open(files.path(name), OpenMode::ReadOnly);
        std::uint64_t offset = 0;
        while (const std::size_t got = area.ops.readAt(file, offset, buffer)) {
          offset += got;
        }
        benchmark::DoNotOptimize(offset);
      }
    }
  }
}
BENCHMARK(readSameFiles)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lum
BENCHMARK_MAIN();
