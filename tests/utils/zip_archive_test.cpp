#include "utils/zip_archive.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <fstream>

#include "platform/errors.h"
#include "tests/support/test_support.h"
#include "tests/utils/utils_fixture.h"

namespace lum {
namespace {

using test::namesIn;
using test::quoted;
using test::readBytes;
using test::runCommand;
using test::TempDir;
using test::writeText;

std::vector<std::byte> bytesOf(std::string_view text) {
  const auto* data = reinterpret_cast<const std::byte*>(text.data());
  return {data, data + text.size()};
}

// An archive with entries of any name, written by libzip as another tool would.
void makeArchive(const std::filesystem::path& path,
                 const std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    // As a tool of the DOS code page would: names stored as they are,
    // without the UTF-8 flag unless they need it.
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_GUESS), 0) << name;
  }
  ASSERT_EQ(zip_close(archive), 0);
}

struct ZipArchive : ::testing::Test {
  ZipArchive() {
    std::filesystem::create_directories(dir / "area");
    std::filesystem::create_directories(dir / "out");
    writeText(dir / "area" / "Ent.dat", "Smith Plumbing");
    writeText(dir / "area" / "Jnl-0001.dat", std::string(100000, ' ') + "end");
    writeText(dir / "area" / "notes.txt", "not data");
  }
  std::vector<std::filesystem::path> dataFiles() {
    return matchingFiles(ops, dir / "area", "*.dat");
  }

  TempDir dir;
  FileOps ops;
};

