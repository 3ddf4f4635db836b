#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "post/ledgers/ledger_records.h"
#include "tests/support/records.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

using test::writeRecords;

LedgerAccountRecord account(const std::string& name, std::int64_t cents, int first, int last) {
  LedgerAccountRecord record;
  record.name = name;
  record.balance = Currency::fromCents(cents);
  record.firstEntry = first;
  record.lastEntry = last;
  return record;
}

LedgerEntryRecord entry(int account, int reference, std::int64_t cents, int comment, int next) {
  LedgerEntryRecord record;
  record.date = "01/07/05";
  record.account = account;
  record.reference = reference;
  record.amount = Currency::fromCents(cents);
  record.comment = comment;
  record.nextEntry = next;
  record.header = 1;
  return record;
}

// Ledgers client 1 of group 1: account 2 with a chain of three entries
// out of file order (3, 1, 4), account 4 with one, account 5 with a balance only; accounts 1
// and 3 blank. One journal header, three comments.
class LumctlLedgers : public ::testing::Test {
 protected:
  LumctlLedgers() {
    fs::create_directories(area.prog());
    accounts = {{},
                account("Cash at Bank", -14950, 3, 4),
                {},
                account("Sales", 15000, 2, 2),
                account("", -50, 0, 0)};
    entries = {entry(2, 12, -10000, 1, 4), entry(4, 12, 15000, 2, 0), entry(2, 0, -5000, 0, 1),
               entry(2, 7, 50, 3, 0)};
    counters.entries = counters.entriesAgain = 4;
    counters.headers = counters.headersAgain = 1;
    counters.comments = counters.commentsAgain = 3;
    counters.version = LedgerCountersRecord::kDataVersion;
    writeTree();
    writeRecords<LedgerJournalRecord>(ledgers() / "Ljn-1.Dat",
                                      {{"GJ", "Being automatic posting of GST", 1, 4}});
    writeRecords<LedgerCommentRecord>(ledgers() / "Lcm-1.Dat",
                                      {{"Takings", 1}, {"Takings", 2}, {"Rounding", 4}});
  }
  fs::path ledgers() const { return area.dir / "GLed" / "Ent-1"; }
  void writeTree() {
    writeRecords(ledgers() / "Ltc-1.Dat", accounts);
    writeRecords(ledgers() / "Led-1.Dat", entries);
    writeRecords<LedgerCountersRecord>(ledgers() / "Lct-1.Dat", {counters});
  }
  void expectRefused(const std::vector<std::string>& args, const std::string& message) {
    const auto run = area.run(args);
    EXPECT_EQ(run.status, kExitRefused);
    EXPECT_EQ(run.err, "lumctl: " + message + "\n");
    EXPECT_EQ(run.out, "");
  }

  test::LumctlArea area;
  std::vector<LedgerAccountRecord> accounts;
  std::vector<LedgerEntryRecord> entries;
  LedgerCountersRecord counters;
};

ordered_json entryJson(int number, int reference, const char* amount, const char* comment) {
  return {{"entry", number},  {"date", "01/07/05"}, {"reference", reference},
          {"amount", amount}, {"comment", comment}, {"header", 1}};
}

