#include "post/journals/journal_files.h"

#include <gtest/gtest.h>

#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "tests/post/journals/journal_fixture.h"
#include "tests/support/records.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class JournalFilesTest : public ::testing::Test, protected test::JournalParts {
 protected:
  JournalFiles files{session, 1};
};

Currency dollars(long long value) {
  return Currency::fromCents(value * 100);
}

TEST_F(JournalFilesTest, LoadsRowsAmountsColumnsAndTotals) {
  const Journal journal = files.load();
  EXPECT_EQ(journal.lastFixedColumn(), 4);
  EXPECT_EQ(journal.rowsInUse, 2);
  EXPECT_EQ(journal.lastColumnInUse, 6);
  EXPECT_EQ(journal.row(1).particulars, "Fuel");
  EXPECT_EQ(journal.row(2).date, "04/08/05");
  EXPECT_EQ(journal.am(1, 4), dollars(110));
  EXPECT_EQ(journal.am(1, 6), dollars(110));
  EXPECT_EQ(journal.am(1, 1), Currency());  // record 1's counts are no amounts
  EXPECT_EQ(journal.am(2, 5), dollars(-55));
  EXPECT_EQ(journal.am(1, 0), Currency());  // balanced rows
  EXPECT_EQ(journal.am(0, 5), dollars(-55));
  EXPECT_EQ(journal.am(0, 6), dollars(110));
  EXPECT_EQ(journal.column(5).name, "Sales");
  EXPECT_EQ(journal.column(5).accountType, "S");
  EXPECT_EQ(journal.column(6).ledgersAccount, 407);
}

TEST_F(JournalFilesTest, SavingWritesTheSameLayoutBack) {
  const auto before = areaFiles();
  Journal journal = files.load();
  journal.row(2).particulars = "Cash Sales";
  journal.am(2, 4) = dollars(-60);
  journal.am(2, 5) = dollars(-60);
  journal.am(0, 5) = dollars(-60);
  journal.rowsInUse = 2;
  journal.budget.actualSales = dollars(60);
  files.save(journal);

  const fs::path a = area() / "AI010001.dat";
  const auto header = test::recordOf<AmountsRecord>(a, 1);
  EXPECT_EQ(header.amounts[0], dollars(9));  // never touched
  EXPECT_EQ(header.amounts[1], dollars(2));
  EXPECT_EQ(header.amounts[2], dollars(6));
  EXPECT_EQ(header.amounts[4], dollars(110));
  EXPECT_EQ(test::recordOf<AmountsRecord>(a, 2).amounts[4], dollars(-60));
  EXPECT_EQ(test::recordOf<TransactionRecord>(area() / "DI010001.dat", 2).particulars,
            "Cash Sales");
  EXPECT_EQ(test::recordOf<ColumnTotalRecord>(area() / "GI010001.dat", 1).total, dollars(-60));
  EXPECT_EQ(fs::file_size(area() / "GI010001.dat"), 96u * 8);
  EXPECT_EQ(test::recordOf<AnalysisAccountRecord>(area() / "An010001.dat", 2).name, "Fuel");
  // The September quarter is budget month 3.
  EXPECT_EQ(test::recordOf<BudgetRecord>(area() / "Bdg-0001.dat", 1).actualSales[3], dollars(60));
  // The other period is untouched, and no rollback is left behind.
  EXPECT_EQ(test::readBytes(area() / "AF010001.dat"), before.at("AF010001.dat"));
  EXPECT_FALSE(fs::exists(area() / "Rollback" / "marker"));

  const Journal again = files.load();
  EXPECT_EQ(again.row(2).particulars, "Cash Sales");
  EXPECT_EQ(again.am(2, 0), Currency());
}

