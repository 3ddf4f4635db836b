#pragma once

// A work area for the benchmarks: entity 1 (posting mode 3, monthly) whose
// journals each hold 2,000 rows with figures in every column (or in the
// first analysisAmounts analysis columns), in period "A"; analysis column
// c is ledger account 200 + c.

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "platform/dos_path.h"
#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "platform/record_file.h"
#include "post/journals/journal.h"
#include "post/journals/journal_files.h"
#include "post/login/login_records.h"
#include "post/login/session.h"
#include "post/login/window_host.h"
#include "post/login/work_area.h"

namespace lum::bench {

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

// Journal 1 is written through the journal files; the others are copies
// of its files, with account types and GST letters of every kind.
struct FullWorkArea {
  explicit FullWorkArea(int journals = 1, int analysisAmounts = Journal::kMaxColumn) {
    root = fs::temp_directory_path() / ("lum-bench-" + std::to_string(::getpid()));
    const fs::path area = root / "prog" / "Ent-1" / "Op-1";
    fs::create_directories(area);
    writeRecord(ops, area / "Entcoun.dat", 1, CounterRecord{"", 1}.encode());
    writeRecord(ops, area / "Entcoun.dat", 2, CounterRecord{"", 1}.encode());
    writeRecord(ops, area / "Lcn-0001.dat", 1,
                CounterRecord{"Journals", static_cast<std::int16_t>(journals)}.encode());
    for (int j = 1; j <= journals; ++j) {
      writeRecord(ops, area / "Jnl-0001.dat", j,
                  JournalHeaderRecord{"Journal " + std::to_string(j), "E", 0, ""}.encode());
    }
    writeRecord(ops, area / "Ini-0001.dat", 1, SetupRecord{"Posting Mode 0 or 3", "3"}.encode());
    writeRecord(ops, area / "Ini-0001.dat", 2,
                SetupRecord{"M-Monthly or Q-Quarterly", "M"}.encode());
    session.setHost(windows);
    session.login.groupNumber = 1;
    openWorkArea(session, 1, AreaMode::StartUp);
    session.login.periodLetter = 'A';

    JournalFiles files(session, 1);
    Journal journal(PostingMode::OtherBusiness);
    for (int r = 1; r <= Journal::kMaxRows; ++r) {
      journal.row(r) = TransactionRecord{"03/01/26", "Particulars of row " + std::to_string(r),
                                         std::to_string(r % 1000), "Y", 0};
      for (int c = 4; c <= std::min(journal.lastFixedColumn() + analysisAmounts,
                                    static_cast<int>(Journal::kMaxColumn));
           ++c) {
        journal.am(r, c) = Currency::fromCents(r + c);
      }
    }
    const char* types[] = {"S", "E", "C", "A", "I", "F"};
    const char* letters[] = {"Y", "N", "T", "C", ""};
    for (int c = journal.lastFixedColumn() + 1; c <= Journal::kMaxColumn; ++c) {
      journal.column(c).name = "Account " + std::to_string(c);
      journal.column(c).accountType = types[c % 6];
      journal.column(c).gstCode = letters[c % 5];
      journal.column(c).basClassification = static_cast<float>(c % 16);
      journal.column(c).ledgersAccount = static_cast<std::int16_t>(200 + c);
    }
    journal.rowsInUse = Journal::kMaxRows;
    journal.lastColumnInUse = Journal::kMaxColumn;
    files.save(journal);
    for (int j = 2; j <= journals; ++j) {
      const JournalFiles copy(session, j);
      for (const char* name : {"GrdRecs", "GrdAms", "GstPers", "An", "Ax"}) {
        fs::copy_file(files.path(name), copy.path(name));
      }
    }
  }
  ~FullWorkArea() { fs::remove_all(root); }

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

}  // namespace lum::bench
