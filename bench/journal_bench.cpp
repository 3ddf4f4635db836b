// A full journal: 2,000 rows by 100 columns in posting mode 3, loaded,
// saved, rechecked, shown in the journal window, and typed into at its
// last rows; against the time to merely read and write the same bytes.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <memory>

#include "bench/full_work_area.h"
#include "platform/scripted_prompter.h"
#include "post/journals/journal_checks.h"
#include "post/journals/journal_editor.h"
#include "post/journals/journal_files.h"
#include "post/journals/journal_window.h"
#include "post/journals/open_journal.h"
#include "post/login/login_records.h"
#include "post/login/work_area.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

bench::FullWorkArea& fullJournal() {
  static bench::FullWorkArea journal;
  return journal;
}

std::vector<fs::path> journalFiles(JournalFiles& files) {
  return {files.path("GrdRecs"), files.path("GrdAms"), files.path("GstPers"), files.path("An"),
          files.path("Ax")};
}

void readJournal(benchmark::State& state) {
  JournalFiles files(fullJournal().session, 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(files.load());
  }
}
BENCHMARK(readJournal)->Unit(benchmark::kMillisecond);

void readSameBytes(benchmark::State& state) {
  bench::FullWorkArea& full = fullJournal();
  JournalFiles files(full.session, 1);
  const auto paths = journalFiles(files);
  for (auto _ : state) {
    for (const auto& path : paths) {
      benchmark::DoNotOptimize(full.ops.readFile(path));
    }
  }
}
BENCHMARK(readSameBytes)->Unit(benchmark::kMillisecond);

void saveJournal(benchmark::State& state) {
  JournalFiles files(fullJournal().session, 1);
  Journal journal = files.load();
  for (auto _ : state) {
    files.save(journal);
  }
}
BENCHMARK(saveJournal)->Unit(benchmark::kMillisecond);

void writeSameBytesFlushed(benchmark::State& state) {
  bench::FullWorkArea& full = fullJournal();
  JournalFiles files(full.session, 1);
  std::vector<std::pair<fs::path, std::vector<std::byte>>> contents;
  for (const auto& path : journalFiles(files)) {
    contents.emplace_back(path, full.ops.readFile(path));
  }
  for (auto _ : state) {
    for (const auto& [path, bytes] : contents) {
      full.ops.writeFile(path, bytes);  // written and flushed
    }
  }
}
BENCHMARK(writeSameBytesFlushed)->Unit(benchmark::kMillisecond);

void recheckFullJournal(benchmark::State& state) {
  bench::FullWorkArea& full = fullJournal();
  JournalFiles files(full.session, 1);
  Journal journal = files.load();
  for (auto _ : state) {
    recheckJournal(journal, full.prompter, false);
  }
}
BENCHMARK(recheckFullJournal)->Unit(benchmark::kMillisecond);

void keystrokeAtRow1999(benchmark::State& state) {
  bench::FullWorkArea& full = fullJournal();
  JournalFiles files(full.session, 1);
  Journal journal = files.load();
  EditorContext context;
  context.prompter = &full.prompter;
  context.clock = &full.clock;
  context.periodLetter = 'A';
  JournalEditor editor(journal, context);
  for (auto _ : state) {
    editor.enterCell(1999, 5);  // receipts: the running balances follow
    editor.keyDown(JournalEditor::kDelete, false);
    editor.keyDown('7', false);
    editor.keyDown(JournalEditor::kEnter, false);
  }
}
BENCHMARK(keystrokeAtRow1999)->Unit(benchmark::kMicrosecond);

void openJournalWindow(benchmark::State& state) {
  bench::FullWorkArea& full = fullJournal();
  for (auto _ : state) {
    auto journal = std::make_shared<OpenJournal>(full.session);
    JournalWindow window(full.session, journal, {}, [](const std::function<void()>& f) { f(); });
    // Shown and painted once, as the user first sees it.
    window.show();
    window.repaint();
    QApplication::processEvents();
    journal->close();
  }
}
BENCHMARK(openJournalWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lum

int main(int argc, char** argv) {
  // Offscreen unless a platform is named, as under Xvfb: QT_QPA_PLATFORM=xcb.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
