#include "utils/storage.h"

#include <gtest/gtest.h>

#include "tests/support/crash_points.h"
#include "tests/support/records.h"
#include "tests/support/test_support.h"
#include "tests/utils/utils_fixture.h"
#include "utils/utils_records.h"
#include "utils/work_area_change.h"

namespace lum {
namespace {

using test::namesIn;
using test::quoted;
using test::readBytes;
using test::recordOf;
using test::runCommand;
using test::UtilsParts;
using test::writeText;

struct StorageTest : ::testing::Test {
  StorageTest() {
    parts.fillWorkArea();
    parts.session.start();
  }
  std::string listed(int slot) {
    return recordOf<StoredEntityRecord>(parts.store() / "EnList.Dat", slot).text;
  }
  int usedCount() { return recordOf<CounterRecord>(parts.store() / "UtCount.Dat", 1).value; }
  // Stores the work area as the entity of the given name into the next slot.
  void storeAs(const std::string& name) {
    parts.fillWorkArea(name, "");
    ASSERT_TRUE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk));
  }

  UtilsParts parts;
  Storage storage{parts.session};
};

TEST_F(StorageTest, NextSlotOfAnEmptyListIsSlotOne) {
  EXPECT_EQ(storage.usedSlots(), 0);
  EXPECT_EQ(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk), 1);
  EXPECT_EQ(usedCount(), 1);
  EXPECT_EQ(listed(1), "Smith Plumbing, Pty  20/08/26");
  EXPECT_EQ(recordOf<CounterRecord>(parts.area() / "Entcoun.dat", 3).value, 1);

  const auto archive = parts.store() / "LUM-1.Zip";
  const auto [status, out] = runCommand("unzip -t " + quoted(archive));
  EXPECT_EQ(status, 0) << out;
  EXPECT_EQ(runCommand("unzip -Z1 " + quoted(archive)).second,
            "Anstak.dat\nEnt.dat\nEntcoun.dat\nGrdRecs.dat\nJnl-0002.dat\n");
  EXPECT_TRUE(parts.prompter.texts().empty());
}

// Entcoun.dat as the archive holds it, taken out with unzip.
std::vector<std::byte> storedCounters(const UtilsParts& parts,
                                      const std::filesystem::path& archive) {
  const auto out = parts.dir / "unzipped";
  std::filesystem::remove_all(out);
  const auto [status, text] =
      runCommand("unzip -q -o " + quoted(archive) + " Entcoun.dat -d " + quoted(out));
  EXPECT_EQ(status, 0) << text;
  return readBytes(out / "Entcoun.dat");
}

TEST_F(StorageTest, ArchiveCarriesTheSlotItIsStoredUnder) {
  storeAs("First");
  storeAs("Second");
  // Record 3, the storage number of the report headings, at bytes 76-77.
  const auto second = storedCounters(parts, parts.store() / "LUM-2.Zip");
  ASSERT_EQ(second.size(), 3 * CounterRecord::kSize);
  EXPECT_EQ(second[76], std::byte{2});
  EXPECT_EQ(second[77], std::byte{0});
  EXPECT_EQ(second, readBytes(parts.area() / "Entcoun.dat"));
  EXPECT_EQ(storedCounters(parts, parts.store() / "LUM-1.Zip")[76], std::byte{1});

  // Over slot 1 from the work area just stored as slot 2.
  EXPECT_EQ(storage.storeAway(Storage::Location::SelectedSlot, 1, Storage::Target::HardDisk), 1);
  EXPECT_EQ(storedCounters(parts, parts.store() / "LUM-1.Zip")[76], std::byte{1});

  // A store that fails leaves the work area's slot as it was.
  const auto before = readBytes(parts.area() / "Entcoun.dat");
  parts.ops.resetCounts();
  // The rename that would put the new archive in place (after the rollback marker's).
  parts.ops.injectFault(FileOp::Rename, 2, Failure::NoSpace);
  EXPECT_FALSE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk));
  parts.ops.clearFaults();
  EXPECT_EQ(storage.lastZipStatus(), ZipStatus::WriteFailed);
  EXPECT_EQ(parts.prompter.texts().back(),
            "The data could not be stored in LUM-3.Zip (error 15). Nothing was changed.");
  EXPECT_EQ(readBytes(parts.area() / "Entcoun.dat"), before);
  EXPECT_FALSE(std::filesystem::exists(parts.store() / "LUM-3.Zip"));
}

