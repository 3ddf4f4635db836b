#include <gtest/gtest.h>

#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "tests/support/records.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

using test::lumctl;
using Outcome = test::LumctlOutcome;

TEST(LumctlNewEntity, AddsEntitiesAsTheWindowsDo) {
  test::TempDir dir;
  const fs::path prog = dir / "LumPost";
  fs::create_directories(prog);
  fs::create_directories(dir / "System" / "Ent-2");
  test::writeBytes(
      prog / "Anljnl.dat",
      test::Bytes().text("Bank Fees", 23).text("N", 1).text("E", 1).zeros(8).int16(403));
  const std::string root = prog.string();

  Outcome run = lumctl({"--root", root, "--group", "2", "--operator", "4", "new-entity", "--name",
                        "Smith Plumbing", "--second-line", "Pty Ltd", "--invoicing"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, "1\n");
  const fs::path area = prog / "Ent-2" / "Op-4";
  EXPECT_EQ(test::recordOf<CounterRecord>(area / "Entcoun.dat", 2).value, 1);  // now current
  // The templates of a small cash business are missing: told, and the entity is made.
  EXPECT_NE(run.err.find("Anstak.dat cannot be found"), std::string::npos) << run.err;

  run = lumctl({"--root", root, "--group", "2", "--operator", "4", "new-entity", "--name",
                "Jones Cafe", "--mode", "3", "--quarterly", "--accruals"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, "2\n");
  EXPECT_NE(run.err.find("Anlpch.dat cannot be found"), std::string::npos) << run.err;
  EXPECT_EQ(test::recordOf<EntityRecord>(area / "Ent.dat", 2).name, "Jones Cafe");
  EXPECT_EQ(test::recordOf<SetupRecord>(area / "Ini-0002.dat", 2).value, "Q");
  EXPECT_EQ(test::recordOf<SetupRecord>(area / "Ini-0002.dat", 9).value, "A");
  EXPECT_EQ(test::recordOf<CounterRecord>(area / "Entcoun.dat", 1).value, 2);
  EXPECT_EQ(test::recordOf<CounterRecord>(area / "Entcoun.dat", 2).value, 1);  // still entity 1
}

TEST(LumctlNewEntity, RefusesBadOptions) {
  EXPECT_EQ(lumctl({"new-entity"}).status, kExitUsage);
  EXPECT_EQ(lumctl({"new-entity", "--name", "X", "--mode", "2"}).status, kExitUsage);
  EXPECT_EQ(lumctl({"new-entity", "--name", "   "}).status, kExitUsage);
}

}  // namespace
}  // namespace lum
