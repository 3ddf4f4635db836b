#include <gtest/gtest.h>

#include "post/journals/journal_files.h"
#include "tests/post/journals/journal_fixture.h"
#include "tests/support/crash_points.h"

namespace lum {
namespace {

class JournalSaveCrash : public ::testing::Test, protected test::JournalParts {
 protected:
  // The change every save in this test makes: text, amounts, totals, an
  // account, the budget, and a column deleted in the other periods.
  static void change(Journal& journal) {
    journal.row(1).particulars = "Diesel";
    journal.am(1, 4) = Currency::fromCents(12000);
    journal.am(1, 6) = Currency::fromCents(12000);
    journal.am(0, 6) = Currency::fromCents(12000);
    journal.column(5).name = "Cash Sales";
    journal.budget.actualSales = Currency::fromCents(5500);
    journal.pendingColumnChanges = {-6};
  }

  test::CutWriter writer() {
    return test::workAreaWriter(ops, area(), [this] {
      Journal edited = files.load();
      change(edited);
      files.save(edited);
    });
  }

  JournalFiles files{session, 1};
};

// The process dies at each file operation of a save in turn; every reopen
// must find the journal as it was before the save or as the save left it.
TEST_F(JournalSaveCrash, EveryCutLeavesTheOldOrTheNewJournal) {
  const test::CutOutcome outcome = test::stopAtEveryOperation(ops, writer());
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 20);
}

TEST_F(JournalSaveCrash, AFullDiskAtAnyOperationLeavesTheOldJournal) {
  const test::CutOutcome outcome = test::failAtEveryOperation(ops, Failure::NoSpace, writer());
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 20);
}

}  // namespace
}  // namespace lum