// UtCount.Dat holds the count in 16 bits: a list that counts 32,767 slots
// takes no more, rather than count the next one as -32,768 and lose them all.
TEST_F(StorageTest, FullListTakesNoNextSlot) {
  test::writeBytes(parts.store() / "UtCount.Dat", test::Bytes().text("", 24).int16(32767));
  EXPECT_EQ(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk),
            std::nullopt);
  EXPECT_EQ(parts.prompter.texts(),
            std::vector<std::string>{"The stored entities list is full: it holds 32767 "
                                     "entities at most. Override a stored entity instead."});
  EXPECT_EQ(usedCount(), 32767);
  EXPECT_FALSE(std::filesystem::exists(parts.store() / "LUM-32768.Zip"));
  EXPECT_EQ(storage.storeAway(Storage::Location::SelectedSlot, 32767, Storage::Target::HardDisk),
            32767);
  EXPECT_EQ(usedCount(), 32767);
}

TEST_F(StorageTest, LongNameIsCutToTwentyWithTheDateAtColumn22) {
  parts.fillWorkArea("Abcdefghijklmnopqrstuvwxyz0123", "");
  ASSERT_TRUE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk));
  const auto bytes = readBytes(parts.store() / "EnList.Dat");
  ASSERT_EQ(bytes.size(), 64u);
  const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  EXPECT_EQ(text.substr(0, 21), "Abcdefghijklmnopqrst ");
  EXPECT_EQ(text.substr(21, 8), "20/08/26");  // column 22
  EXPECT_EQ(text.substr(29), std::string(35, ' '));
  EXPECT_EQ(Storage::listText("Kim", "", "01/02/03"), "Kim                  01/02/03");
}

TEST_F(StorageTest, OverrideTheSelectedSlot) {
  storeAs("First");
  storeAs("Second");
  parts.fillWorkArea("Replaced", "");
  EXPECT_EQ(storage.storeAway(Storage::Location::SelectedSlot, 1, Storage::Target::HardDisk), 1);
  EXPECT_EQ(usedCount(), 2);
  EXPECT_EQ(listed(1).substr(0, 8), "Replaced");
  EXPECT_EQ(listed(2).substr(0, 6), "Second");

  EXPECT_FALSE(storage.storeAway(Storage::Location::SelectedSlot, 0, Storage::Target::HardDisk));
  EXPECT_EQ(parts.prompter.texts().back(),
            "Select the stored entity to override in the list first.");
}

TEST(StorageRights, ExtendedRightsRecordTheSlotInTheProfile) {
  UtilsParts parts;
  parts.fillWorkArea();
  std::vector<std::byte> oper(88 * 4);
  oper[88 * 2 + 62] = std::byte{99};  // operator 3, access level 99
  test::writeBytes(parts.dir / "System" / "Ent-1" / "Oper.dat", oper);
  std::vector<std::byte> profile(2 * 602);
  profile[2 * 401] = std::byte{1};  // record 402: extended rights
  profile[2 * 600] = std::byte{7};  // record 601 holds slot 7 already
  const auto profilePath = parts.dir / "System" / "Ent-1" / "OpP-0003.dat";
  test::writeBytes(profilePath, profile);
  parts.session.start();
  ASSERT_EQ(parts.session.operatorClass(), OperatorClass::ExtendedRights);
  Storage storage(parts.session);
  EXPECT_EQ(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk), 1);
  EXPECT_EQ(recordOf<OperatorProfileRecord>(profilePath, 601).value, 7);
  EXPECT_EQ(recordOf<OperatorProfileRecord>(profilePath, 602).value, 1);
}