TEST_F(LumctlLedgers, ShowsAccountsAlongTheirChainsAndTheHeaders) {
  const auto run = area.run({"ledgers", "show", "--ledgers", "1"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.err, "");
  const ordered_json expected = {
      {"accounts",
       {{{"account", 2},
         {"name", "Cash at Bank"},
         {"balance", "-149.5000"},
         {"entries",
          {entryJson(3, 0, "-50.0000", ""), entryJson(1, 12, "-100.0000", "Takings"),
           entryJson(4, 7, "0.5000", "Rounding")}}},
        {{"account", 4},
         {"name", "Sales"},
         {"balance", "150.0000"},
         {"entries", {entryJson(2, 12, "150.0000", "Takings")}}},
        {{"account", 5},
         {"name", ""},
         {"balance", "-0.5000"},
         {"entries", ordered_json::array()}}}},
      {"headers",
       {{{"header", 1},
         {"narration", "Being automatic posting of GST"},
         {"first", 1},
         {"last", 4}}}}};
  EXPECT_EQ(run.out, expected.dump(2) + "\n");

  // Another period folder, in any case for Current.
  fs::create_directory(ledgers() / "2005");
  for (const char* file : {"Ltc-1.Dat", "Led-1.Dat", "Ljn-1.Dat", "Lcm-1.Dat", "Lct-1.Dat"}) {
    fs::copy_file(ledgers() / file, ledgers() / "2005" / file);
  }
  EXPECT_EQ(area.run({"ledgers", "show", "--ledgers", "1", "--folder", "2005"}).out, run.out);
  EXPECT_EQ(area.run({"ledgers", "show", "--ledgers", "1", "--folder", "current"}).out, run.out);
}

TEST_F(LumctlLedgers, RefusesAMissingClientOrAFolderOutsideTheLedgers) {
  expectRefused({"ledgers", "show", "--ledgers", "2"},
                "Ledgers files do not exist in specified drive");
  expectRefused({"ledgers", "show", "--ledgers", "1", "--folder", "1999"},
                "Ledgers files do not exist in specified drive");
  expectRefused({"ledgers", "show", "--ledgers", "1", "--folder", ".."},
                "\"..\" is not a ledgers period folder: give Current or a folder name");
  expectRefused({"ledgers", "show", "--ledgers", "1", "--folder", "a/b"},
                "\"a/b\" is not a ledgers period folder: give Current or a folder name");
  counters.version = 31;
  writeTree();
  expectRefused({"ledgers", "show", "--ledgers", "1"},
                "The Ledgers Data is not the correct Version.  Start Ledgers Program with the "
                "selected client and the data will automatically converted to correct version.");
}

TEST_F(LumctlLedgers, ADamagedTreeIsToldWithoutOutput) {
  entries[0].nextEntry = 3;  // 3 -> 1 -> 3 -> ...
  writeTree();
  expectRefused({"ledgers", "show", "--ledgers", "1"},
                "The ledgers file Ltc-1.Dat is damaged: account 2 comes back to entry 3 of account "
                "2: its entries loop.");

  entries[0].nextEntry = 9;
  writeTree();
  expectRefused({"ledgers", "show", "--ledgers", "1"},
                "The ledgers file Ltc-1.Dat is damaged: account 2 has entry 1 pointing to entry "
                "9, not to one of the 4 entries in use, before its last entry 4.");

  entries[0].nextEntry = 4;
  counters.entries = 6;
  writeTree();
  expectRefused({"ledgers", "show", "--ledgers", "1"},
                "The ledgers file Led-1.Dat is damaged: it holds 4 entries, but 6 are in use.");

  counters.entries = 4;
  entries[3].comment = 4;
  writeTree();
  expectRefused({"ledgers", "show", "--ledgers", "1"},
                "The ledgers file Led-1.Dat is damaged: entry 4 points to comment 4, not to one "
                "of the 3 comments in use.");
}

TEST_F(LumctlLedgers, DumpKnowsTheLedgersFilesByName) {
  const auto dump = [&](const fs::path& file) {
    const auto run = test::lumctl({"dump", file.string()});
    EXPECT_EQ(run.status, kExitSuccess) << file << run.err;
    return run.out.substr(0, run.out.find('\n'));
  };
  EXPECT_EQ(dump(ledgers() / "Led-1.Dat"),
            "{\"rec\":1,\"date\":\"01/07/05\",\"account\":2,\"zero_1\":0,\"reference\":12,"
            "\"carried\":[0,0,0,0,0,0,0,0],\"amount\":\"-100.0000\",\"comment\":1,\"zero_2\":0,"
            "\"next_entry\":4,\"header\":1,\"tail\":[0,0,0,0,0,0,0,0]}");
  EXPECT_EQ(dump(ledgers() / "Lcm-1.Dat"), "{\"rec\":1,\"text\":\"Takings\",\"entry\":1}");
  fs::rename(ledgers() / "Lct-1.Dat", ledgers() / "LCT-12.DAT");
  EXPECT_EQ(dump(ledgers() / "LCT-12.DAT").rfind("{\"rec\":1,\"entries\":4,\"headers\":1,", 0), 0u);
  EXPECT_EQ(dump(ledgers() / "Ljn-1.Dat").rfind("{\"rec\":1,\"kind\":\"GJ\",", 0), 0u);
  EXPECT_EQ(dump(ledgers() / "Ltc-1.Dat").rfind("{\"rec\":1,\"text_1\":\"\",", 0), 0u);

  writeRecords<LedgerClientRecord>(area.dir / "CntMan" / "Ent-1" / "mascnt.DAT",
                                   {{"Demo Plumbing", "Pty Ltd", {}, 1, {}}});
  EXPECT_EQ(
      dump(area.dir / "CntMan" / "Ent-1" / "mascnt.DAT")
          .rfind("{\"rec\":1,\"name\":\"Demo Plumbing\",\"second_name_line\":\"Pty Ltd\",", 0),
      0u);
  for (const char* table : {"RollAcP.dat", "rollact.DAT", "Rol-3.dat"}) {
    writeRecords<AccountNumberRecord>(area.dir / table, {{201}, {202}});
    const auto run = test::lumctl({"dump", (area.dir / table).string()});
    EXPECT_EQ(run.out, "{\"rec\":1,\"account\":201}\n{\"rec\":2,\"account\":202}\n") << table;
  }
}

}  // namespace
}  // namespace lum