TEST_F(ZipArchive, StoredArchiveIsAnOrdinaryZipThatUnzipTests) {
  const auto archive = dir / "LUM-1.Zip";
  ASSERT_EQ(dataFiles().size(), 2u);
  EXPECT_EQ(zipFiles(ops, archive, dataFiles()), ZipStatus::Ok);

  const auto [testStatus, testOut] = runCommand("unzip -t " + quoted(archive));
  EXPECT_EQ(testStatus, 0) << testOut;
  EXPECT_EQ(runCommand("unzip -Z1 " + quoted(archive)).second, "Ent.dat\nJnl-0001.dat\n");

  const auto outcome = unzipFiles(ops, archive, dir / "out", "*.dat");
  EXPECT_EQ(outcome.status, ZipStatus::Ok);
  EXPECT_EQ(outcome.extracted, (std::vector<std::string>{"Ent.dat", "Jnl-0001.dat"}));
  EXPECT_EQ(readBytes(dir / "out" / "Jnl-0001.dat"), readBytes(dir / "area" / "Jnl-0001.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "~Ent.dat.part"));

  EXPECT_EQ(zipFiles(ops, dir / "empty.zip", {}), ZipStatus::NothingToDo);
  EXPECT_EQ(unzipFiles(ops, dir / "missing.zip", dir / "out", "*.dat").status,
            ZipStatus::ArchiveMissing);
  EXPECT_EQ(unzipFiles(ops, archive, dir / "out", "*.xyz").status, ZipStatus::NoMatch);
}

TEST_F(ZipArchive, ArchiveMadeByZipIsBroughtBackOverFilesOfAnotherCase) {
  const auto archive = dir / "lum.zip";
  const auto [status, out] = runCommand("cd " + quoted(dir / "area") + " && zip -q -6 " +
                                        quoted(archive) + " *.dat notes.txt");
  ASSERT_EQ(status, 0) << out;
  writeText(dir / "out" / "ENT.DAT", "old");

  const auto outcome = unzipFiles(ops, archive, dir / "out", "*.dat");
  EXPECT_EQ(outcome.status, ZipStatus::Ok);
  EXPECT_EQ(readBytes(dir / "out" / "ENT.DAT"), bytesOf("Smith Plumbing"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "Ent.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "notes.txt"));
  EXPECT_EQ(readBytes(dir / "out" / "Jnl-0001.dat"), readBytes(dir / "area" / "Jnl-0001.dat"));
}

// Folders of an older archive are dropped; a name that two of them hold,
// whatever the case, comes out once, from the first.
TEST_F(ZipArchive, ArchiveWithFoldersComesOutWithoutThemAndEachNameOnce) {
  std::filesystem::create_directories(dir / "area" / "client" / "journals");
  std::filesystem::create_directories(dir / "area" / "b");
  writeText(dir / "area" / "client" / "Entcoun.dat", "counters");
  writeText(dir / "area" / "client" / "journals" / "Jnl-0002.dat", "headers");
  writeText(dir / "area" / "b" / "ENTCOUN.DAT", "second");
  const auto archive = dir / "older.zip";
  const auto [status, out] = runCommand("cd " + quoted(dir / "area") + " && zip -q -r " +
                                        quoted(archive) + " client Ent.dat b/ENTCOUN.DAT");
  ASSERT_EQ(status, 0) << out;

  const auto outcome = unzipFiles(ops, archive, dir / "out", "*.dat");
  EXPECT_EQ(outcome.status, ZipStatus::EntriesRefused);
  EXPECT_EQ(outcome.extracted,
            (std::vector<std::string>{"Jnl-0002.dat", "Entcoun.dat", "Ent.dat"}));
  ASSERT_EQ(outcome.refused.size(), 1u);
  EXPECT_EQ(outcome.refused[0].name, "b/ENTCOUN.DAT");
  EXPECT_EQ(outcome.refused[0].reason, "an earlier entry has the same name (client/Entcoun.dat)");
  EXPECT_EQ(namesIn(dir / "out"),
            (std::vector<std::string>{"Ent.dat", "Entcoun.dat", "Jnl-0002.dat"}));
  EXPECT_EQ(readBytes(dir / "out" / "Entcoun.dat"), bytesOf("counters"));
}

TEST_F(ZipArchive, UnsafeNamesAreRefusedAndTheOthersExtracted) {
  const std::string outside = "/tmp/lum-zip-test-" + std::to_string(::getpid()) + ".dat";
  const auto archive = dir / "bad.zip";
  makeArchive(archive, {{"../x.dat", "up"},
                        {"sub/../../x.dat", "up inside"},
                        {"sub/..", "up at the end"},
                        {outside, "absolute"},
                        {"\\\\server\\share\\x.dat", "network"},
                        {"C:x.dat", "drive"},
                        {"sub/C:\\x.dat", "drive inside"},
                        {"sub\x01/x.dat", "control"},
                        {"del\x7f.dat", "delete"},
                        {"sub/Good.dat", "good"},
                        {"dos\\Other.dat", "backslash folder"},
                        {"two..dots.dat", "dots"}});

  const auto outcome = unzipFiles(ops, archive, dir / "out", "*.dat");
  EXPECT_EQ(outcome.status, ZipStatus::EntriesRefused);
  EXPECT_EQ(outcome.extracted,
            (std::vector<std::string>{"Good.dat", "Other.dat", "two..dots.dat"}));
  std::vector<std::string> reasons;
  for (const auto& refused : outcome.refused) {
    reasons.push_back(refused.name + ": " + refused.reason);
  }
  EXPECT_EQ(reasons, (std::vector<std::string>{
                         "../x.dat: the name has \"..\"",
                         "sub/../../x.dat: the name has \"..\"",
                         "sub/..: the name has \"..\"",
                         outside + ": the name is absolute",
                         "\\\\server\\share\\x.dat: the name is absolute",
                         "C:x.dat: the name has a drive letter",
                         "sub/C:\\x.dat: the name has a drive letter",
                         // Shown in the DOS code page, where 1 is a face.
                         "sub\u263a/x.dat: the name has a control character",
                         "del\x7f.dat: the name has a control character",
                     }));
  EXPECT_EQ(readBytes(dir / "out" / "Good.dat"), bytesOf("good"));
  EXPECT_EQ(readBytes(dir / "out" / "Other.dat"), bytesOf("backslash folder"));
  EXPECT_FALSE(std::filesystem::exists(dir / "x.dat"));
  EXPECT_FALSE(std::filesystem::exists(outside));
  EXPECT_EQ(namesIn(dir / "out"),
            (std::vector<std::string>{"Good.dat", "Other.dat", "two..dots.dat"}));

  EXPECT_EQ(unsafeEntryName(".."), "the name has \"..\"");
  EXPECT_EQ(unsafeEntryName(""), "the name is empty");
  EXPECT_EQ(unsafeEntryName("a\x7f.dat"), "the name has a control character");
  EXPECT_EQ(unsafeEntryName("client/Ent.dat"), "");
}

// A name the file system cannot hold (255 bytes, less what the temporary
// name adds) is refused like the other unsafe names, and the others come out.
TEST_F(ZipArchive, NameTooLongForTheFileSystemIsRefused) {
  const std::string longest = std::string(245, 'a') + ".dat";  // 249 bytes
  const std::string tooLong = std::string(246, 'b') + ".dat";
  const auto archive = dir / "long.zip";
  makeArchive(archive, {{"sub/" + tooLong, "too long"}, {longest, "fits"}, {"Ent.dat", "fine"}});

  const auto outcome = unzipFiles(ops, archive, dir / "out", "*.dat");
  EXPECT_EQ(outcome.status, ZipStatus::EntriesRefused);
  EXPECT_EQ(outcome.extracted, (std::vector<std::string>{longest, "Ent.dat"}));
  ASSERT_EQ(outcome.refused.size(), 1u);
  EXPECT_EQ(outcome.refused[0].reason, "the name is too long");
  EXPECT_EQ(namesIn(dir / "out"), (std::vector<std::string>{"Ent.dat", longest}));
}

TEST_F(ZipArchive, DamagedArchiveWritesNothing) {
  const auto archive = dir / "LUM-1.Zip";
  ASSERT_EQ(zipFiles(ops, archive, dataFiles()), ZipStatus::Ok);
  auto bytes = readBytes(archive);

  bytes.resize(bytes.size() / 2);
  test::writeBytes(dir / "truncated.zip", bytes);
  EXPECT_EQ(unzipFiles(ops, dir / "truncated.zip", dir / "out", "*.dat").status,
            ZipStatus::ArchiveDamaged);

  // A flipped byte in the first entry's data: its CRC fails after the whole
  // archive's directory was read; the second entry is not written either.
  bytes = readBytes(archive);
  bytes[40] ^= std::byte{0x55};
  test::writeBytes(dir / "flipped.zip", bytes);
  EXPECT_EQ(unzipFiles(ops, dir / "flipped.zip", dir / "out", "*.dat").status,
            ZipStatus::ArchiveDamaged);

  writeText(dir / "text.zip", "PK but not a zip file at all");
  EXPECT_EQ(unzipFiles(ops, dir / "text.zip", dir / "out", "*.dat").status,
            ZipStatus::ArchiveDamaged);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));
}

TEST_F(ZipArchive, BoundsOnBytesWrittenRatioAndEntries) {
  const auto archive = dir / "bomb.zip";
  makeArchive(
      archive,
      {{"small.dat", "small"}, {"bomb.dat", std::string(4 << 20, '\0')}, {"after.dat", "after"}});

  UnzipLimits limits;
  limits.maxTotalBytes = 1 << 20;
  auto outcome = unzipFiles(ops, archive, dir / "out", "*.dat", limits);
  EXPECT_EQ(outcome.status, ZipStatus::EntriesRefused);
  EXPECT_EQ(outcome.extracted, (std::vector<std::string>{"small.dat", "after.dat"}));
  ASSERT_EQ(outcome.refused.size(), 1u);
  EXPECT_EQ(outcome.refused[0].reason, "the archive would write more than 1048576 bytes");
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "bomb.dat"));

  limits = {};
  limits.maxRatio = 100;
  outcome = testArchive(ops, archive, "*.dat", limits);
  EXPECT_EQ(outcome.status, ZipStatus::EntriesRefused);
  ASSERT_EQ(outcome.refused.size(), 1u);
  EXPECT_EQ(outcome.refused[0].reason, "the entry expands more than 100 times its compressed size");

  // With the bounds as shipped, the four megabytes of zeros (over 1,000 to
  // 1) come out: deflate cannot pass the ratio bound.
  EXPECT_EQ(testArchive(ops, archive, "*.dat").status, ZipStatus::Ok);

  limits = {};
  limits.maxEntries = 2;
  outcome = testArchive(ops, archive, "*.dat", limits);
  EXPECT_EQ(outcome.extracted, (std::vector<std::string>{"small.dat", "bomb.dat"}));
  ASSERT_EQ(outcome.refused.size(), 1u);
  EXPECT_EQ(outcome.refused[0].reason, "the archive has more than 2 entries");
}

