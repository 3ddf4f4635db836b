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
  ASSERT_EQ(test::lumctlStoppedAt(args({"new-entity", "--name", "Second Co"}), 100),
            FileOps::kStoppedExitCode);
  ASSERT_NE(test::treeFiles(dir.path(), {"LumPost.lck"}), before);

  // The opening of the work area (LumPost's as lumctl's) looks in its Rollback folder.
  FileOps ops;
  const fs::path area = prog / "Ent-1" / "Op-1";
  EXPECT_TRUE(WorkAreaTransaction::recover(ops, area / "Rollback"));
  EXPECT_EQ(test::treeFiles(dir.path(), {"LumPost.lck"}), before);
}

// The first entity of a program directory makes its work area: cut at any
// file operation, the next command that changes the area finds no area or
// the whole one, and nothing of the making left behind.
TEST(LumctlCut, TheFirstEntityMakesItsWorkAreaWholeOrNotAtAll) {
  test::TempDir dir;
  const fs::path fresh = dir / "fresh";
  fs::create_directories(fresh / "LumPost");
  fs::create_directories(fresh / "System" / "Ent-1");
  test::writeText(fresh / "LumPost" / "lum.ini", "[LumPost]\n");
  // The opening refuses the file, changing nothing.
  test::writeText(dir / "rows.csv", "date,no such column\n");
  const fs::path root = dir / "run";
  const auto args = [&](std::vector<std::string> command) {
    command.insert(command.begin(), {"--root", (root / "LumPost").string(), "--group", "1"});
    return command;
  };
  const auto newEntity = args({"new-entity", "--name", "First Co"});
  const auto opening =
      args({"journal", "import", "--journal", "1", "--period", "Jul", (dir / "rows.csv").string()});
  const auto startAfresh = [&] {
    fs::remove_all(root);
    fs::copy(fresh, root, fs::copy_options::recursive);
  };
  startAfresh();
  const test::TreeFiles before = test::treeFiles(root, {"LumPost.lck"});
  ASSERT_EQ(test::lumctl(newEntity).status, kExitSuccess);
  const test::TreeFiles after = test::treeFiles(root, {"LumPost.lck"});

  // Every few operations, the first, and on to the end of a whole run.
  constexpr std::uint64_t kStride = 7;
  for (std::uint64_t operation = 1;; operation += kStride) {
    startAfresh();
    const int status = test::lumctlStoppedAt(newEntity, operation);
    if (status == kExitSuccess) {
      break;
    }
    ASSERT_EQ(status, FileOps::kStoppedExitCode) << operation;
    test::lumctl(opening);
    const test::TreeFiles found = test::treeFiles(root, {"LumPost.lck"});
    EXPECT_TRUE(found == before || found == after) << "cut at operation " << operation;
    EXPECT_FALSE(fs::exists(root / "LumPost" / "Rollback" / "~Ent-1-Op-1")) << operation;
  }
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
