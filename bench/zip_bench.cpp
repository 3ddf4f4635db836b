// Storing and bringing back a large work area: the data files of 50
// entities (about 7 MB of fixed-length records), against Info-ZIP's zip and
// unzip on the same files at the same level (6), run as commands.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "utils/zip_archive.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntities = 50;

// Record-file-like bytes: blank-padded names and figures, zero runs.
std::string records(int seed, std::size_t recordLength, int count) {
  std::string bytes;
  unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1;
  const auto next = [&] {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  };
  for (int r = 0; r < count; ++r) {
    std::string record(recordLength, '\0');
    const std::string name =
        "Entry " + std::to_string(next() % 997) + " of account " + std::to_string(next() % 89);
    record.replace(0, std::min(name.size(), recordLength), name.substr(0, recordLength));
    std::fill(record.begin() + static_cast<long>(std::min(name.size(), recordLength)),
              record.begin() + static_cast<long>(std::min<std::size_t>(48, recordLength)), ' ');
    for (std::size_t at = 48; at + 8 <= recordLength; at += 8) {
      if (next() % 3 == 0) {
        const long long amount = static_cast<long long>(next() % 5000000) * 100;
        std::memcpy(record.data() + at, &amount, 8);
      }
    }
    bytes += record;
  }
  return bytes;
}

struct WorkArea {
  WorkArea() : root(fs::temp_directory_path() / ("lum-zip-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(root / "area");
    fs::create_directories(root / "out");
    for (int e = 1; e <= kEntities; ++e) {
      char code[8];
      std::snprintf(code, sizeof code, "%04d", e);
      write("Jnl-" + std::string(code) + ".dat", records(e, 174, 12));
      write("An01" + std::string(code) + ".dat", records(e + 1000, 72, 100));
      write("DA01" + std::string(code) + ".dat", records(e + 2000, 120, 400));
      write("GA01" + std::string(code) + ".dat", records(e + 3000, 808, 120));
      write("Ini-" + std::string(code) + ".dat", records(e + 4000, 52, 9));
    }
    write("Ent.dat", records(7, 306, kEntities));
    write("Entcoun.dat", records(8, 26, 3));
    for (const auto& entry : fs::directory_iterator(root / "area")) {
      files.push_back(entry.path());
      bytes += fs::file_size(entry.path());
    }
  }
  ~WorkArea() { fs::remove_all(root); }
  void write(const std::string& name, const std::string& content) {
    std::ofstream(root / "area" / name, std::ios::binary) << content;
  }

  fs::path root;
  std::vector<fs::path> files;
  std::uintmax_t bytes = 0;
};

WorkArea& area() {
  static WorkArea work;
  return work;
}

int run(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str());
}

void storeWorkArea(benchmark::State& state) {
  lum::FileOps ops;
  const auto archive = area().root / "LUM-1.Zip";
  for (auto _ : state) {
    if (lum::zipFiles(ops, archive, area().files) != lum::ZipStatus::Ok) {
      state.SkipWithError("zipFiles failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * area().bytes));
  state.counters["archive_bytes"] = static_cast<double>(fs::file_size(archive));
}
BENCHMARK(storeWorkArea)->Unit(benchmark::kMillisecond)->UseRealTime();

void infoZipStore(benchmark::State& state) {
  const auto archive = area().root / "info.zip";
  const std::string command = "cd '" + (area().root / "area").string() + "' && rm -f '" +
                              archive.string() + "' && zip -q -6 -X '" + archive.string() +
                              "' *.dat";
  for (auto _ : state) {
    if (run(command) != 0) {
      state.SkipWithError("zip failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * area().bytes));
  state.counters["archive_bytes"] = static_cast<double>(fs::file_size(archive));
}
BENCHMARK(infoZipStore)->Unit(benchmark::kMillisecond)->UseRealTime();

void bringBackWorkArea(benchmark::State& state) {
  lum::FileOps ops;
  const auto archive = area().root / "LUM-1.Zip";
  if (lum::zipFiles(ops, archive, area().files) != lum::ZipStatus::Ok) {
    state.SkipWithError("zipFiles failed");
    return;
  }
  for (auto _ : state) {
    if (lum::unzipFiles(ops, archive, area().root / "out", "*.dat").status != lum::ZipStatus::Ok) {
      state.SkipWithError("unzipFiles failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * area().bytes));
}
BENCHMARK(bringBackWorkArea)->Unit(benchmark::kMillisecond)->UseRealTime();

void infoUnzipBringBack(benchmark::State& state) {
  lum::FileOps ops;
  const auto archive = area().root / "LUM-1.Zip";
  if (lum::zipFiles(ops, archive, area().files) != lum::ZipStatus::Ok) {
    state.SkipWithError("zipFiles failed");
    return;
  }
  const std::string command =
      "unzip -q -o '" + archive.string() + "' '*.dat' -d '" + (area().root / "out").string() + "'";
  for (auto _ : state) {
    if (run(command) != 0) {
      state.SkipWithError("unzip failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * area().bytes));
}
BENCHMARK(infoUnzipBringBack)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
