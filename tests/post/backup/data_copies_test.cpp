#include "post/backup/data_copies.h"

#include <gtest/gtest.h>

#include "platform/record_file.h"
#include "platform/suite_records.h"
#include "post/backup/housekeeping_change.h"
#include "post/backup/single_entity.h"
#include "post/reports/gst_figures.h"
#include "tests/post/backup/backup_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::readBytes;
using test::readText;
using test::writeBytes;
using test::writeText;

class DataCopies : public ::testing::Test, protected test::BackupParts {
 protected:
  DataCopies() {
    book.reset();
    session.registry().closeAll();
  }
  fs::path floppy() const { return dir / "floppy"; }
  std::set<std::string> floppyNames() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(floppy())) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(DataCopies, ANonBlankDiskIsSwappedThenTheEntityIsCopiedOntoTheBlankOne) {
  fs::create_directories(floppy());
  writeText(floppy() / "letter.txt", "someone's letter");
  writeText(area() / "DI010002.dat", "another entity");
  prompter.then(Answer::Ok).then(Answer::No);
  prompter.then(Answer::Ok).then(Answer::Cancel);
  EXPECT_FALSE(backUpToFloppy(session));
  EXPECT_EQ(
      prompter.texts(),
      (std::vector<std::string>{
          "Insert a blank disk into drive A:", "Disk is not blank, do you wish to clear it?",
          "Insert a blank disk into drive A:", "Disk is not blank, do you wish to clear it?"}));
  EXPECT_EQ(readText(floppy() / "letter.txt"), "someone's letter");

  prompter.then(Answer::Ok).then(Answer::Yes);
  EXPECT_TRUE(backUpToFloppy(session));
  EXPECT_EQ(floppyNames(),
            (std::set<std::string>{"AF010001.dat", "AI010001.dat", "An010001.dat", "Ax010001.dat",
                                   "Bdg-0001.dat", "DF010001.dat", "DI010001.dat", "DM010001.dat",
                                   "Ent.dat", "Entcoun.dat", "GF010001.dat", "GI010001.dat",
                                   "Ini-0001.dat", "Inv-0001.dat", "InD-0001.dat", "Cus-0001.dat",
                                   "Prd-0001.dat", "Jnl-0001.dat", "Lcn-0001.dat"}));
  EXPECT_EQ(readBytes(floppy() / "DI010001.dat"), readBytes(area() / "DI010001.dat"));
}

TEST_F(DataCopies, AFloppyFolderThatIsAFileIsTold) {
  writeText(floppy(), "not a folder");
  prompter.then(Answer::Ok);
  EXPECT_FALSE(backUpToFloppy(session));
  prompter.then(Answer::Yes).then(Answer::Ok);
  EXPECT_FALSE(restoreFromFloppy(session));
  const std::string told =
      "Drive A: is the folder " + floppy().string() + ", but that is a file. Nothing was copied.";
  EXPECT_EQ(prompter.texts()[1], told);
  EXPECT_EQ(prompter.texts().back(), told);
  EXPECT_EQ(readText(floppy()), "not a folder");
}

TEST_F(DataCopies, AFloppyWithoutAnalysisFilesIsRefusedBeforeAnythingIsCopied) {
  const auto before = everything();
  fs::create_directories(floppy());
  prompter.then(Answer::Yes).then(Answer::Ok);
  EXPECT_FALSE(restoreFromFloppy(session));
  EXPECT_EQ(prompter.texts().back(), "The inserted disk is blank");
  writeText(floppy() / "DI010001.dat", "rows only");
  prompter.then(Answer::Yes).then(Answer::Ok);
  EXPECT_FALSE(restoreFromFloppy(session));
  EXPECT_EQ(prompter.texts().back(), "Inserted disk does not contain valid data");
  EXPECT_EQ(everything(), before);
}

TEST_F(DataCopies, RestoringFromFloppyReplacesTheWorkingDataAndKeepsABackup) {
  fs::create_directories(floppy());
  writeText(floppy() / "An010001.dat", "floppy accounts");
  writeText(floppy() / "DI010001.dat", "floppy rows");
  writeText(floppy() / "lum.ini", "[floppy]");
  const auto oldRows = readBytes(area() / "DI010001.dat");
  prompter.then(Answer::Yes).then(Answer::Ok).then(Answer::No);
  EXPECT_TRUE(restoreFromFloppy(session));
  session.registry().closeAll();
  EXPECT_EQ(readText(area() / "An010001.dat"), "floppy accounts");
  EXPECT_EQ(readText(area() / "DI010001.dat"), "floppy rows");
  EXPECT_EQ(readText(area() / "lum.ini"), "[floppy]");
  EXPECT_FALSE(fs::exists(area() / "DF010001.dat"));
  EXPECT_EQ(readText(area() / "Anljnl.dat"), "template Anljnl.dat");
  EXPECT_EQ(readBytes(area() / "backup" / "DI010001.dat"), oldRows);

  prompter.then(Answer::Yes);
  EXPECT_TRUE(restoreFromBackupFolder(session));
  session.registry().closeAll();
  EXPECT_EQ(readBytes(area() / "DI010001.dat"), oldRows);
}

