#include "platform/work_area_transaction.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "tests/support/crash_points.h"
#include "tests/support/test_support.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

std::vector<std::byte> bytesOf(std::string_view text) {
  std::vector<std::byte> bytes;
  for (const char c : text) {
    bytes.push_back(static_cast<std::byte>(c));
  }
  return bytes;
}

// A work area and a folder beside it (as the ledgers' files are), with a
// change that writes into a file, creates one in a new folder, renames a
// new file over an old one and deletes another.
class WorkAreaTransactionTest : public ::testing::Test {
 protected:
  fs::path area() const { return dir / "Op-1"; }
  fs::path other() const { return dir / "GLed"; }
  fs::path rollback() const { return area() / "Rollback"; }

  void reset() {
    fs::remove_all(area());
    fs::remove_all(other());
    fs::create_directories(area());
    fs::create_directories(other());
    test::writeText(area() / "Ent.dat", "entities as they were");
    test::writeText(area() / "LUM-1.Zip", "old archive");
    test::writeText(other() / "Led-1.Dat", "entries");
    test::writeText(area() / "Gone.dat", "to be deleted");
  }

  void change() {
    FileHandle ent = ops.open(area() / "Ent.dat", OpenMode::ReadWriteCreate);
    ops.writeAt(ent, 0, bytesOf("ENTITIES"));
    ops.close(ent);
    ops.makeDirectories(area() / "new" / "deeper");
    ops.writeFile(area() / "new" / "deeper" / "Ini-0002.dat", bytesOf("set-up"));
    ops.writeFile(area() / "LUM-1.Zip.part", bytesOf("new archive"));
    ops.rename(area() / "LUM-1.Zip.part", area() / "LUM-1.Zip");
    FileHandle ledger = ops.open(other() / "Led-1.Dat", OpenMode::ReadWriteCreate);
    ops.writeAt(ledger, ops.size(ledger), bytesOf(" and one more"));
    ops.close(ledger);
    ops.remove(area() / "Gone.dat");
  }

  test::CutWriter writer() {
    return {[this] { reset(); },
            [this] {
              WorkAreaTransaction transaction(ops, rollback());
              change();
              transaction.commit();
            },
            [this] { WorkAreaTransaction::recover(ops, rollback()); },
            [this] {
              return test::treesFiles({area(), other()});
            }};
  }

  test::TempDir dir;
  FileOps ops;
};

TEST_F(WorkAreaTransactionTest, WithoutCommitEveryChangeIsPutBack) {
  reset();
  const auto before = test::treesFiles({area(), other()});
  {
    WorkAreaTransaction transaction(ops, rollback());
    change();
    EXPECT_NE(test::treesFiles({area(), other()}), before);
  }
  EXPECT_EQ(test::treesFiles({area(), other()}), before);
  EXPECT_FALSE(fs::exists(area() / "new"));
  EXPECT_TRUE(fs::is_empty(rollback()));
}

TEST_F(WorkAreaTransactionTest, ACommittedChangeStaysWithNothingLeftBehind) {
  reset();
  {
    WorkAreaTransaction transaction(ops, rollback());
    change();
    transaction.commit();
  }
  EXPECT_EQ(test::readText(area() / "LUM-1.Zip"), "new archive");
  EXPECT_EQ(test::readText(other() / "Led-1.Dat"), "entries and one more");
  EXPECT_FALSE(fs::exists(area() / "Gone.dat"));
  EXPECT_TRUE(fs::is_empty(rollback()));
  EXPECT_FALSE(WorkAreaTransaction::recover(ops, rollback()));
}

TEST_F(WorkAreaTransactionTest, AStopAtAnyOperationLeavesTheOldFilesOrTheNew) {
  const test::CutOutcome outcome = test::stopAtEveryOperation(ops, writer());
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 30);
}

TEST_F(WorkAreaTransactionTest, AFullDiskOrAnIoErrorAtAnyOperationChangesNothing) {
  for (const Failure failure : {Failure::NoSpace, Failure::IoError, Failure::ShortWrite}) {
    const test::CutOutcome outcome = test::failAtEveryOperation(ops, failure, writer());
    EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
    EXPECT_GT(outcome.cuts, 30);
  }
}

TEST_F(WorkAreaTransactionTest, AMarkerLineNotEndedWasNeverActedOn) {
  reset();
  fs::create_directories(rollback());
  test::writeText(rollback() / "0.copy", "entities as they were");
  test::writeText(rollback() / "marker", "1 Ent.dat\n0 Ini-0002.dat\n1 LUM-1.Z");
  test::writeText(area() / "Ent.dat", "changed");
  test::writeText(area() / "Ini-0002.dat", "new");
  const auto kept = WorkAreaTransaction::pending(ops, rollback());
  ASSERT_TRUE(kept.has_value());
  ASSERT_EQ(kept->size(), 2u);
  EXPECT_EQ(kept->at(0).copy, rollback() / "0.copy");
  EXPECT_FALSE(kept->at(1).copy.has_value());

  EXPECT_TRUE(WorkAreaTransaction::recover(ops, rollback()));
  EXPECT_EQ(test::readText(area() / "Ent.dat"), "entities as they were");
  EXPECT_FALSE(fs::exists(area() / "Ini-0002.dat"));
  EXPECT_EQ(test::readText(area() / "LUM-1.Zip"), "old archive");

  test::writeText(rollback() / "marker", "1 Ent.dat\nX\n");
  EXPECT_THROW(WorkAreaTransaction::pending(ops, rollback()), FormatError);
}

// The folder a cut change made may be gone by the time it is put back:
// every opening removes the staging folder first.
TEST_F(WorkAreaTransactionTest, AFolderTheChangeMadeAndSomethingElseRemovedIsNoObstacle) {
  reset();
  fs::create_directories(rollback());
  test::writeText(rollback() / "0.copy", "entities as they were");
  test::writeText(rollback() / "marker", "1 Ent.dat\nD ~Staging\n0 ~Staging/Bdg-0001.dat\n");
  test::writeText(area() / "Ent.dat", "changed");
  EXPECT_TRUE(WorkAreaTransaction::recover(ops, rollback()));
  EXPECT_EQ(test::readText(area() / "Ent.dat"), "entities as they were");
  EXPECT_FALSE(WorkAreaTransaction::pending(ops, rollback()).has_value());
}

}  // namespace
}  // namespace lum
