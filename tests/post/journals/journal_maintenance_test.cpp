#include "post/journals/journal_maintenance.h"

#include <gtest/gtest.h>

#include "platform/work_area_transaction.h"
#include "post/journals/open_journal.h"
#include "tests/post/journals/journal_fixture.h"
#include "tests/support/crash_points.h"
#include "tests/support/records.h"

namespace lum {
namespace {

// Journal 1 of the September quarter: row 1 "Fuel" of 03/08/05 (110.00 in
// the Fuel column), row 2 "Sales" of 04/08/05 (-55.00 in the Sales column).
class JournalMaintenanceTest : public ::testing::Test, protected test::JournalParts {
 protected:
  Date day(int d) const { return *Date::fromYmd(2005, 8, d); }
  Journal loaded() { return JournalFiles(session, 1).load(); }

  // A third row in the files, past the rows in use.
  void hideAThirdRow() {
    auto lines = test::readBytes(area() / "DI010001.dat");
    const std::vector<std::byte> third =
        test::Bytes().text("05/08/05", 8).text("Hidden", 46).text("", 5).text("N", 1).int16(0);
    lines.insert(lines.end(), third.begin(), third.end());
    test::writeBytes(area() / "DI010001.dat", lines);
    auto matrix = test::readBytes(area() / "AI010001.dat");
    const std::vector<std::byte> row3 = amounts({{0, 0, 0, 0, 7, 0, 7}});
    matrix.insert(matrix.end(), row3.begin(), row3.end());
    test::writeBytes(area() / "AI010001.dat", matrix);
  }
};

TEST_F(JournalMaintenanceTest, CountsKeepWhatIsLeftEmptyAndRefuseWhatTheJournalCannotHold) {
  prompter.thenType("").thenType(std::nullopt);
  EXPECT_EQ(askJournalCounts(prompter, {2, 6}), (JournalCounts{2, 6}));
  ASSERT_EQ(prompter.texts(), (std::vector<std::string>{"Current Row Count is 2 Enter Row Count",
                                                        "Current Col Count is 6 Enter Col Count"}));

  prompter.clear();
  prompter.thenType(" 12 ").thenType("100");
  EXPECT_EQ(askJournalCounts(prompter, {2, 6}), (JournalCounts{12, 100}));

  for (const char* bad : {"-5", "70000", "abc", "2001"}) {
    prompter.clear();
    prompter.thenType(bad);
    EXPECT_EQ(askJournalCounts(prompter, {2, 6}), std::nullopt) << bad;
    EXPECT_EQ(prompter.texts().back(),
              std::string("\"") + bad +
                  "\" is not a row count: it must be a whole number from 0 to 2000.  The counts "
                  "stay as they were.");
  }
  prompter.clear();
  prompter.thenType("").thenType("101");
  EXPECT_EQ(askJournalCounts(prompter, {2, 6}), std::nullopt);
  EXPECT_EQ(prompter.texts().back(),
            "\"101\" is not a column count: it must be a whole number from 0 to 100.  The counts "
            "stay as they were.");
}

// A row the counter left out of sight comes back once the count is raised;
// a refused count changes no file.
TEST_F(JournalMaintenanceTest, RaisingTheRowCountBringsBackARowTheCounterHid) {
  hideAThirdRow();
  OpenJournal journal(session);
  ASSERT_EQ(journal.journal().rowsInUse, 2);
  const auto before = areaFiles();
  prompter.thenType("70000");
  EXPECT_FALSE(journal.fixCounts());
  EXPECT_EQ(areaFiles(), before);

  prompter.thenType("3").thenType("");
  EXPECT_TRUE(journal.fixCounts());
  EXPECT_EQ(journal.journal().rowsInUse, 3);
  EXPECT_EQ(journal.journal().row(3).particulars, "Hidden");
  EXPECT_EQ(journal.journal().am(3, 6), Currency::fromCents(700));
  EXPECT_EQ(storedCounts(journal.files()), (JournalCounts{3, 6}));
  journal.close();
}

// Rows dated on the date itself stay; the totals follow the rows kept.
TEST_F(JournalMaintenanceTest, DeletingBeforeADateKeepsTheRowsOfThatDayAndRebuildsTheTotals) {
  Journal journal = loaded();
  EXPECT_EQ(deleteRowsBefore(journal, day(4), clock), 1);
  EXPECT_EQ(journal.rowsInUse, 1);
  EXPECT_EQ(journal.row(1).particulars, "Sales");
  EXPECT_EQ(journal.am(1, 5), Currency::fromCents(-5500));
  EXPECT_EQ(journal.am(0, 5), Currency::fromCents(-5500));
  EXPECT_EQ(journal.am(0, 6), Currency());
  EXPECT_EQ(journal.row(2).particulars, "");
  EXPECT_EQ(journal.am(2, 4), Currency());

  Journal undated = loaded();
  undated.row(1).date = "";
  EXPECT_EQ(deleteRowsBefore(undated, day(31), clock), 0);
  EXPECT_EQ(undated.rowsInUse, 2);
  EXPECT_EQ(undated.row(2).particulars, "Sales");
}

TEST_F(JournalMaintenanceTest, DeletingAfterADateRemovesTheTrailingRows) {
  Journal journal = loaded();
  EXPECT_EQ(deleteRowsAfter(journal, day(4), clock), 0);
  EXPECT_EQ(deleteRowsAfter(journal, day(3), clock), 1);
  EXPECT_EQ(journal.rowsInUse, 1);
  EXPECT_EQ(journal.row(1).particulars, "Fuel");
  EXPECT_EQ(journal.am(0, 5), Currency());
  EXPECT_EQ(journal.am(0, 6), Currency::fromCents(11000));
}

// The questions as the user sees them; No, a cancelled box and a text that
// is no date delete nothing. The save then writes what is left.
TEST_F(JournalMaintenanceTest, TheDeletionsAskFirstAndTheSaveWritesThem) {
  OpenJournal open(session);
  prompter.thenType("3/8/05").then(Answer::No);
  EXPECT_FALSE(open.deleteRowsAfter());
  prompter.thenType(std::nullopt);
  EXPECT_FALSE(open.deleteRowsAfter());
  prompter.thenType("abc");
  EXPECT_FALSE(open.deleteRowsBefore());
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{
                "Enter the ending date.  Any rows post to this date will be deleted",
                "All Rows post to 03/08/05 will be deleted & compacted.  Are you sure? ",
                "Enter the ending date.  Any rows post to this date will be deleted",
                "Enter the starting date.  Any rows prior to this date will be deleted",
                "\"abc\" is not a date.  No rows were deleted."}));
  EXPECT_EQ(open.journal().rowsInUse, 2);

