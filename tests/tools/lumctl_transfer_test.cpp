#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "post/ledgers/ledger_records.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/crash_points.h"
#include "tests/support/records.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using nlohmann::ordered_json;

using test::writeRecords;

// The one-entity work area (quarterly; its accounts numbered as the
// ledgers program's) with a Takings row of 110.00 with GST to Sales (201)
// in the September quarter, beside ledgers client 1 "Demo Plumbing", whose
// chart names 201, 621 (the journal's contra) and 849 (GST).
class LumctlTransfer : public ::testing::Test {
 protected:
  LumctlTransfer() {
    test::writeOneEntityWorkArea(area.area());
    test::writeSalesAndFuelAccounts(area.area());
    test::writeBytes(
        area.area() / "Lcn-0001.dat",
        test::Bytes().text("Journals", 24).int16(2).text("Orv Ledgers Version", 24).int16(3));
    test::writeText(area.dir / "rows.csv",
                    "date,particulars,ref,gst,Amount,Sales,Fuel\n1.8.26,Takings,31,y,110,110,\n");
    const auto imported = area.run(
        {"journal", "import", "--journal", "1", "--period", "I", (area.dir / "rows.csv").string()});
    EXPECT_EQ(imported.status, kExitSuccess) << imported.err;

    writeRecords<LedgerClientRecord>(area.dir / "CntMan" / "Ent-1" / "Mascnt.dat",
                                     {{"Demo Plumbing", "Pty Ltd", {}, 1, {}}});
    std::vector<LedgerAccountRecord> chart(LedgerAccountRecord::kAccounts);
    chart[200].name = "Sales";
    chart[620].name = "Cash at Bank";
    chart[848].name = "GST Collected/Paid";
    writeRecords(ledgers() / "Ltc-1.Dat", chart);
    LedgerCountersRecord counters;
    counters.version = LedgerCountersRecord::kDataVersion;
    writeRecords<LedgerCountersRecord>(ledgers() / "Lct-1.Dat", {counters});
    for (const char* empty : {"Led-1.Dat", "Ljn-1.Dat", "Lcm-1.Dat"}) {
      test::writeBytes(ledgers() / empty, {});
    }
  }
  fs::path ledgers() const { return area.dir / "GLed" / "Ent-1"; }
  // The work area and the ledgers files, without the lock.
  test::TreeFiles bothTrees() const { return test::treeFiles(area.dir.path(), {"LumPost.lck"}); }

  test::LumctlArea area;
};

// An account with the one entry the transfer posted to it.
ordered_json posted(int account, const char* name, int entry, int reference, const char* amount,
                    const char* comment) {
  const ordered_json posting = {{"entry", entry},   {"date", "01/08/26"}, {"reference", reference},
                                {"amount", amount}, {"comment", comment}, {"header", 1}};
  return {{"account", account},
          {"name", name},
          {"balance", amount},
          {"entries", ordered_json::array({posting})}};
}

TEST_F(LumctlTransfer, AsksFirstThenPostsAndLedgersShowHasThePostings) {
  const auto before = bothTrees();
  const std::vector<std::string> transfer = {"transfer", "--ledgers", "1", "--period", "Sep"};
  const auto refused = area.run(transfer);
  EXPECT_EQ(refused.status, kExitRefused);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err,
            "lumctl: Selected Ledgers Client is Demo Plumbing Pty Ltd.  Are you sure you have "
            "selected the correct client number? (answer with --yes; nothing was changed)\n");
  EXPECT_EQ(bothTrees(), before);

  auto agreed = transfer;
  agreed.push_back("--yes");
  const auto done = area.run(agreed);
  ASSERT_EQ(done.status, kExitSuccess) << done.err;
  EXPECT_EQ(done.out, "entries 3\nheaders 1\ncomments 3\n");

  const auto shown = area.run({"ledgers", "show", "--ledgers", "1"});
  ASSERT_EQ(shown.status, kExitSuccess) << shown.err;
  const ordered_json expected = {
      {"accounts",
       {posted(201, "Sales", 1, 31, "-100.0000", "Takings"),
        posted(621, "Cash at Bank", 3, 0, "110.0000", "Contra"),
        posted(849, "GST Collected/Paid", 2, 0, "-10.0000", "GST for the period")}},
      {"headers",
       {{{"header", 1},
         {"narration",
          "Being automatic posting of GST Takings Book For the quarter ending "
          "September"},
         {"first", 1},
         {"last", 3}}}}};
  EXPECT_EQ(shown.out, expected.dump(2) + "\n");

  // The rows were marked in the same change: nothing is new the second time.
  EXPECT_EQ(area.run(agreed).out, "entries 0\nheaders 0\ncomments 0\n");
}

TEST_F(LumctlTransfer, RefusesWhatItCannotTransferTo) {
  const auto before = bothTrees();
  const auto missing = area.run({"transfer", "--ledgers", "2", "--yes"});
  EXPECT_EQ(missing.status, kExitRefused);
  EXPECT_EQ(missing.err, "lumctl: Ledgers files do not exist in specified drive\n");
  EXPECT_EQ(area.run({"transfer", "--ledgers", "1", "--folder", "..", "--yes"}).status,
            kExitRefused);
  EXPECT_EQ(area.run({"transfer", "--ledgers", "1", "--period", "Sep", "--all-periods"}).status,
            kExitUsage);
  EXPECT_EQ(bothTrees(), before);
}

}  // namespace
}  // namespace lum
