#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/work_area_transaction.h"
#include "tests/support/crash_points.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"
#include "tools/lumctl/fault_at.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// Runs lumctl in a child process that ends at its nth file operation, as
// on a kill; returns the child's exit status.
int lumctlStoppedAt(const std::vector<std::string>& args, std::uint64_t operation) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::ostringstream err;
    armFaultAt({Failure::Stop, operation}, err);
    std::_Exit(test::lumctl(args).status);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(LumctlCut, AWriterKilledMidwayIsPutBackByTheWorkAreasNextOpening) {
  test::TempDir dir;
  const fs::path prog = dir / "LumPost";
  fs::create_directories(prog);
  fs::create_directories(dir / "System" / "Ent-1");
  const std::vector<std::string> global = {"--root", prog.string(), "--group", "1"};
  const auto args = [&](std::vector<std::string> command) {
    command.insert(command.begin(), global.begin(), global.end());
    return command;
  };
  ASSERT_EQ(test::lumctl(args({"new-entity", "--name", "First Co"})).status, kExitSuccess);
  const test::TreeFiles before = test::treeFiles(dir.path(), {"LumPost.lck"});

  // Halfway through adding an entity: its transaction is open.
  ASSERT_EQ(lumctlStoppedAt(args({"new-entity", "--name", "Second Co"}), 100),
            FileOps::kStoppedExitCode);
  ASSERT_NE(test::treeFiles(dir.path(), {"LumPost.lck"}), before);

  // The opening of the work area (LumPost's as lumctl's) looks in its Rollback folder.
  FileOps ops;
  const fs::path area = prog / "Ent-1" / "Op-1";
  EXPECT_TRUE(WorkAreaTransaction::recover(ops, area / "Rollback"));
  EXPECT_EQ(test::treeFiles(dir.path(), {"LumPost.lck"}), before);
}

TEST(LumctlCut, ReadsTheFaultToInject) {
  const auto kill = parseFaultAt("kill:12");
  ASSERT_TRUE(kill);
  EXPECT_EQ(kill->failure, Failure::Stop);
  EXPECT_EQ(kill->operation, 12u);
  EXPECT_EQ(parseFaultAt("enospc:1")->failure, Failure::NoSpace);
  EXPECT_EQ(parseFaultAt("eio:3")->failure, Failure::IoError);
  for (const char* wrong :
       {"", "kill", "kill:", "kill:0", "kill:x", "kill:3x", "stop:3", "short-write:2", "eio:-1"}) {
    EXPECT_FALSE(parseFaultAt(wrong)) << wrong;
  }
}

}  // namespace
}  // namespace lum
