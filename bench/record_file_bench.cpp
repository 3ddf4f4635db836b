// Record file throughput at the sizes the programs meet: a full journal's
// line amounts (2,000 records of 808 bytes) and the entity records of a
// large work area.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/record_file.h"
#include "post/login/login_records.h"

namespace {

constexpr std::int64_t kRows = 2000;
constexpr std::size_t kAmountsLength = 808;

std::filesystem::path scratchFile(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string(name) + std::to_string(::getpid()));
}

void writeJournalAmounts(benchmark::State& state) {
  const auto path = scratchFile("lum-bench-amounts-");
  lum::FileOps ops;
  const std::vector<std::byte> record(kAmountsLength, std::byte{7});
  for (auto _ : state) {
    lum::RecordFile file(ops, path, kAmountsLength);
    for (std::int64_t n = 1; n <= kRows; ++n) {
      file.write(n, record);
    }
    file.close();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  std::filesystem::remove(path);
}
BENCHMARK(writeJournalAmounts)->Unit(benchmark::kMillisecond);

void readJournalAmounts(benchmark::State& state) {
  const auto path = scratchFile("lum-bench-amounts-");
  lum::FileOps ops;
  lum::RecordFile file(ops, path, kAmountsLength);
  file.write(kRows, std::vector<std::byte>(kAmountsLength));
  for (auto _ : state) {
    for (std::int64_t n = 1; n <= kRows; ++n) {
      benchmark::DoNotOptimize(file.read(n));
    }
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  file.close();
  std::filesystem::remove(path);
}
BENCHMARK(readJournalAmounts)->Unit(benchmark::kMillisecond);

void decodeAndEncodeEntities(benchmark::State& state) {
  lum::EntityRecord entity;
  entity.name = "Smith Plumbing";
  entity.addressLine1 = "1 Main St";
  entity.abn = "12 345 678 901";
  const auto bytes = entity.encode();
  for (auto _ : state) {
    benchmark::DoNotOptimize(lum::EntityRecord::decode(bytes).encode());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(decodeAndEncodeEntities);

}  // namespace

BENCHMARK_MAIN();
