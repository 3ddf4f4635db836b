// Reading a work area without its lock: what the snapshot notices, and
// how a reading that saw a change is done again.

#include <fmt/core.h>
#include <fmt/ostream.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/test_support.h"
#include "tools/lumctl/lumctl.h"
#include "tools/lumctl/settled_reading.h"
#include "tools/lumctl/work_area_snapshot.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class Snapshot : public ::testing::Test {
 protected:
  Snapshot() {
    fs::create_directories(area());
    fs::create_directories(own());
    test::writeText(area() / "Jnl-0001.dat", "journals");
    test::writeText(area() / "DI010001.dat", "rows after");
    test::writeText(area() / "DI020001.dat", "new rows");
  }
  fs::path area() const { return dir / "Ent-1" / "Op-1"; }
  fs::path own() const { return dir / "own"; }
  // A save under way: it changes journal 1's rows and makes journal 2's.
  void startSave() {
    fs::create_directories(area() / "Rollback");
    test::writeText(area() / "Rollback" / "0.copy", "rows before");
    test::writeText(area() / "Rollback" / "marker", "1 DI010001.dat\n0 DI020001.dat\n");
  }

  FileOps ops;
  test::TempDir dir;
};

TEST_F(Snapshot, ReadsASaveUnderWayAsTheFilesWereBeforeIt) {
  startSave();
  WorkAreaSnapshot files(ops, area(), own());
  EXPECT_EQ(test::readText(files.readPath(area() / "di010001.DAT")), "rows before");
  EXPECT_FALSE(fs::exists(files.readPath(area() / "DI020001.dat")));
  EXPECT_EQ(files.readPath(area() / "Jnl-0001.dat"), area() / "Jnl-0001.dat");
  // A private file starts as the file was read and may be written.
  const fs::path mine = files.privateFile("GrdRecs", area() / "DI010001.dat");
  EXPECT_EQ(test::readText(mine), "rows before");
  EXPECT_EQ(mine.filename(), "DI010001.dat");
  test::writeText(mine, "changed privately");
  EXPECT_EQ(files.privateFile("GrdRecs", area() / "DI010001.dat"), mine);
  EXPECT_TRUE(files.stillHolds());

  // The save ends: what was read no longer stands.
  fs::remove(area() / "Rollback" / "marker");
  EXPECT_FALSE(files.stillHolds());
}

TEST_F(Snapshot, NoticesASaveThatStartsAndAFileThatChanges) {
  WorkAreaSnapshot files(ops, area(), own());
  EXPECT_EQ(files.readPath(area() / "DI010001.dat"), area() / "DI010001.dat");
  EXPECT_TRUE(files.stillHolds());
  startSave();
  EXPECT_FALSE(files.stillHolds());

  WorkAreaSnapshot later(ops, area(), own());
  later.readPath(area() / "Jnl-0001.dat");
  EXPECT_TRUE(later.stillHolds());
  // The same size and the same modification time: the change still shows.
  const auto written = fs::last_write_time(area() / "Jnl-0001.dat");
  test::writeText(area() / "Jnl-0001.dat", "JOURNALS");
  fs::last_write_time(area() / "Jnl-0001.dat", written);
  EXPECT_FALSE(later.stillHolds());
}

TEST_F(Snapshot, AReadingThatSawAChangeIsDoneAgain) {
  std::ostringstream out, err;
  int readings = 0;
  const auto status = readSettled(ops, area(), "-", out, err, [&](Reading& reading) {
    ++readings;
    const std::string rows = test::readText(reading.files.readPath(area() / "DI010001.dat"));
    fmt::print(reading.err, "reading {}\n", readings);
    if (readings == 1) {
      test::writeText(area() / "DI010001.dat", "rows of a later save");
    }
    reading.output = rows;
    return int{kExitSuccess};
  });
  EXPECT_EQ(status, kExitSuccess);
  EXPECT_EQ(readings, 2);
  EXPECT_EQ(out.str(), "rows of a later save");
  EXPECT_EQ(err.str(), "reading 2\n");  // only the settled reading speaks

  readings = 0;
  out.str("");
  err.str("");
  const auto unsettled = readSettled(ops, area(), "", out, err, [&](Reading& reading) {
    reading.files.readPath(area() / "DI010001.dat");
    test::writeText(area() / "DI010001.dat", "reading " + std::to_string(++readings));
    return int{kExitSuccess};
  });
  EXPECT_EQ(unsettled, kExitRefused);
  EXPECT_EQ(readings, 10);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "lumctl: the work area kept changing while it was read; try again\n");
}

}  // namespace
}  // namespace lum
