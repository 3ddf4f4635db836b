// A full journal: 2,000 rows by 100 columns in posting mode 3, loaded,
// saved, rechecked, shown in the journal window, and typed into at its
// last rows; against the time to merely read and write the same bytes.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <filesystem>
#include <memory>

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

// Answers every question Yes and moves a fixed clock instead of waiting.
class Agreeable final : public Prompter {
 public:
  Answer ask(const Prompt& prompt) override {
    return prompt.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
  }
  std::optional<std::string> input(const InputPrompt&) override { return std::nullopt; }
};

class NoWait final : public Waiter {
 public:
  explicit NoWait(FixedClock& clock) : mClock(clock) {}
  void pause(std::chrono::milliseconds duration) override { mClock.advance(duration); }

 private:
  FixedClock& mClock;
};

void writeRecord(FileOps& ops, const fs::path& file, int number,
                 const std::vector<std::byte>& bytes) {
  RecordFile records(ops, file, bytes.size());
  records.write(number, bytes);
  records.close();
}

// A work area whose entity 1 (posting mode 3, monthly) has one journal
// holding 2,000 rows with figures in every column, in period "A".
struct FullJournal {
  FullJournal() {
    root = fs::temp_directory_path() / ("lum-bench-" + std::to_string(::getpid()));
    const fs::path area = root / "prog" / "Ent-1" / "Op-1";
    fs::create_directories(area);
    writeRecord(ops, area / "Entcoun.dat", 1, CounterRecord{"", 1}.encode());
    writeRecord(ops, area / "Entcoun.dat", 2, CounterRecord{"", 1}.encode());
    writeRecord(ops, area / "Lcn-0001.dat", 1, CounterRecord{"Journals", 1}.encode());
    writeRecord(ops, area / "Ini-0001.dat", 1, SetupRecord{"Posting Mode 0 or 3", "3"}.encode());
    writeRecord(ops, area / "Ini-0001.dat", 2,
                SetupRecord{"M-Monthly or Q-Quarterly", "M"}.encode());
    session.setHost(windows);
    session.login.groupNumber = 1;
    openWorkArea(session, 1, AreaMode::StartUp);
    session.login.periodLetter = 'A';

    JournalFiles files(session, 1);
    Journal journal(3);
    for (int r = 1; r <= Journal::kMaxRows; ++r) {
      journal.row(r) = TransactionRecord{"03/01/26", "Particulars of row " + std::to_string(r),
                                         std::to_string(r % 1000), "Y", 0};
      for (int c = 4; c <= Journal::kMaxColumn; ++c) {
        journal.am(r, c) = Currency::fromCents(r + c);
      }
    }
    journal.rowsInUse = Journal::kMaxRows;
    journal.lastColumnInUse = Journal::kMaxColumn;
    files.save(journal);
  }
  ~FullJournal() { fs::remove_all(root); }

  fs::path root;
  FileOps ops;
  DosPath paths{ops,
                fs::temp_directory_path() / ("lum-bench-" + std::to_string(::getpid())) / "prog",
                "/nonexistent"};
  Agreeable prompter;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 1, 20), 10, 0, 0}};
  NoWait waiter{clock};
  NoWindows windows;
  Session session{ops, paths, prompter, clock, waiter};
};

FullJournal& fullJournal() {
  static FullJournal journal;
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
  FullJournal& full = fullJournal();
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
  FullJournal& full = fullJournal();
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
  FullJournal& full = fullJournal();
  JournalFiles files(full.session, 1);
  Journal journal = files.load();
  for (auto _ : state) {
    recheckJournal(journal, full.prompter, false);
  }
}
BENCHMARK(recheckFullJournal)->Unit(benchmark::kMillisecond);

void keystrokeAtRow1999(benchmark::State& state) {
  FullJournal& full = fullJournal();
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
  FullJournal& full = fullJournal();
  for (auto _ : state) {
    auto journal = std::make_shared<OpenJournal>(full.session);
    JournalWindow window(full.session, journal, {}, [](const std::function<void()>& f) { f(); });
    QApplication::processEvents();
    journal->close();
  }
}
BENCHMARK(openJournalWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lum

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