TEST_F(StorageTest, FloppyTargetAsksAndChecksTheDisk) {
  parts.prompter.then(Answer::No);
  EXPECT_FALSE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::Floppy));
  parts.prompter.then(Answer::Yes).then(Answer::Cancel);
  EXPECT_FALSE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::Floppy));
  parts.prompter.then(Answer::Yes).then(Answer::Ok);
  EXPECT_FALSE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::Floppy));
  EXPECT_EQ(parts.prompter.texts().back(), "Floppy disk is not a proper data disk");
  EXPECT_FALSE(std::filesystem::exists(parts.store() / "UtCount.Dat"));

  writeText(parts.dir / "floppy" / "Entcoun.dat", "");
  parts.prompter.then(Answer::Yes).then(Answer::Ok);
  EXPECT_EQ(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::Floppy), 1);
  EXPECT_TRUE(std::filesystem::exists(parts.dir / "floppy" / "LUM-1.Zip"));
  EXPECT_EQ(parts.prompter.texts()[0], "Has the floppy disk checked for virus?");
  EXPECT_EQ(parts.prompter.texts()[2], "Ensure that data disk is in drive a");
}

TEST_F(StorageTest, DeletingSlotOneOfThreeRenamesTheOthers) {
  storeAs("First");
  storeAs("Second");
  storeAs("Third");
  const auto second = readBytes(parts.store() / "LUM-2.Zip");
  const auto third = readBytes(parts.store() / "LUM-3.Zip");

  parts.prompter.then(Answer::No);
  EXPECT_FALSE(storage.deleteStoredEntity(1));
  EXPECT_TRUE(std::filesystem::exists(parts.store() / "LUM-1.Zip"));

  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.deleteStoredEntity(1));
  EXPECT_EQ(parts.prompter.texts().back(),
            "The stored data for First                20/08/26 will be deleted.  Are you sure?");
  EXPECT_EQ(parts.prompter.exchanges().back().prompt.defaultAnswer, Answer::No);
  EXPECT_EQ(readBytes(parts.store() / "LUM-1.Zip"), second);
  EXPECT_EQ(readBytes(parts.store() / "LUM-2.Zip"), third);
  EXPECT_FALSE(std::filesystem::exists(parts.store() / "LUM-3.Zip"));
  EXPECT_EQ(usedCount(), 2);
  EXPECT_EQ(listed(1).substr(0, 6), "Second");
  EXPECT_EQ(listed(2).substr(0, 5), "Third");
  EXPECT_EQ(listed(3), "");

  parts.prompter.then(Answer::Yes);  // the last slot: no gap to close
  EXPECT_TRUE(storage.deleteStoredEntity(2));
  EXPECT_EQ(usedCount(), 1);
  EXPECT_FALSE(std::filesystem::exists(parts.store() / "LUM-2.Zip"));
  EXPECT_FALSE(storage.deleteStoredEntity(5));
}

TEST_F(StorageTest, BringBackWithNoUnzipsOverTheExistingFiles) {
  // The bank statement rules, a text file, travel with the record files.
  writeText(parts.area() / "Rules-0002.dat", "CALTEX | | - | Fuel | Y |\n");
  storeAs("Stored");
  writeText(parts.area() / "Jnl-0002.dat", "changed since");
  writeText(parts.area() / "Rules-0002.dat", "changed since");
  writeText(parts.area() / "Jnl-0003.dat", "new since");

  parts.prompter.then(Answer::No);
  EXPECT_TRUE(storage.bringBack(1, Storage::Restore::HardDisk));
  EXPECT_EQ(parts.prompter.texts(),
            std::vector<std::string>{"Do you want to clear the existing data in the work space?"});
  EXPECT_EQ(parts.prompter.exchanges().back().prompt.defaultAnswer, Answer::No);
  EXPECT_EQ(test::textOf(parts.area() / "Jnl-0002.dat"), "journal headers");
  EXPECT_EQ(test::textOf(parts.area() / "Rules-0002.dat"), "CALTEX | | - | Fuel | Y |\n");
  EXPECT_TRUE(std::filesystem::exists(parts.area() / "Jnl-0003.dat"));
}

