#include "platform/record_file.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "tests/support/test_support.h"

namespace lum {
namespace {

std::vector<std::byte> record(char fill) {
  return std::vector<std::byte>(4, std::byte(fill));
}

TEST(RecordFile, CreatesMissingFilesAndReadsZerosPastTheEnd) {
  test::TempDir dir;
  FileOps ops;
  RecordFile file(ops, dir / "new.dat", 4);
  EXPECT_TRUE(std::filesystem::exists(dir / "new.dat"));
  EXPECT_EQ(file.recordCount(), 0);
  EXPECT_EQ(file.read(7), std::vector<std::byte>(4));

  file.write(3, record('c'));
  EXPECT_EQ(file.recordCount(), 3);
  EXPECT_EQ(file.read(1), std::vector<std::byte>(4));
  EXPECT_EQ(file.read(3), record('c'));
  file.close();
  EXPECT_EQ(test::readBytes(dir / "new.dat").size(), 12u);
}

TEST(RecordFile, WritesARunOfRecordsAtOnce) {
  test::TempDir dir;
  FileOps ops;
  RecordFile file(ops, dir / "run.dat", 4);
  std::vector<std::byte> run = record('a');
  const auto b = record('b');
  run.insert(run.end(), b.begin(), b.end());
  file.writeRecords(2, run);
  EXPECT_EQ(file.recordCount(), 3);
  EXPECT_EQ(file.read(2), record('a'));
  EXPECT_EQ(file.read(3), record('b'));
  run.pop_back();
  EXPECT_THROW(file.writeRecords(4, run), FormatError);
  EXPECT_THROW(file.writeRecords(0, b), FormatError);
}

// A block reader gives what read gives, record by record, in any order;
// the cut record at the end is found only when it is asked for.
TEST(RecordFile, ABlockReaderGivesWhatReadGives) {
  test::TempDir dir;
  FileOps ops;
  RecordFile file(ops, dir / "blocks.dat", 4);
  for (int r = 1; r <= 7; ++r) {
    file.write(r, record(static_cast<char>('a' + r)));
  }
  file.close();
  std::vector<std::byte> bytes = test::readBytes(dir / "blocks.dat");
  bytes.resize(bytes.size() - 2);  // record 7 cut in half
  test::writeBytes(dir / "blocks.dat", bytes);
  RecordFile cut(ops, dir / "blocks.dat", 4, RecordFile::Access::ReadOnly);

  RecordBlockReader reader(cut, 3);
  for (const int r : {1, 2, 3, 4, 6, 5, 1, 6}) {
    const auto got = reader.at(r);
    EXPECT_EQ(std::vector<std::byte>(got.begin(), got.end()), cut.read(r)) << "record " << r;
  }
  const auto past = reader.at(9);
  EXPECT_EQ(std::vector<std::byte>(past.begin(), past.end()), std::vector<std::byte>(4));
  EXPECT_THROW(reader.at(7), FormatError);
  EXPECT_THROW(cut.readRecords(5, 3), FormatError);
  EXPECT_EQ(cut.readRecords(8, 2), std::vector<std::byte>(8));
}

TEST(RecordFile, RefusesBadRecordNumbersSizesAndTruncatedRecords) {
  test::TempDir dir;
  FileOps ops;
  test::writeText(dir / "odd.dat", "abcdef");  // one record and half of another
  RecordFile file(ops, dir / "odd.dat", 4);
  EXPECT_EQ(file.recordCount(), 1);
  EXPECT_THROW(file.read(0), FormatError);
  EXPECT_THROW(file.read(-1), FormatError);
  EXPECT_THROW(file.write(0, record('x')), FormatError);
  EXPECT_THROW(file.read(INT64_MAX), FormatError);
  EXPECT_THROW(file.read(2), FormatError);
  EXPECT_THROW(file.write(1, std::vector<std::byte>(3)), FormatError);
  EXPECT_THROW(RecordFile(ops, dir / "none" / "a.dat", 4), FileError);
  file.close();
  EXPECT_THROW(file.read(1), FileError);
}

// Writes three records and flushes; every failure must reach the caller.
void scenario(FileOps& ops, const std::filesystem::path& path) {
  RecordFile file(ops, path, 4);
  file.write(1, record('a'));
  file.write(2, record('b'));
  file.write(3, record('c'));
  file.flush();
  file.close();
}

TEST(RecordFile, EveryFailedWriteReachesTheCaller) {
  for (const Failure failure : {Failure::NoSpace, Failure::IoError, Failure::ShortWrite}) {
    for (std::uint64_t k = 1; k <= 3; ++k) {
      test::TempDir dir;
      FileOps ops;
      ops.injectFault(FileOp::Write, k, failure);
      EXPECT_THROW(scenario(ops, dir / "a.dat"), FileError) << "write " << k;
      // What was written before the failure stays; nothing after it was written.
      EXPECT_LT(test::readBytes(dir / "a.dat").size(), 4 * k) << "write " << k;
    }
  }
  for (std::uint64_t k = 1; k <= 5; ++k) {  // open, three writes, flush
    test::TempDir dir;
    FileOps ops;
    ops.injectFault(FileOp::Any, k, Failure::IoError);
    EXPECT_THROW(scenario(ops, dir / "a.dat"), FileError) << "operation " << k;
  }
}

}  // namespace
}  // namespace lum
