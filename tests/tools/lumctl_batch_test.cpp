#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/work_area_lock.h"
#include "platform/work_area_transaction.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/crash_points.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"
#include "tools/lumctl/batch_script.h"
#include "tools/lumctl/fault_at.h"
#include "tools/lumctl/headless.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

std::vector<std::vector<std::string>> wordsOf(const BatchScript& script) {
  std::vector<std::vector<std::string>> words;
  for (const BatchLine& line : script.lines) {
    words.push_back(line.words);
  }
  return words;
}

TEST(BatchScript, SplitsWordsAsAShellDoes) {
  const BatchScript script = parseBatchScript(
      "# a comment line\n"
      "\n"
      "journal show --journal 1\t--period I   # the first\r\n"
      "journal import 'rows one.csv' \"say \\\"hi\\\" \\\\ \\n\" a\\ b c#d \"\"\n"
      "   \t  \n"
      "render --format plain --out -");
  EXPECT_TRUE(script.faults.empty());
  ASSERT_EQ(script.lines.size(), 3u);
  EXPECT_EQ(wordsOf(script),
            (std::vector<std::vector<std::string>>{
                {"journal", "show", "--journal", "1", "--period", "I"},
                {"journal", "import", "rows one.csv", "say \"hi\" \\ \\n", "a b", "c#d", ""},
                {"render", "--format", "plain", "--out", "-"}}));
  EXPECT_EQ(script.lines[0].number, 3);
  EXPECT_EQ(script.lines[0].text, "journal show --journal 1\t--period I   # the first");
  EXPECT_EQ(script.lines[2].number, 6);
}

TEST(BatchScript, EveryFaultIsFoundBeforeAnythingRuns) {
  using namespace std::string_literals;
  const BatchScript script = parseBatchScript(
      "journal show --journal 1 --period I\n"
      "journal import \"rows.csv\n"
      "journal import 'rows.csv\n"
      "batch more.txt\n"
      "--root /elsewhere journal show\n"
      "dump a.dat \\\n"
      "dump a\0b\n"s);
  EXPECT_EQ(script.faults,
            (std::vector<std::string>{
                "line 2: the quote \" opened at column 16 is not closed",
                "line 3: the quote ' opened at column 16 is not closed",
                "line 4: a batch cannot run another batch",
                "line 5: a line starts with its command, not --root (the global options go "
                "before batch, for every line)",
                "line 6: a backslash ends the line (a line does not go on to the next)",
                "line 7: a NUL byte"}));
}

// Journal 1 of the one-entity work area (quarterly, posting mode 0), with
// the analysis columns "Sales" and "Fuel".
class LumctlBatch : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlBatch() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
    test::writeText(dir / "rows one.csv",
                    "date,particulars,ref,gst,Amount,Sales\n1.8.26,Takings,1,y,110,110\n");
    test::writeText(dir / "rows two.csv",
                    "date,particulars,ref,gst,Amount,Fuel\n2.8.26,Diesel,2,y,44,44\n");
    fs::copy(area(), dir / "fresh", fs::copy_options::recursive);
  }
  void startAfresh() {
    fs::remove_all(area());
    fs::copy(dir / "fresh", area(), fs::copy_options::recursive);
  }
  fs::path script(const std::string& text) {
    test::writeText(dir / "batch.txt", text);
    return dir / "batch.txt";
  }
  std::string importLine(const char* file) const {
    return "journal import --journal 1 --period I '" + (dir / file).string() + "'\n";
  }
  static constexpr const char* kShow = "journal show --journal 1 --period I\n";
  static constexpr const char* kOneRow =
      "date,particulars,ref,gst,Amount,Sales,row balance\n"
      "01/08/26,Takings,1,Y,110.00,110.00,0.00\n"
      "total,,,,110.00,110.00,\n";
  static constexpr const char* kTwoRows =
      "date,particulars,ref,gst,Amount,Sales,Fuel,row balance\n"
      "01/08/26,Takings,1,Y,110.00,110.00,,0.00\n"
      "02/08/26,Diesel,2,Y,44.00,,44.00,0.00\n"
      "total,,,,154.00,110.00,44.00,\n";
};

TEST_F(LumctlBatch, RunsEachLineInOrderWithItsOutput) {
  const auto file = script("# two imports, each shown\n" + importLine("rows one.csv") + kShow +
                           "\n" + importLine("rows two.csv") + kShow);
  const auto result = run({"batch", file.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, std::string(kOneRow) + kTwoRows);
  EXPECT_EQ(result.err, "");
  // The lock went with the batch.
  FileOps ops;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 8, 3), 9, 0, 0}};
  SleepingWaiter waiter;
  EXPECT_TRUE(WorkAreaLock(ops, clock, waiter).acquireNew(area()));
}

TEST_F(LumctlBatch, ReadsTheStandardInput) {
  std::istringstream in(importLine("rows one.csv") + kShow);
  std::ostringstream out, err;
  const int status =
      runLumctl({"--root", prog().string(), "--group", "1", "batch", "-"}, in, out, err);
  ASSERT_EQ(status, kExitSuccess) << err.str();
  EXPECT_EQ(out.str(), kOneRow);
}