TEST_F(StorageTest, BringBackWithYesClearsButKeepsTheAnalysisLists) {
  storeAs("Stored");
  writeText(parts.area() / "MailDets.dat", "settings");
  storeAs("Stored with the mail settings beside");
  writeText(parts.area() / "Jnl-0003.dat", "new since");
  writeText(parts.area() / "Anljnl.dat", "bank accounts, not stored");
  writeText(parts.area() / "MailDets.dat", "settings");

  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.bringBack(1, Storage::Restore::HardDisk));
  EXPECT_FALSE(std::filesystem::exists(parts.area() / "Jnl-0003.dat"));
  EXPECT_TRUE(std::filesystem::exists(parts.area() / "Jnl-0002.dat"));
  EXPECT_TRUE(std::filesystem::exists(parts.area() / "Anljnl.dat"));
  EXPECT_TRUE(std::filesystem::exists(parts.area() / "MailDets.dat"));
  EXPECT_EQ(recordOf<CounterRecord>(parts.area() / "Entcoun.dat", 3).value, 1);
  const auto [status, names] = runCommand("unzip -Z1 " + quoted(parts.store() / "LUM-2.Zip"));
  EXPECT_EQ(names.find("MailDets"), std::string::npos) << names;
}

TEST_F(StorageTest, DamagedArchiveDoesNotClearTheWorkArea) {
  storeAs("Stored");
  auto bytes = readBytes(parts.store() / "LUM-1.Zip");
  bytes.resize(bytes.size() - 30);
  test::writeBytes(parts.store() / "LUM-1.Zip", bytes);
  writeText(parts.area() / "Jnl-0003.dat", "new since");

  parts.prompter.then(Answer::Yes);
  EXPECT_FALSE(storage.bringBack(1, Storage::Restore::HardDisk));
  EXPECT_EQ(parts.prompter.texts(),
            (std::vector<std::string>{"Do you want to clear the existing data in the work space?",
                                      "LUM-1.Zip is damaged or is not a zip file. Nothing was "
                                      "brought back; the work area was not changed."}));
  EXPECT_TRUE(std::filesystem::exists(parts.area() / "Jnl-0003.dat"));
  EXPECT_TRUE(std::filesystem::exists(parts.area() / "Ent.dat"));

  parts.prompter.clear();
  EXPECT_FALSE(storage.bringBack(2, Storage::Restore::HardDisk));
  EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{"Selected files do not exit!"});
}

TEST_F(StorageTest, FloppyAndEmailCopies) {
  storeAs("Stored");
  EXPECT_TRUE(storage.bringBack(1, Storage::Restore::ZipOnFloppy));
  EXPECT_EQ(readBytes(parts.dir / "floppy" / "lum.Zip"), readBytes(parts.store() / "LUM-1.Zip"));
  EXPECT_TRUE(storage.bringBack(1, Storage::Restore::Floppy));
  EXPECT_TRUE(std::filesystem::exists(parts.dir / "floppy" / "Jnl-0002.dat"));

  EXPECT_TRUE(storage.zipToEmail());
  EXPECT_TRUE(std::filesystem::exists(parts.group() / "Email" / "lum.zip"));
  writeText(parts.area() / "Jnl-0002.dat", "changed");
  parts.prompter.then(Answer::No);
  EXPECT_FALSE(storage.unzipFromEmail());
  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.unzipFromEmail());
  EXPECT_EQ(parts.prompter.texts().back(),
            "The live cash book data in the hard disk will be erased.  Are you sure?");
  EXPECT_EQ(parts.prompter.exchanges().back().prompt.defaultAnswer, Answer::No);
  EXPECT_EQ(test::textOf(parts.area() / "Jnl-0002.dat"), "journal headers");

  // "a:\LUM.ZIP" is the "lum.Zip" already there, whatever the case, as on Windows.
  writeText(parts.area() / "Jnl-0004.dat", "new journal");
  EXPECT_TRUE(storage.zipToFloppy());
  EXPECT_EQ(runCommand("unzip -Z1 " + quoted(parts.dir / "floppy" / "lum.Zip") + " Jnl-0004.dat"),
            std::pair(0, std::string("Jnl-0004.dat\n")));
  EXPECT_FALSE(std::filesystem::exists(parts.dir / "floppy" / "LUM.ZIP"));
}