TEST_F(JournalFilesTest, DamagedCountsAndShortFilesAreCutToTheModel) {
  test::writeBytes(area() / "AI010001.dat",
                   JournalParts::amounts({{0, 65000, 300, 0, 1}, {0, 0, 0, 0, 2}}));
  const auto before = areaFiles();
  const Journal journal = files.load();
  EXPECT_EQ(journal.rowsInUse, Journal::kMaxRows);
  EXPECT_EQ(journal.lastColumnInUse, Journal::kMaxColumn);
  EXPECT_EQ(journal.am(2, 4), dollars(2));
  EXPECT_EQ(journal.row(3).date, "");  // the D file ends after row 2
  EXPECT_EQ(journal.am(3, 4), Currency());
  EXPECT_EQ(areaFiles(), before);  // loading writes nothing

  test::writeBytes(area() / "AI010001.dat", JournalParts::amounts({{0, -5, -1}}));
  const Journal negative = files.load();
  EXPECT_EQ(negative.rowsInUse, 0);
  EXPECT_EQ(negative.lastColumnInUse, 0);
}

TEST_F(JournalFilesTest, ColumnChangesFollowInTheOtherPeriods) {
  Journal journal = files.load();
  journal.pendingColumnChanges = {-6};  // the second analysis column went
  files.save(journal);
  const auto deleted = test::recordOf<AmountsRecord>(area() / "AF010001.dat", 1);
  EXPECT_EQ(deleted.amounts[5], dollars(10));
  EXPECT_EQ(deleted.amounts[6], dollars(5));
  EXPECT_EQ(deleted.amounts[7], Currency());
  EXPECT_EQ(deleted.amounts[2], dollars(6));  // last column in use
  EXPECT_EQ(test::recordOf<ColumnTotalRecord>(area() / "GF010001.dat", 2).total, dollars(5));
  EXPECT_EQ(test::recordOf<ColumnTotalRecord>(area() / "GF010001.dat", 3).total, Currency());
  EXPECT_TRUE(journal.pendingColumnChanges.empty());
  // Periods that never had files get none.
  EXPECT_FALSE(fs::exists(area() / "AC010001.dat"));
  EXPECT_FALSE(fs::exists(area() / "GO010001.dat"));

  journal.pendingColumnChanges = {5};  // a column inserted before the first analysis column
  files.save(journal);
  const auto inserted = test::recordOf<AmountsRecord>(area() / "AF010001.dat", 1);
  EXPECT_EQ(inserted.amounts[5], Currency());
  EXPECT_EQ(inserted.amounts[6], dollars(10));
  EXPECT_EQ(inserted.amounts[7], dollars(5));
  EXPECT_EQ(inserted.amounts[2], dollars(7));
  EXPECT_EQ(test::recordOf<ColumnTotalRecord>(area() / "GF010001.dat", 1).total, Currency());
  EXPECT_EQ(test::recordOf<ColumnTotalRecord>(area() / "GF010001.dat", 2).total, dollars(10));
}

TEST_F(JournalFilesTest, AbandoningPutsBackTheFilesAsTheyWereOpened) {
  const auto before = areaFiles();
  files.takeSnapshots();
  for (const char* snapshot : {"AnTemp", "DTemp", "ATemp", "GTemp", "Bdg-Temp"}) {
    EXPECT_TRUE(fs::exists(area() / snapshot)) << snapshot;
  }
  EXPECT_FALSE(fs::exists(area() / "AxTemp"));  // the journal has no Ax file
  Journal journal = files.load();
  journal.row(1).particulars = "Changed";
  files.save(journal);  // an autosave
  files.restoreSnapshots();
  files.dropSnapshots();
  EXPECT_TRUE(areaFiles() == before);
}

TEST_F(JournalFilesTest, APeriodNeverUsedGetsNoFilesUntilASaveAndLosesThemOnAbandon) {
  session.login.periodLetter = 'C';
  JournalFiles march(session, 1);
  const auto before = areaFiles();
  march.takeSnapshots();
  Journal journal = march.load();
  for (const char* name : {"DC010001.dat", "AC010001.dat", "GC010001.dat"}) {
    EXPECT_FALSE(fs::exists(area() / name)) << name;
  }
  journal.row(1).particulars = "Changed";
  journal.rowsInUse = 1;
  march.save(journal);  // an autosave
  EXPECT_TRUE(fs::exists(area() / "DC010001.dat"));
  march.restoreSnapshots();
  march.dropSnapshots();
  EXPECT_TRUE(areaFiles() == before);
}

}  // namespace
}  // namespace lum