TEST_F(LumctlBatch, StopsAtTheFirstFailureUnlessToldToKeepGoing) {
  const std::string lines = importLine("rows one.csv") + kShow + "frobnicate --now\n" +
                            importLine("rows two.csv") + kShow;
  auto result = run({"batch", script(lines).string()});
  EXPECT_EQ(result.status, kExitUsage);
  EXPECT_EQ(result.out, kOneRow);
  EXPECT_NE(result.err.find("lumctl: line 3 failed (exit status 2): frobnicate --now\n"
                            "lumctl: the batch stopped there; 2 line(s) not run\n"),
            std::string::npos)
      << result.err;

  // Afresh, going on past it: the lines after it run, the status is still its.
  startAfresh();
  result = run({"batch", "--keep-going", script(lines).string()});
  EXPECT_EQ(result.status, kExitUsage);
  EXPECT_EQ(result.out, std::string(kOneRow) + kTwoRows);
  EXPECT_NE(result.err.find("line 3 failed"), std::string::npos);
  EXPECT_EQ(result.err.find("stopped"), std::string::npos);
}

TEST_F(LumctlBatch, TheStatusIsTheFirstFailures) {
  const auto file =
      script("journal show --journal 9 --period I\nfrobnicate\n" + std::string(kShow));
  const auto result = run({"batch", "--keep-going", file.string()});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("line 1 failed (exit status 1)"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("line 2 failed (exit status 2)"), std::string::npos);
}

TEST_F(LumctlBatch, AFaultyLineStopsTheBatchBeforeAnyLineRuns) {
  for (const std::string faulty :
       {"journal import --journal 1 --period I \"rows two.csv\n", "batch other.txt\n",
        "--operator 2 journal show --journal 1 --period I\n"}) {
    const auto file = script(importLine("rows one.csv") + faulty + kShow);
    const auto result = run({"batch", "--keep-going", file.string()});
    EXPECT_EQ(result.status, kExitUsage) << faulty;
    EXPECT_EQ(result.out, "") << faulty;
    EXPECT_NE(result.err.find("line 2: "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("lumctl: nothing was run\n"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(area() / "DI010001.dat")) << faulty;
  }
  const auto result = run({"batch", (dir / "missing.txt").string()});
  EXPECT_EQ(result.status, kExitRefused);
}

TEST_F(LumctlBatch, ADestructiveLineStillNeedsItsOwnYes) {
  const auto file = script(importLine("rows one.csv") + "clear-period --period I\n" + kShow);
  const auto result = run({"batch", file.string()});
  EXPECT_NE(result.status, kExitSuccess);
  EXPECT_EQ(result.out, "");  // stopped before the show
  EXPECT_NE(result.err.find("line 2 failed"), std::string::npos) << result.err;
  EXPECT_EQ(run({"journal", "show", "--journal", "1", "--period", "I"}).out, kOneRow);
}

TEST_F(LumctlBatch, ALineThatNeedsTheAreaWhileAnotherProgramHoldsItIsRefused) {
  ASSERT_EQ(test::lumctl({"--root", prog().string(), "--group", "1", "journal", "import",
                          "--journal", "1", "--period", "I", (dir / "rows one.csv").string()})
                .status,
            kExitSuccess);
  FileOps ops;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 8, 3), 9, 0, 0}};
  SleepingWaiter waiter;
  WorkAreaLock other(ops, clock, waiter);
  ASSERT_TRUE(other.acquireNew(area()));
  // Reading needs no lock; the import is refused and the batch stops there.
  const auto file = script(std::string(kShow) + importLine("rows two.csv") + kShow);
  const auto result = run({"batch", file.string()});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.out, kOneRow);
  EXPECT_NE(result.err.find("line 2 failed"), std::string::npos) << result.err;
}

// Each line is a change of its own: a batch cut anywhere leaves the area as
// it was before a line or after it, once its next opening has put back the
// line cut short.
TEST_F(LumctlBatch, ABatchCutAnywhereKeepsEachLineWholeOrNotAtAll) {
  const auto file = script(importLine("rows one.csv") + importLine("rows two.csv"));
  const std::vector<std::string> args = {"--root", prog().string(), "--group",
                                         "1",      "batch",         file.string()};
  const auto files = [&] { return test::treeFiles(area(), {"LumPost.lck", "RYR.dat"}); };
  std::vector<test::TreeFiles> states = {files()};
  for (const char* rows : {"rows one.csv", "rows two.csv"}) {
    ASSERT_EQ(
        run({"journal", "import", "--journal", "1", "--period", "I", (dir / rows).string()}).status,
        kExitSuccess);
    states.push_back(files());
  }
  startAfresh();
  ASSERT_EQ(test::lumctl(args).status, kExitSuccess);
  ASSERT_EQ(files(), states.back());

  constexpr std::uint64_t kStride = 23;
  int cuts = 0;
  for (std::uint64_t operation = 1;; operation += kStride) {
    startAfresh();
    const int status = test::lumctlStoppedAt(args, operation);
    if (status == kExitSuccess) {
      break;
    }
    ASSERT_EQ(status, FileOps::kStoppedExitCode) << operation;
    ++cuts;
    FileOps ops;
    WorkAreaTransaction::recover(ops, area() / "Rollback");
    const test::TreeFiles found = files();
    EXPECT_TRUE(found == states[0] || found == states[1] || found == states[2])
        << "cut at operation " << operation;
  }
  EXPECT_GT(cuts, 2);
}

}  // namespace
}  // namespace lum