TEST_F(StorageTest, ListShorterThanItsCountAndNamesListRecreated) {
  storeAs("First");
  storeAs("Second");
  // The count claims five slots; the list and the archives hold two.
  test::writeBytes(parts.store() / "UtCount.Dat", test::Bytes().text("", 24).int16(5));
  EXPECT_EQ(storage.entries(),
            (std::vector<std::string>{"First                20/08/26",
                                      "Second               20/08/26", "", "", ""}));
  // Cut inside its second record.
  auto list = readBytes(parts.store() / "EnList.Dat");
  list.resize(64 + 10);
  test::writeBytes(parts.store() / "EnList.Dat", list);
  EXPECT_EQ(storage.entries(),
            (std::vector<std::string>{"First                20/08/26", "", "", "", ""}));
  EXPECT_EQ(storage.entryText(2), "");

  parts.clock.set(DateTime{*Date::fromYmd(2026, 9, 1), 9, 0, 0});
  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.recreateNamesList());
  EXPECT_EQ(listed(1), "First                01/09/26");
  EXPECT_EQ(listed(2), "Second               01/09/26");
  EXPECT_EQ(storage.entryText(3), "");
  EXPECT_TRUE(std::filesystem::is_directory(parts.prog() / "work"));
}

// The main window reads the list as LumUtils starts, outside any command:
// a count cut inside its record, or a store folder on a drive this machine
// does not have, is told and shows an empty list rather than end the program.
TEST_F(StorageTest, ListThatCannotBeReadIsToldAndShownEmpty) {
  storeAs("First");
  test::writeBytes(parts.store() / "UtCount.Dat", test::Bytes().text("", 10));
  EXPECT_EQ(storage.entries(), std::vector<std::string>{});
  ASSERT_EQ(parts.prompter.texts().size(), 1u);
  EXPECT_TRUE(parts.prompter.texts()[0].starts_with("The stored entities list cannot be read: "))
      << parts.prompter.texts()[0];

  parts.prompter.clear();
  parts.session.folders().storeFolder = "C:\\LUM\\zip\\";
  EXPECT_EQ(storage.entries(), std::vector<std::string>{});
  EXPECT_EQ(parts.prompter.texts(),
            std::vector<std::string>{"The stored entities list cannot be read: Cannot open "
                                     "C:\\LUM\\zip\\UtCount.Dat: drive C: is not available"});
}

TEST_F(StorageTest, SearchFindsOnwardWithoutWrapping) {
  storeAs("Alpha Farm");
  storeAs("Beta Farm");
  storeAs("Gamma Shop");
  storeAs("Delta Farm");
  EXPECT_EQ(storage.search(" farm "), 1);
  EXPECT_EQ(storage.search("farm"), 2);
  EXPECT_EQ(storage.search("farm"), 4);
  EXPECT_EQ(storage.search("farm"), std::nullopt);
  EXPECT_EQ(parts.prompter.texts().back(), "Search text could not be found");
  EXPECT_EQ(storage.search("farm"), 1);
}

TEST_F(StorageTest, FoldersSwitchedCopiedAndSet) {
  storeAs("Current");
  std::filesystem::remove_all(parts.store() / "PYear");
  EXPECT_FALSE(storage.selectPreviousYear());
  EXPECT_EQ(parts.prompter.texts().back(), "Previous Period Zip path is not properly set");
  EXPECT_EQ(parts.session.folders().storeFolder, ".\\Ent-1\\zip\\");

  parts.prompter.then(Answer::Yes);
  EXPECT_FALSE(storage.transCurrentToPrevious());
  EXPECT_EQ(parts.prompter.texts().back(), "Previous Year Zip path is not properly set");

  std::filesystem::create_directories(parts.store() / "pyear");
  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.transCurrentToPrevious());
  EXPECT_TRUE(storage.selectPreviousYear());
  EXPECT_EQ(storage.entries(), std::vector<std::string>{"Current              20/08/26"});
  EXPECT_TRUE(std::filesystem::exists(parts.store() / "pyear" / "LUM-1.Zip"));
  EXPECT_TRUE(storage.selectCurrentYear());

  parts.prompter.then(Answer::No);
  EXPECT_FALSE(storage.setFolder(UtilsWindow::EmailFolder, " .\\Outbox "));
  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.setFolder(UtilsWindow::EmailFolder, " .\\Outbox "));
  EXPECT_EQ(parts.prompter.texts().back(),
            "Selected Directory does not exist.  Do you wish to create it?");
  EXPECT_TRUE(std::filesystem::is_directory(parts.prog() / "Outbox"));
  EXPECT_EQ(recordOf<FolderRecord>(parts.area() / "ZipPath.Cfg", 2).folder, ".\\Outbox\\");
  EXPECT_EQ(parts.session.folders().emailFolder, ".\\Outbox\\");
}

