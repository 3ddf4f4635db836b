#include "platform/dos_path.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/errors.h"
#include "tests/support/test_support.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class DosPathTest : public ::testing::Test {
 protected:
  DosPathTest() {
    fs::create_directories(dir / "prog" / "ENT-1" / "op-3");
    fs::create_directories(dir / "System" / "Ent-1");
    fs::create_directories(dir / "floppy");
  }

  test::TempDir dir;
  FileOps ops;
  DosPath paths{ops, dir / "prog", dir / "floppy"};
};

TEST_F(DosPathTest, FindsExistingFilesWhateverTheirCase) {
  test::writeText(dir / "prog" / "ENT-1" / "op-3" / "ENTCOUN.DAT", "");
  test::writeText(dir / "System" / "Ent-1" / "oper.DAT", "");
  EXPECT_EQ(paths.resolve(".\\Ent-1\\Op-3\\Entcoun.dat"),
            dir / "prog" / "ENT-1" / "op-3" / "ENTCOUN.DAT");
  EXPECT_EQ(paths.resolve("..\\System\\Ent-1\\Oper.dat"), dir / "System" / "Ent-1" / "oper.DAT");
}

TEST_F(DosPathTest, NewNamesKeepTheCaseTheyAreWrittenIn) {
  EXPECT_EQ(paths.resolve(".\\Ent-1\\Op-3\\ScrLoc.Dat"),
            dir / "prog" / "ENT-1" / "op-3" / "ScrLoc.Dat");
  EXPECT_EQ(paths.resolve(".\\Ent-2\\Op-1\\Ent.dat"), dir / "prog" / "Ent-2" / "Op-1" / "Ent.dat");
  EXPECT_EQ(paths.resolve("FontList.ini"), dir / "prog" / "FontList.ini");
  EXPECT_EQ(paths.resolve("."), dir / "prog");
}

// A folder's names are kept between lookups while it is unchanged: a file
// added since, by any program, is found all the same.
TEST_F(DosPathTest, AFileAddedAfterALookupIsFound) {
  const fs::path folder = dir / "prog" / "ENT-1" / "op-3";
  test::writeText(folder / "GRDRECS.DAT", "");
  fs::last_write_time(folder, fs::file_time_type::clock::now() - std::chrono::hours(1));
  EXPECT_EQ(paths.resolve(".\\Ent-1\\Op-3\\DB010001.dat"), folder / "DB010001.dat");
  EXPECT_EQ(paths.resolve(".\\Ent-1\\Op-3\\GrdRecs.dat"), folder / "GRDRECS.DAT");

  test::writeText(folder / "DB010001.DAT", "");
  EXPECT_EQ(paths.resolve(".\\Ent-1\\Op-3\\DB010001.dat"), folder / "DB010001.DAT");
  fs::rename(folder / "GRDRECS.DAT", folder / "Other.dat");
  EXPECT_EQ(paths.resolve(".\\Ent-1\\Op-3\\GrdRecs.dat"), folder / "GrdRecs.dat");
}

TEST_F(DosPathTest, DriveAIsTheFloppyFolder) {
  EXPECT_EQ(paths.resolve("A:\\Ent.dat"), dir / "floppy" / "Ent.dat");
  EXPECT_EQ(paths.resolve("a:Ent.dat"), dir / "floppy" / "Ent.dat");
  EXPECT_THROW(paths.resolve("C:\\orvlocal\\help.chm"), FileError);
  EXPECT_EQ(DosPath::floppyDirectoryFor("/x/prog", nullptr), fs::path("/x/floppy"));
  EXPECT_EQ(DosPath::floppyDirectoryFor("/x/prog", ""), fs::path("/x/floppy"));
  EXPECT_EQ(DosPath::floppyDirectoryFor("/x/prog", "/media/a"), fs::path("/media/a"));
}

TEST_F(DosPathTest, WildcardsListAndDeleteFilesOnlyWhateverTheirCase) {
  const fs::path area = dir / "prog" / "ENT-1" / "op-3";
  for (const char* name : {"AN010001.DAT", "an020001.dat", "Ax010001.dat", "An.txt"}) {
    test::writeText(area / name, "");
  }
  fs::create_directory(area / "AnFolder.dat");
  EXPECT_EQ(paths.list(".\\Ent-1\\Op-3\\An*.dat"),
            (std::vector<fs::path>{area / "AN010001.DAT", area / "an020001.dat"}));
  EXPECT_EQ(paths.list(".\\ent-1\\op-3\\*.*").size(), 4u);
  EXPECT_EQ(paths.removeMatching(".\\Ent-1\\Op-3\\a?0*.DAT"), 3u);
  EXPECT_EQ(paths.list(".\\Ent-1\\Op-3\\*"), std::vector<fs::path>{area / "An.txt"});
  EXPECT_THROW(paths.list(".\\Ent-9\\*.dat"), FileError);
}

}  // namespace
}  // namespace lum
