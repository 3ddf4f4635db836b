#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include "post/login/entity_setup.h"
#include "post/login/journal_records.h"
#include "post/login/list_panels.h"
#include "post/login/login_records.h"
#include "tests/support/crash_points.h"
#include "tests/support/records.h"
#include "tests/tools/run_lumctl.h"
#include "tools/lumctl/headless.h"

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
  EXPECT_EQ(test::recordOf<JournalHeaderRecord>(area / "Jnl-0001.dat", 1).name, "Receipts Book");
  EXPECT_EQ(test::recordOf<CounterRecord>(area / "Entcoun.dat", 2).value, 1);  // now current
  // The templates of a small cash business are missing: told, and the entity is made.
  EXPECT_NE(run.err.find("Anstak.dat cannot be found"), std::string::npos) << run.err;

  run = lumctl({"--root", root, "--group", "2", "--operator", "4", "new-entity", "--name",
                "Jones Cafe", "--mode", "3", "--quarterly", "--accruals"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, "2\n");
  EXPECT_NE(run.err.find("Anlpch.dat cannot be found"), std::string::npos) << run.err;
  EXPECT_EQ(test::recordOf<EntityRecord>(area / "Ent.dat", 2).name, "Jones Cafe");
  EXPECT_EQ(test::recordOf<JournalHeaderRecord>(area / "Jnl-0002.dat", 1).name, "Bank Journal");
  EXPECT_EQ(test::recordOf<AnalysisAccountRecord>(area / "An010002.dat", 1).name, "Bank Fees");
  EXPECT_EQ(test::recordOf<SetupRecord>(area / "Ini-0002.dat", 2).value, "Q");
  EXPECT_EQ(test::recordOf<SetupRecord>(area / "Ini-0002.dat", 9).value, "A");
  EXPECT_EQ(test::recordOf<CounterRecord>(area / "Entcoun.dat", 1).value, 2);
  EXPECT_EQ(test::recordOf<CounterRecord>(area / "Entcoun.dat", 2).value, 1);  // still entity 1
}

// A new entity cut short (the process ends half way) is put back by the
// next command that opens the work area: its transaction is kept in the
// work area itself, where that opening looks.
TEST(LumctlNewEntity, ACutNewEntityIsPutBackByTheNextOpening) {
  test::TempDir dir;
  const fs::path prog = dir / "LumPost";
  fs::create_directories(prog);
  fs::create_directories(dir / "System" / "Ent-1");
  const std::string root = prog.string();
  ASSERT_EQ(lumctl({"--root", root, "--group", "1", "new-entity", "--name", "Smith"}).status,
            kExitSuccess);
  const fs::path area = prog / "Ent-1" / "Op-1";
  const test::TreeFiles before = test::treeFiles(area, {"LumPost.lck"});

  GlobalOptions global;
  global.root = prog;
  global.groupNumber = 1;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::ostringstream err;
    StreamPrompter prompter(err);
    HeadlessLogin login(global, prompter);
    if (login.openToChange()) {
      addEntity(login.session(), "Jones");  // and no commit: the process ends here
    }
    std::_Exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_NE(test::treeFiles(area, {"LumPost.lck"}), before);  // the entity is half made

  const Outcome next = lumctl({"--root", root, "--group", "1", "new-entity", "--name", "Brown"});
  ASSERT_EQ(next.status, kExitSuccess) << next.err;
  EXPECT_NE(next.err.find("The last change in this work area was cut short"), std::string::npos)
      << next.err;
  EXPECT_EQ(next.out, "2\n");  // Jones was never added
  EXPECT_FALSE(fs::exists(prog / "Rollback"));
}

TEST(LumctlNewEntity, RefusesBadOptions) {
  EXPECT_EQ(lumctl({"new-entity"}).status, kExitUsage);
  EXPECT_EQ(lumctl({"new-entity", "--name", "X", "--mode", "2"}).status, kExitUsage);
  EXPECT_EQ(lumctl({"new-entity", "--name", "   "}).status, kExitUsage);
}

}  // namespace
}  // namespace lum