TEST_F(StorageTest, TransCurrentToPrevTakesTheArchivesWithTheLists) {
  ASSERT_TRUE(storage.selectPreviousYear());
  storeAs("Old One");
  storeAs("Old Two");
  storeAs("Old Three");
  ASSERT_TRUE(storage.selectCurrentYear());
  storeAs("First");
  storeAs("Second");
  const auto current = parts.store();
  const auto previous = parts.store() / "PYear";

  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.transCurrentToPrevious());
  for (const char* name : {"LUM-1.Zip", "LUM-2.Zip", "EnList.Dat", "UtCount.Dat"}) {
    EXPECT_EQ(readBytes(previous / name), readBytes(current / name)) << name;
  }
  // Slot 3 of the old list is named no more: its archive goes with it.
  EXPECT_EQ(namesIn(previous),
            (std::vector<std::string>{"EnList.Dat", "LUM-1.Zip", "LUM-2.Zip", "UtCount.Dat"}));

  ASSERT_TRUE(storage.selectPreviousYear());
  EXPECT_EQ(storage.entries(), (std::vector<std::string>{"First                20/08/26",
                                                         "Second               20/08/26"}));
  parts.fillWorkArea("Work in hand", "");
  EXPECT_TRUE(storage.bringBackToWorkArea(2, true));
  EXPECT_EQ(recordOf<EntityRecord>(parts.area() / "Ent.dat", 2).name, "Second");

  // A slot whose archive is missing in the current year leaves none behind.
  ASSERT_TRUE(storage.selectCurrentYear());
  std::filesystem::remove(current / "LUM-1.Zip");
  parts.prompter.then(Answer::Yes);
  EXPECT_TRUE(storage.transCurrentToPrevious());
  EXPECT_EQ(namesIn(previous),
            (std::vector<std::string>{"EnList.Dat", "LUM-2.Zip", "UtCount.Dat"}));
  ASSERT_TRUE(storage.selectPreviousYear());
  parts.prompter.clear();
  EXPECT_FALSE(storage.bringBackToWorkArea(1, true));
  EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{"Selected files do not exit!"});
}

TEST_F(StorageTest, OlderArchiveWithFoldersComesBackAndAClashRefusesIt) {
  const auto [status, out] = runCommand(
      "cd " + quoted(parts.area()) + " && mkdir -p sub other && echo x > sub/x.dat && " +
      "echo y > other/X.DAT && zip -q -r " + quoted(parts.store() / "LUM-1.Zip") +
      " Ent.dat sub && zip -q -r " + quoted(parts.store() / "LUM-2.Zip") + " Ent.dat sub other");
  ASSERT_EQ(status, 0) << out;
  std::filesystem::remove_all(parts.area() / "sub");
  std::filesystem::remove_all(parts.area() / "other");
  test::writeBytes(parts.store() / "UtCount.Dat", test::Bytes().text("", 24).int16(2));
  const auto before = test::treeFiles(parts.prog(), {"LumPost.lck"});

  // Two files of one name, whatever the case: the archive is refused whole.
  parts.prompter.then(Answer::No);
  EXPECT_FALSE(storage.bringBack(2, Storage::Restore::HardDisk));
  EXPECT_EQ(parts.prompter.texts().back(),
            "LUM-2.Zip cannot be brought back whole; these files of it are refused:\n"
            "other/X.DAT: an earlier entry has the same name (sub/x.dat)\n"
            "Nothing was brought back; the work area was not changed.");
  EXPECT_TRUE(storage.lastUnzip().extracted.empty());
  EXPECT_EQ(test::treeFiles(parts.prog(), {"LumPost.lck"}), before);

  parts.prompter.then(Answer::No);
  EXPECT_TRUE(storage.bringBack(1, Storage::Restore::HardDisk));
  EXPECT_EQ(storage.lastUnzip().extracted, (std::vector<std::string>{"Ent.dat", "x.dat"}));
  EXPECT_EQ(test::textOf(parts.area() / "x.dat"), "x\n");
  EXPECT_FALSE(std::filesystem::exists(parts.area() / "sub"));
  EXPECT_FALSE(std::filesystem::exists(parts.area() / "~Staging"));
}

