#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/errors.h"
#include "tests/support/test_support.h"

namespace lum {
namespace {

std::vector<std::byte> bytesOf(std::string_view text) {
  std::vector<std::byte> bytes;
  for (const char c : text) {
    bytes.push_back(static_cast<std::byte>(c));
  }
  return bytes;
}

TEST(FileOps, InjectedFaultsHitTheNthOperationOfTheirKindOnce) {
  test::TempDir dir;
  FileOps ops;
  FileHandle file = ops.open(dir / "a.dat", OpenMode::ReadWriteCreate);
  ops.injectFault(FileOp::Write, 2, Failure::NoSpace);
  ops.injectFault(FileOp::Flush, 1, Failure::IoError);

  ops.writeAt(file, 0, bytesOf("one"));
  try {
    ops.writeAt(file, 3, bytesOf("two"));
    FAIL() << "the second write succeeded";
  } catch (const FileError& error) {
    EXPECT_EQ(error.errorNumber(), ENOSPC);
    EXPECT_EQ(error.operation(), "write");
    EXPECT_EQ(error.path(), dir / "a.dat");
  }
  try {
    ops.flush(file);
    FAIL() << "the flush succeeded";
  } catch (const FileError& error) {
    EXPECT_EQ(error.errorNumber(), EIO);
  }
  ops.writeAt(file, 3, bytesOf("three"));
  ops.flush(file);
  ops.close(file);
  EXPECT_EQ(test::readBytes(dir / "a.dat"), bytesOf("onethree"));
  EXPECT_EQ(ops.count(FileOp::Write), 3u);
  EXPECT_EQ(ops.count(FileOp::Any), 6u);  // open, three writes, two flushes
}

TEST(FileOps, AShortWriteStoresHalfAndFails) {
  test::TempDir dir;
  FileOps ops;
  FileHandle file = ops.open(dir / "a.dat", OpenMode::ReadWriteCreate);
  ops.injectFault(FileOp::Any, 2, Failure::ShortWrite);
  EXPECT_THROW(ops.writeAt(file, 0, bytesOf("abcdefgh")), FileError);
  ops.close(file);
  EXPECT_EQ(test::readBytes(dir / "a.dat"), bytesOf("abcd"));
}

TEST(FileOps, AStopEndsTheProcessBeforeTheOperation) {
  test::TempDir dir;
  EXPECT_EXIT(
      {
        FileOps ops;
        ops.injectFault(FileOp::Rename, 1, Failure::Stop);
        test::writeText(dir / "a", "x");
        ops.rename(dir / "a", dir / "b");
      },
      ::testing::ExitedWithCode(FileOps::kStoppedExitCode), "");
  EXPECT_TRUE(std::filesystem::exists(dir / "a"));
  EXPECT_FALSE(std::filesystem::exists(dir / "b"));
}

TEST(FileOps, MakesMissingFoldersOneCountedOperationEach) {
  test::TempDir dir;
  FileOps ops;
  ops.makeDirectory(dir / "a");
  ops.resetCounts();
  ops.injectFault(FileOp::MakeDirectory, 2, Failure::IoError);
  EXPECT_THROW(ops.makeDirectories(dir / "a" / "b" / "c"), FileError);
  EXPECT_TRUE(ops.isDirectory(dir / "a" / "b"));
  EXPECT_FALSE(ops.isDirectory(dir / "a" / "b" / "c"));
  ops.makeDirectories(dir / "a" / "b" / "c");
  EXPECT_TRUE(ops.isDirectory(dir / "a" / "b" / "c"));
  EXPECT_EQ(ops.count(FileOp::MakeDirectory), 3u);
}

TEST(FileOps, ReportsMissingFilesAndFolders) {
  test::TempDir dir;
  FileOps ops;
  EXPECT_THROW(ops.open(dir / "missing.dat", OpenMode::ReadOnly), FileError);
  EXPECT_THROW(ops.open(dir / "no-folder" / "a.dat", OpenMode::ReadWriteCreate), FileError);
  EXPECT_THROW(ops.list(dir / "no-folder"), FileError);
  EXPECT_FALSE(ops.remove(dir / "missing.dat"));
}

TEST(FileOps, ListsSortedCopiesRenamesAndDeletes) {
  test::TempDir dir;
  FileOps ops;
  ops.writeFile(dir / "b.dat", bytesOf("bee"));
  ops.makeDirectory(dir / "sub");
  ops.copy(dir / "b.dat", dir / "a.dat");
  EXPECT_EQ(ops.list(dir.path()), (std::vector<std::string>{"a.dat", "b.dat", "sub"}));
  ops.rename(dir / "a.dat", dir / "sub" / "c.dat");
  EXPECT_EQ(ops.readFile(dir / "sub" / "c.dat"), bytesOf("bee"));
  EXPECT_TRUE(ops.remove(dir / "b.dat"));
  EXPECT_EQ(ops.list(dir.path()), std::vector<std::string>{"sub"});
}

}  // namespace
}  // namespace lum
