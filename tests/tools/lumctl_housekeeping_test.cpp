#include <gtest/gtest.h>

#include "tests/post/login/work_area_files.h"
#include "tests/support/crash_points.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::lumctl;

// The one-entity work area (quarterly) with rows of journal 1 in the
// September and June quarters.
class LumctlHousekeeping : public ::testing::Test {
 protected:
  LumctlHousekeeping() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
    importRows("I", "1.8.26,Takings,1,y,110,110,\n");
    importRows("F", "1.5.26,Takings,1,y,55,55,\n");
  }
  void importRows(const std::string& period, const std::string& rows) {
    test::writeText(dir / "rows.csv", "date,particulars,ref,gst,Amount,Sales,Fuel\n" + rows);
    const auto imported = run(
        {"journal", "import", "--journal", "1", "--period", period, (dir / "rows.csv").string()});
    ASSERT_EQ(imported.status, 0) << imported.err;
  }
  fs::path area() const { return dir / "prog" / "Ent-1" / "Op-1"; }
  test::LumctlOutcome run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", (dir / "prog").string(), "--group", "1"});
    return lumctl(args);
  }
  test::TreeFiles dataFiles() const {
    auto files = test::treeFiles(area(), {"LumPost.lck"});
    std::erase_if(files, [](const auto& entry) { return entry.first.rfind("backup", 0) == 0; });
    return files;
  }

  test::TempDir dir;
};

TEST_F(LumctlHousekeeping, ClearPeriodAsksThenClearsAndIsUndone) {
  const auto before = dataFiles();
  auto refused = run({"clear-period", "--period", "Sep"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "lumctl: All data for the current period will be cleared.  Are you sure? (answer with "
            "--yes; nothing was changed)\n");
  EXPECT_EQ(dataFiles(), before);
  EXPECT_EQ(run({"snapshots"}).out, "");

  auto cleared = run({"clear-period", "--period", "Sep", "--yes"});
  ASSERT_EQ(cleared.status, 0) << cleared.err;
  EXPECT_FALSE(fs::exists(area() / "DI010001.dat"));
  EXPECT_TRUE(fs::exists(area() / "DF010001.dat"));

  auto listed = run({"snapshots"});
  ASSERT_EQ(listed.status, 0);
  const std::string name = listed.out.substr(0, listed.out.find('\t'));
  EXPECT_EQ(name.rfind("clear-period-", 0), 0u) << listed.out;
  EXPECT_NE(listed.out.find("\tclear-period\t"), std::string::npos) << listed.out;

  EXPECT_EQ(run({"undo", name}).status, 1);
  EXPECT_FALSE(fs::exists(area() / "DI010001.dat"));
  auto undone = run({"undo", name, "--yes"});
  ASSERT_EQ(undone.status, 0) << undone.err;
  EXPECT_EQ(test::readBytes(area() / "DI010001.dat"), before.at("DI010001.dat"));
  EXPECT_EQ(run({"undo", "no-such.zip", "--yes"}).status, 1);
}

TEST_F(LumctlHousekeeping, ConvertingEntityThreeKeepsItsGstReport) {
  for (const auto& entry : fs::directory_iterator(area())) {
    std::string name = entry.path().filename().string();
    if (const auto at = name.find("0001."); at != std::string::npos) {
      name.replace(at, 4, "0003");
      fs::copy_file(entry.path(), area() / name);
    }
  }
  importRows("I", "2.8.26,More takings,2,y,990,990,\n");  // entity 1's figures differ
  test::writeBytes(area() / "Entcoun.dat",
                   test::Bytes().text("", 24).int16(3).text("", 24).int16(3));
  test::writeBytes(area() / "Ent.dat", test::Bytes()
                                           .text("Smith Plumbing", 32)
                                           .zeros(274)
                                           .text("Second", 32)
                                           .zeros(274)
                                           .text("Third Trading", 32)
                                           .zeros(274));
  const auto before = run({"report", "gst", "--period", "Sep", "--format", "json", "--out", "-"});
  ASSERT_EQ(before.status, 0) << before.err;
  ASSERT_NE(before.out.find("\"110.0000\""), std::string::npos) << before.out;
  ASSERT_EQ(before.out.find("990"), std::string::npos) << before.out;

  EXPECT_EQ(run({"convert-single"}).status, 1);
  auto converted = run({"convert-single", "--yes"});
  ASSERT_EQ(converted.status, 0) << converted.err;
  EXPECT_FALSE(fs::exists(area() / "DI010003.dat"));
  EXPECT_EQ(run({"report", "gst", "--period", "Sep", "--format", "json", "--out", "-"}).out,
            before.out);
}

TEST_F(LumctlHousekeeping, BackupToAFloppyFolderThatIsAFileIsRefused) {
  test::writeText(dir / "floppy", "a file");
  auto refused = run({"backup", "floppy", "--yes"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("but that is a file. Nothing was copied."), std::string::npos)
      << refused.err;

  fs::remove(dir / "floppy");
  fs::create_directories(dir / "floppy");
  test::writeText(dir / "floppy" / "letter.txt", "kept");
  auto notBlank = run({"backup", "floppy", "--yes"});
  EXPECT_EQ(notBlank.status, 1);
  EXPECT_NE(notBlank.err.find("(answer with --clear-disk; nothing was changed)"), std::string::npos)
      << notBlank.err;
  EXPECT_TRUE(fs::exists(dir / "floppy" / "letter.txt"));

  auto copied = run({"backup", "floppy", "--yes", "--clear-disk"});
  ASSERT_EQ(copied.status, 0) << copied.err;
  EXPECT_FALSE(fs::exists(dir / "floppy" / "letter.txt"));
  EXPECT_EQ(test::readBytes(dir / "floppy" / "DI010001.dat"),
            test::readBytes(area() / "DI010001.dat"));

  fs::remove(area() / "DI010001.dat");
  auto restored = run({"restore", "floppy", "--yes"});
  ASSERT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(test::readBytes(area() / "DI010001.dat"),
            test::readBytes(dir / "floppy" / "DI010001.dat"));
}

}  // namespace
}  // namespace lum