  prompter.clear();
  prompter.thenType("4/8/05").then(Answer::Yes);
  EXPECT_TRUE(open.deleteRowsBefore());
  EXPECT_EQ(prompter.texts().at(1),
            "All Rows prior to 04/08/05 will be deleted & compacted.  Are you sure? ");
  open.saveAndKeepEditing();
  open.close();
  EXPECT_EQ(test::recordOf<TransactionRecord>(area() / "DI010001.dat", 1).particulars, "Sales");
  EXPECT_EQ(loaded().rowsInUse, 1);
}

// The process dies at each file operation of a new count in turn: the
// journal keeps its old counts or has the new ones, never half of them.
TEST_F(JournalMaintenanceTest, EveryCutOfANewCountLeavesTheOldOrTheNewJournal) {
  hideAThirdRow();
  test::writeBytes(area() / "Bdg-0001.dat", BudgetRecord{}.encode());
  const auto before = areaFiles();
  // The copies the journal takes when it opens are not the journal.
  const std::set<std::string> copies = {"LumPost.lck", "AnTemp", "AxTemp",  "DTemp",
                                        "ATemp",       "GTemp",  "Bdg-Temp"};
  const test::CutOutcome outcome = test::stopAtEveryOperation(
      ops,
      {[this, before] {
         for (const auto& entry : std::filesystem::directory_iterator(area())) {
           if (entry.is_regular_file() && before.count(entry.path().filename().string()) == 0) {
             std::filesystem::remove(entry.path());
           }
         }
         for (const auto& [name, bytes] : before) {
           test::writeBytes(area() / name, bytes);
         }
       },
       [this] {
         prompter.clear();
         prompter.thenType("3").thenType("");
         OpenJournal journal(session);
         journal.journal().row(1).particulars = "Diesel";  // typed, not yet saved
         journal.fixCounts();
         journal.close();
       },
       [this] { WorkAreaTransaction::recover(ops, area() / "Rollback"); },
       [this, copies] { return test::treeFiles(area(), copies); }});
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 10);
}

}  // namespace
}  // namespace lum
