#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/work_area_transaction.h"
#include "post/journals/journal_files.h"
#include "tests/post/journals/journal_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class JournalSaveCrash : public ::testing::Test, protected test::JournalParts {
 protected:
  // The change every save in this test makes: text, amounts, totals, an
  // account, the budget, and a column deleted in the other periods.
  void change(Journal& journal) {
    journal.row(1).particulars = "Diesel";
    journal.am(1, 4) = Currency::fromCents(12000);
    journal.am(1, 6) = Currency::fromCents(12000);
    journal.am(0, 6) = Currency::fromCents(12000);
    journal.column(5).name = "Cash Sales";
    journal.budget.actualSales = Currency::fromCents(5500);
    journal.pendingColumnChanges = {-6};
  }

  void restore(const std::map<std::string, std::vector<std::byte>>& files) {
    for (const auto& entry : fs::directory_iterator(area())) {
      if (entry.is_regular_file() && entry.path().filename() != "LumPost.lck" &&
          files.count(entry.path().filename().string()) == 0) {
        fs::remove(entry.path());
      }
    }
    for (const auto& [name, bytes] : files) {
      test::writeBytes(area() / name, bytes);
    }
    fs::remove_all(area() / "Rollback");
  }
};

// The process dies at each file operation of a save in turn; every reopen
// must find the journal as it was before the save or as the save left it.
TEST_F(JournalSaveCrash, EveryCutLeavesTheOldOrTheNewJournal) {
  JournalFiles files(session, 1);
  const auto before = areaFiles();
  Journal journal = files.load();
  change(journal);
  files.save(journal);
  auto after = areaFiles();
  ASSERT_NE(after, before);

  int cuts = 0;
  for (std::uint64_t operation = 1;; ++operation) {
    restore(before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      Journal edited = files.load();
      change(edited);
      ops.resetCounts();
      ops.injectFault(FileOp::Any, operation, Failure::Stop);
      files.save(edited);
      std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 0) {
      EXPECT_EQ(areaFiles(), after) << "the save completed at operation " << operation;
      break;
    }
    ASSERT_EQ(WEXITSTATUS(status), FileOps::kStoppedExitCode);
    ++cuts;
    WorkAreaTransaction::recover(ops, area() / "Rollback");  // what opening the work area does
    const auto found = areaFiles();
    EXPECT_TRUE(found == before || found == after) << "cut at operation " << operation;
    ASSERT_LT(operation, 500u);
  }
  EXPECT_GT(cuts, 20);
}

}  // namespace
}  // namespace lum
