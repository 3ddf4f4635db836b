// The transfer to the ledgers program of 99 journals of 2,000 rows in one
// period, two analysis amounts a row, against a plain read of the same
// journal files plus a plain append of as many entries.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/full_work_area.h"
#include "post/ledgers/ledger_records.h"
#include "post/ledgers/ledgers_transfer.h"
#include "post/login/journal_records.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using bench::writeRecord;

constexpr int kJournals = 99;
constexpr int kAmountsPerRow = 2;
// Each row's two amounts, and each journal's GST and contra.
constexpr int kEntries = kJournals * (Journal::kMaxRows * kAmountsPerRow + 2);

struct LedgersArea {
  LedgersArea() : area(kJournals, kAmountsPerRow) {
    const fs::path program = area.root / "prog";
    const fs::path work = program / "Ent-1" / "Op-1";
    writeRecord(area.ops, work / "Lcn-0001.dat", 2,
                CounterRecord{"Orv Ledgers Version", 3}.encode());
    for (int j = 1; j <= kJournals; ++j) {  // each journal's bank account
      writeRecord(area.ops, work / "Jnl-0001.dat", j,
                  JournalHeaderRecord{"Journal " + std::to_string(j), "E", 621, ""}.encode());
    }
    fs::create_directories(area.root / "CntMan" / "Ent-1");
    LedgerClientRecord client;
    client.name = "Bench Client";
    writeRecord(area.ops, area.root / "CntMan" / "Ent-1" / "Mascnt.dat", 1, client.encode());
    ledgers = area.root / "GLed" / "Ent-1";
    fs::create_directories(ledgers);
    empty();
  }

  // A client with its chart and no entries.
  void empty() {
    std::vector<std::byte> accounts;
    for (int a = 1; a <= LedgerAccountRecord::kAccounts; ++a) {
      LedgerAccountRecord account;
      account.name = "Account " + std::to_string(a);
      const auto bytes = account.encode();
      accounts.insert(accounts.end(), bytes.begin(), bytes.end());
    }
    area.ops.writeFile(ledgers / "Ltc-1.Dat", accounts);
    LedgerCountersRecord counters;
    counters.version = LedgerCountersRecord::kDataVersion;
    area.ops.writeFile(ledgers / "Lct-1.Dat", counters.encode());
    for (const char* name : {"Led-1.Dat", "Ljn-1.Dat", "Lcm-1.Dat"}) {
      area.ops.writeFile(ledgers / name, {});
    }
  }

  bench::FullWorkArea area;
  fs::path ledgers;
};

LedgersArea& ledgersArea() {
  static LedgersArea area;
  return area;
}

// Every transaction of the period, the marks ignored, into empty ledgers;
// with range(0) 0 the files are not synced to the disk (the transaction's
// copies and its commit), to tell that cost from the rest.
void transferAllRows(benchmark::State& state) {
  LedgersArea& ledgers = ledgersArea();
  ledgers.area.ops.setSyncs(state.range(0) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    ledgers.empty();
    state.ResumeTiming();
    TransferRequest request;
    request.ledgers = 1;
    request.allTransactions = true;
    const auto counts = transferToLedgers(ledgers.area.session, request);
    if (!counts || counts->entries != kEntries) {
      state.SkipWithError("the transfer did not post every amount");
      break;
    }
  }
}
BENCHMARK(transferAllRows)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The journal files the transfer reads, start to end, and as many entry
// records appended to a file, flushed once.
void readAndAppend(benchmark::State& state) {
  LedgersArea& ledgers = ledgersArea();
  FileOps& ops = ledgers.area.ops;
  std::vector<std::byte> buffer(64 * 1024);
  const std::vector<std::byte> entry = LedgerEntryRecord{}.encode();
  std::vector<std::byte> block;
  for (int i = 0; i < 1024; ++i) {
    block.insert(block.end(), entry.begin(), entry.end());
  }
  ops.setSyncs(true);
  for (auto _ : state) {
    for (int j = 1; j <= kJournals; ++j) {
      const JournalFiles files(ledgers.area.session, j);
      for (const char* name : {"GrdRecs", "GrdAms", "An", "Ax"}) {
        const FileHandle file = ops.open(files.path(name), OpenMode::ReadOnly);
        std::uint64_t offset = 0;
        while (const std::size_t got = ops.readAt(file, offset, buffer)) {
          offset += got;
        }
        benchmark::DoNotOptimize(offset);
      }
    }
    const FileHandle out = ops.open(ledgers.ledgers / "Plain.Dat", OpenMode::WriteTruncate);
    std::uint64_t offset = 0;
    for (std::int64_t written = 0; written < kEntries; written += 1024) {
      const auto records =
          static_cast<std::size_t>(std::min<std::int64_t>(1024, kEntries - written));
      ops.writeAt(out, offset, std::span(block).first(records * entry.size()));
      offset += records * entry.size();
    }
    ops.flush(out);
  }
}
BENCHMARK(readAndAppend)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lum
BENCHMARK_MAIN();