TEST_F(ZipArchive, FailedWriteLeavesTheOldArchiveWhole) {
  const auto archive = dir / "LUM-1.Zip";
  ASSERT_EQ(zipFiles(ops, archive, dataFiles()), ZipStatus::Ok);
  const auto before = readBytes(archive);
  writeText(dir / "area" / "Ent.dat", "A different entity now");

  for (const auto failure : {Failure::NoSpace, Failure::ShortWrite}) {
    ops.resetCounts();
    ops.injectFault(FileOp::Write, 1, failure);
    EXPECT_EQ(zipFiles(ops, archive, dataFiles()), ZipStatus::WriteFailed);
    ops.clearFaults();
    EXPECT_EQ(readBytes(archive), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "~LUM-1.Zip.part"));
  }
  ops.resetCounts();
  ops.injectFault(FileOp::Rename, 1, Failure::IoError);
  EXPECT_EQ(zipFiles(ops, archive, dataFiles()), ZipStatus::WriteFailed);
  ops.clearFaults();
  EXPECT_EQ(readBytes(archive), before);

  ops.resetCounts();
  ops.injectFault(FileOp::Read, 1, Failure::IoError);
  EXPECT_EQ(zipFiles(ops, archive, dataFiles()), ZipStatus::ReadFailed);
  ops.clearFaults();
  EXPECT_EQ(readBytes(archive), before);
}

}  // namespace
}  // namespace lum