// While another program (LumPost) holds the work area, every command that
// writes it is refused with the lock's message and changes nothing.
TEST_F(StorageTest, WritersAreRefusedWhileAnotherProgramHoldsTheWorkArea) {
  storeAs("Stored");
  std::filesystem::copy_file(parts.store() / "LUM-1.Zip", parts.dir / "floppy" / "lum.zip");
  std::filesystem::copy_file(parts.store() / "LUM-1.Zip", parts.email() / "lum.zip",
                             std::filesystem::copy_options::overwrite_existing);
  WorkAreaLock lumPost(parts.ops, parts.clock, parts.waiter);
  ASSERT_TRUE(lumPost.acquire(parts.area()));
  const auto before = test::treeFiles(parts.prog(), {"LumPost.lck", "RYR.dat"});

  const std::vector<std::string> refused{WorkAreaChange::kInUse};
  parts.prompter.clear();
  EXPECT_FALSE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk));
  EXPECT_EQ(parts.prompter.texts(), refused);
  parts.prompter.clear();
  EXPECT_FALSE(storage.bringBackToWorkArea(1, true));
  EXPECT_EQ(parts.prompter.texts(), refused);
  for (auto unzip : {&Storage::unzipFromFloppy, &Storage::unzipFromEmail}) {
    parts.prompter.clear();
    parts.prompter.then(Answer::Yes);
    EXPECT_FALSE((storage.*unzip)());
    EXPECT_EQ(parts.prompter.texts().back(), WorkAreaChange::kInUse);
  }
  EXPECT_EQ(test::treeFiles(parts.prog(), {"LumPost.lck", "RYR.dat"}), before);

  // Once it is let go, the data manager gets in, and lets go in turn.
  lumPost.release();
  parts.prompter.clear();
  EXPECT_TRUE(storage.bringBackToWorkArea(1, true));
  EXPECT_TRUE(lumPost.acquire(parts.area()));
}

// A change cut short (the process killed in the middle) is put back when
// the data manager starts, and its leftover temporary files removed.
TEST_F(StorageTest, StartPutsBackACutShortChangeAndRemovesLeftovers) {
  storeAs("Stored");
  const auto before = test::treeFiles(parts.prog(), {"LumPost.lck", "RYR.dat"});
  std::filesystem::create_directories(parts.area() / "Rollback");
  writeText(parts.area() / "Rollback" / "0.copy", test::textOf(parts.area() / "Ent.dat"));
  writeText(parts.area() / "Rollback" / "marker", "1 Ent.dat\n");
  writeText(parts.area() / "Ent.dat", "half written");
  writeText(parts.store() / "~LUM-2.Zip.part", "cut short");
  writeText(parts.area() / "~Jnl-0002.dat.part", "cut short");
  std::filesystem::create_directories(parts.area() / "~Staging");
  writeText(parts.area() / "~Staging" / "Ent.dat", "staged");

  parts.prompter.clear();
  WorkAreaChange::recoverAtStart(parts.session);
  EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{WorkAreaChange::kPutBack});
  EXPECT_EQ(test::treeFiles(parts.prog(), {"LumPost.lck", "RYR.dat"}), before);
  EXPECT_FALSE(parts.session.lock().holds());
}

}  // namespace
}  // namespace lum
