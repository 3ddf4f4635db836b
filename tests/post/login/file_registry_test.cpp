#include "post/login/file_registry.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/scripted_prompter.h"
#include "post/login/login_records.h"
#include "tests/post/login/session_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class FileRegistryTest : public ::testing::Test, protected test::RegistryParts {
 protected:
  FileRegistryTest() {
    fs::create_directories(dir / "prog" / "Ent-1" / "Op-3");
    fs::create_directories(dir / "floppy");
    naming.dataDirectory = ".\\Ent-1\\Op-3";
    naming.workArea = ".\\Ent-1\\Op-3";
    naming.systemDirectory = "..\\System\\Ent-1";
    naming.entityNumber = 1;
    naming.journalNumber = 2;
    naming.periodLetter = 'C';
    naming.operatorNumber = 3;
  }

  fs::path area() const { return dir / "prog" / "Ent-1" / "Op-3"; }
};

TEST_F(FileRegistryTest, NamesFilesByEntityJournalPeriodAndOperator) {
  fs::create_directories(dir / "System" / "Ent-1");
  const std::vector<std::pair<const char*, fs::path>> expected = {
      {"GrdRecs", area() / "DC020001.dat"}, {"GrdAms", area() / "AC020001.dat"},
      {"GstPers", area() / "GC020001.dat"}, {"An", area() / "An020001.dat"},
      {"Ax", area() / "Ax020001.dat"},      {"counters", area() / "Lcn-0001.dat"},
      {"ScrLoc", area() / "ScrLoc.Dat"},    {"EntCoun", area() / "Entcoun.dat"},
      {"Kelam", area() / "Kelamlar.dat"},   {"FontList", dir / "prog" / "FontList.ini"},
      {"RepPar", dir / "RpP-3.Dat"},        {"OperProf", dir / "System" / "Ent-1" / "OpP-0003.dat"},
  };
  for (const auto& [name, path] : expected) {
    RecordFile* file = registry.open(name, naming);
    ASSERT_NE(file, nullptr) << name;
    EXPECT_EQ(file->path(), path) << name;
    EXPECT_EQ(file->recordLength(), findRegistryEntry(name)->recordLength) << name;
    EXPECT_TRUE(fs::exists(path)) << name;
  }
  EXPECT_EQ(registry.open("GrdAms", naming)->recordLength(), 808u);
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(FileRegistryTest, AnUnknownNameIsToldAndOpensNothing) {
  EXPECT_EQ(registry.open("Ledgers", naming), nullptr);
  EXPECT_EQ(registry.readLines("Settings", naming), std::nullopt);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"The file Ledgers cannot be found",
                                                        "The file Settings cannot be found"}));
  EXPECT_FALSE(registry.isOpen("Ledgers"));
}

TEST_F(FileRegistryTest, FromFloppyTheDataIsOnDriveAButTheSettingsStayInTheWorkArea) {
  test::writeText(area() / "lum.ini", "Option=Account\r\nsecond line\r\n");
  naming.dataDirectory = "A:";
  EXPECT_EQ(registry.open("Ent", naming)->path(), dir / "floppy" / "Ent.dat");
  EXPECT_EQ(registry.readLines("lumini", naming),
            (std::vector<std::string>{"Option=Account", "second line"}));
}

TEST_F(FileRegistryTest, FilesNamedOnWindowsInAnyCaseAreFoundAndUsed) {
  test::writeBytes(area() / "ENTCOUN.DAT", test::Bytes().text("Entities", 24).int16(4));
  test::writeText(area() / "scrloc.dat", "");
  EXPECT_EQ(registry.open("EntCoun", naming)->get<CounterRecord>(1).value, 4);
  registry.file("EntCoun").put(2, CounterRecord{"", 7});
  EXPECT_EQ(registry.open("ScrLoc", naming)->path(), area() / "scrloc.dat");
  registry.closeAll();
  EXPECT_FALSE(fs::exists(area() / "Entcoun.dat"));
  EXPECT_EQ(test::readBytes(area() / "ENTCOUN.DAT").size(), 52u);
}

TEST_F(FileRegistryTest, AnEmptyWorkAreaCounterReadsAsNoEntity) {
  RecordFile* counters = registry.open("EntCoun", naming);
  EXPECT_EQ(counters->get<CounterRecord>(2).value, 0);
  EXPECT_EQ(counters->recordCount(), 0);
}

TEST_F(FileRegistryTest, AMissingFolderIsAnError) {
  naming.dataDirectory = ".\\Ent-1\\Op-9";
  EXPECT_THROW(registry.open("Ent", naming), FileError);
  EXPECT_FALSE(registry.isOpen("Ent"));
}

TEST_F(FileRegistryTest, OneOpenFilePerLogicalName) {
  registry.open("GrdRecs", naming);
  naming.periodLetter = 'F';
  registry.open("GrdRecs", naming);
  EXPECT_EQ(registry.file("GrdRecs").path(), area() / "DF020001.dat");
  registry.open("Jnl", naming);
  registry.close("GrdRecs");
  EXPECT_FALSE(registry.isOpen("GrdRecs"));
  EXPECT_THROW(registry.file("GrdRecs"), std::logic_error);
  EXPECT_TRUE(registry.isOpen("Jnl"));
  registry.closeAll();
  EXPECT_FALSE(registry.isOpen("Jnl"));
}

}  // namespace
}  // namespace lum
