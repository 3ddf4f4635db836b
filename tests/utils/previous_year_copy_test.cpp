#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "tests/support/test_support.h"
#include "tests/utils/utils_fixture.h"
#include "utils/storage.h"
#include "utils/work_area_change.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::vector<std::byte>>;

constexpr const char* kFailed = "The current year could not be copied into the previous year.";
constexpr const char* kNotTaken = "The work area cannot be taken";

// Three clients stored in the previous year, two others in the current one.
struct PreviousYearCopy : ::testing::Test {
  PreviousYearCopy() {
    parts.fillWorkArea();
    parts.session.start();
    EXPECT_TRUE(storage.selectPreviousYear());
    for (const char* name : {"Old One", "Old Two", "Old Three"}) {
      storeAs(name);
    }
    EXPECT_TRUE(storage.selectCurrentYear());
    storeAs("First");
    storeAs("Second");
    before = files();
  }

  void storeAs(const std::string& name) {
    parts.fillWorkArea(name, "");
    EXPECT_TRUE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk));
  }
  fs::path previous() const { return parts.store() / "PYear"; }
  // Every file of the previous-year folder with its bytes.
  Files files() const {
    Files found;
    for (const auto& entry : fs::directory_iterator(previous())) {
      found[entry.path().filename().string()] = test::readBytes(entry.path());
    }
    return found;
  }
  void restore(const Files& wanted) {
    fs::remove_all(previous());
    fs::create_directories(previous());
    for (const auto& [name, bytes] : wanted) {
      test::writeBytes(previous() / name, bytes);
    }
  }
  bool copy() {
    parts.prompter.clear();
    parts.prompter.then(Answer::Yes);
    return storage.transCurrentToPrevious();
  }
  // What the next opening of the work area finds.
  Files openedAgain() {
    WorkAreaChange::recoverAtStart(parts.session);
    return files();
  }
  Files copied() {
    EXPECT_TRUE(copy());
    const Files after = files();
    EXPECT_EQ(after.size(), 4u);  // LUM-1.Zip, LUM-2.Zip, the list and the count
    EXPECT_NE(after, before);
    restore(before);
    return after;
  }

  test::UtilsParts parts;
  Storage storage{parts.session};
  Files before;
};

// Each file operation of the copy fails in turn: the previous year is left
// as it was, and the user is told so.
TEST_F(PreviousYearCopy, AFailureAtAnyOperationLeavesThePreviousYearAsItWas) {
  const Files after = copied();
  int failures = 0;
  for (std::uint64_t operation = 1;; ++operation) {
    restore(before);
    parts.ops.resetCounts();
    parts.ops.injectFault(FileOp::Any, operation, Failure::IoError);
    const bool done = copy();
    const bool hit = parts.ops.count(FileOp::Any) >= operation;
    parts.ops.clearFaults();
    if (!hit || done) {
      // Past the last operation, or only in removing the copies once done.
      EXPECT_TRUE(done);
      EXPECT_EQ(files(), after) << "failed at operation " << operation;
      if (!hit) {
        break;
      }
      continue;
    }
    ++failures;
    EXPECT_EQ(files(), before) << "failed at operation " << operation;
    ASSERT_EQ(parts.prompter.texts().size(), 2u);
    const std::string told = parts.prompter.texts()[1];
    EXPECT_TRUE(
        told.starts_with(kNotTaken) ||
        (told.starts_with(kFailed) && told.ends_with("\nThe previous year was left as it was.")))
        << told;
    ASSERT_LT(operation, 1000u);
  }
  EXPECT_GT(failures, 30);
}

// The process dies at each file operation of the copy in turn; selecting the
// previous year then finds it as it was or as the copy left it.
TEST_F(PreviousYearCopy, ACutAtAnyOperationIsPutBackOrFinished) {
  const Files after = copied();
  int cuts = 0;
  int putBack = 0;
  for (std::uint64_t operation = 1;; ++operation) {
    restore(before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      parts.prompter.then(Answer::Yes);
      parts.ops.resetCounts();
      parts.ops.injectFault(FileOp::Any, operation, Failure::Stop);
      std::_Exit(storage.transCurrentToPrevious() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 0) {
      EXPECT_EQ(files(), after) << "the copy completed at operation " << operation;
      break;
    }
    ASSERT_EQ(WEXITSTATUS(status), FileOps::kStoppedExitCode);
    ++cuts;
    parts.prompter.clear();
    const Files found = openedAgain();
    EXPECT_TRUE(found == before || found == after) << "cut at operation " << operation;
    if (found == before && !parts.prompter.texts().empty()) {
      EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{WorkAreaChange::kPutBack});
      ++putBack;
    }
    ASSERT_LT(operation, 1000u);
  }
  EXPECT_GT(putBack, 20);
  EXPECT_GT(cuts, putBack);  // the later cuts come after the copy was whole
}

TEST_F(PreviousYearCopy, WhenPuttingBackFailsTooTheNextOpeningDoesIt) {
  // The second archive fails to be copied in (copy 4: each copy in follows
  // the copy that keeps the old file), then every try at putting it back.
  parts.ops.resetCounts();
  for (std::uint64_t copy = 4; copy <= 7; ++copy) {
    parts.ops.injectFault(FileOp::Copy, copy, Failure::IoError);
  }
  EXPECT_FALSE(copy());
  parts.ops.clearFaults();
  ASSERT_EQ(parts.prompter.texts().size(), 2u);
  EXPECT_TRUE(parts.prompter.texts()[1].ends_with(
      "\nThe previous year will be put back as it was when the work area is next opened."))
      << parts.prompter.texts()[1];
  EXPECT_NE(files(), before);

  parts.prompter.clear();
  EXPECT_EQ(openedAgain(), before);
  EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{WorkAreaChange::kPutBack});
}

}  // namespace
}  // namespace lum