TEST_F(DataCopies, TakingOverTheOlderVersionsDataCopiesItsDataFilesAndIsUndone) {
  prompter.then(Answer::Yes);
  EXPECT_FALSE(takeOverOlderData(session));
  EXPECT_EQ(prompter.texts().back(),
            "There is no data to copy in " + prog().string() + ". Nothing was changed.");

  writeText(prog() / "DI010001.dat", "rows of version 3");
  writeText(prog() / "GSTDate.dat", "version 3 date");
  writeText(prog() / "notes.txt", "not data");
  const auto before = withoutSnapshots();
  prompter.then(Answer::Yes);
  EXPECT_TRUE(takeOverOlderData(session));
  session.registry().closeAll();
  EXPECT_EQ(readText(area() / "DI010001.dat"), "rows of version 3");
  EXPECT_EQ(readText(area() / "GSTDate.dat"), "version 3 date");
  EXPECT_FALSE(fs::exists(area() / "notes.txt"));

  prompter.clear();
  prompter.thenType("1").then(Answer::Yes);
  EXPECT_TRUE(undoLastHousekeeping(session));
  session.registry().closeAll();
  EXPECT_EQ(withoutSnapshots(), before);
}

// Entity 3 of three becomes entity 1, the only one, and its GST figures
// read as they did.
TEST_F(DataCopies, ConvertingToASingleEntityKeepsTheOpenEntitysFigures) {
  std::map<std::string, std::vector<std::byte>> third;
  for (const auto& entry : fs::directory_iterator(area())) {
    std::string name = entry.path().filename().string();
    const auto at = name.find("0001.");
    if (entry.is_regular_file() && at != std::string::npos) {
      name.replace(at, 4, "0003");
      third[name] = readBytes(entry.path());
      fs::copy_file(entry.path(), area() / name);
    }
  }
  writeBytes(area() / "AI010001.dat",
             amounts({{9, 2, 6, 0, 990, 0, 990}, {0, 0, 0, 0, -5, -5, 0}}));
  writeBytes(area() / "Entcoun.dat", Bytes().text("", 24).int16(3).text("", 24).int16(3));
  writeBytes(area() / "Ent.dat", Bytes()
                                     .text("Smith Plumbing", 32)
                                     .zeros(274)
                                     .text("Second", 32)
                                     .zeros(274)
                                     .text("Third Trading", 32)
                                     .zeros(274));
  refreshLogin(session);
  ASSERT_EQ(session.login.entityNumber, 3);
  const GstFigures before = gatherGstFigures(session);
  session.registry().closeAll();
  ASSERT_FALSE(before.journals.empty());
  ASSERT_FALSE(allZero(before.journals[0]));

  prompter.then(Answer::Yes);
  ASSERT_TRUE(convertToSingleEntity(session));
  EXPECT_EQ(session.login.entityNumber, 1);
  const GstFigures after = gatherGstFigures(session);
  session.registry().closeAll();
  EXPECT_EQ(after.journals, before.journals);
  EXPECT_EQ(after.accumulated, before.accumulated);

  for (const auto& [name, bytes] : third) {
    if (name == "Bdg-0003.dat") {
      continue;  // a record file the log-in opened (and may have grown)
    }
    std::string single = name;
    single.replace(single.find("0003."), 4, "0001");
    EXPECT_EQ(readBytes(area() / single), bytes) << single;
    EXPECT_FALSE(fs::exists(area() / name)) << name;
  }
  RecordFile counters(ops, area() / "Entcoun.dat", CounterRecord::kSize);
  EXPECT_EQ(counters.get<CounterRecord>(1).value, 1);
  EXPECT_EQ(counters.get<CounterRecord>(2).value, 1);
  RecordFile entities(ops, area() / "Ent.dat", EntityRecord::kSize);
  EXPECT_EQ(entities.get<EntityRecord>(1).name, "Third Trading");
  EXPECT_EQ(readText(area() / "Anstak.dat"), "template Anstak.dat");
}

}  // namespace
}  // namespace lum
