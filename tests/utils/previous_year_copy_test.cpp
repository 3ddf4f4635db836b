#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "tests/support/test_support.h"
#include "tests/utils/utils_fixture.h"
#include "utils/storage.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::vector<std::byte>>;

constexpr const char* kFailed = "The current year could not be copied into the previous year.";
constexpr const char* kCutShort =
    "The last copy of the current year into the previous year was cut short; the previous year "
    "was put back as it was.";

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
  // What selecting the previous year finds.
  Files selectedAgain() {
    EXPECT_TRUE(storage.selectPreviousYear());
    EXPECT_TRUE(storage.selectCurrentYear());
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
// as it was, or, when only the deleting of the replaced files failed, the
// copy is whole once the folder is selected again.
TEST_F(PreviousYearCopy, AFailureAtAnyOperationLeavesThePreviousYearAsItWas) {
  const Files after = copied();
  int failures = 0;
  int failedOnlyInDeleting = 0;
  for (std::uint64_t operation = 1;; ++operation) {
    restore(before);
    parts.ops.resetCounts();
    parts.ops.injectFault(FileOp::Any, operation, Failure::IoError);
    const bool done = copy();
    const bool hit = parts.ops.count(FileOp::Any) >= operation;
    parts.ops.clearFaults();
    if (!hit) {
      EXPECT_TRUE(done);
      EXPECT_EQ(files(), after);
      break;
    }
    if (done) {
      ++failedOnlyInDeleting;
      EXPECT_EQ(selectedAgain(), after) << "failed at operation " << operation;
    } else {
      ++failures;
      EXPECT_EQ(files(), before) << "failed at operation " << operation;
      ASSERT_EQ(parts.prompter.texts().size(), 2u);
      const std::string told = parts.prompter.texts()[1];
      EXPECT_TRUE(told.starts_with(kFailed)) << told;
      EXPECT_TRUE(told.ends_with("\nThe previous year was left as it was.")) << told;
    }
    ASSERT_LT(operation, 500u);
  }
  EXPECT_GT(failures, 30);
  EXPECT_GT(failedOnlyInDeleting, 0);
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
    const Files found = selectedAgain();
    EXPECT_TRUE(found == before || found == after) << "cut at operation " << operation;
    if (found == before && !parts.prompter.texts().empty()) {
      EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{kCutShort});
      ++putBack;
    }
    ASSERT_LT(operation, 500u);
  }
  EXPECT_GT(putBack, 20);
  EXPECT_GT(cuts, putBack);  // the later cuts come after the copy was whole
}

TEST_F(PreviousYearCopy, WhenPuttingBackFailsTooTheNextSelectionDoesIt) {
  // The first new archive fails to go into place (rename 3, after the
  // marker's and the old archive's), then the first rename putting it back.
  parts.ops.resetCounts();
  parts.ops.injectFault(FileOp::Rename, 3, Failure::IoError);
  parts.ops.injectFault(FileOp::Rename, 4, Failure::IoError);
  EXPECT_FALSE(copy());
  parts.ops.clearFaults();
  ASSERT_EQ(parts.prompter.texts().size(), 2u);
  EXPECT_TRUE(parts.prompter.texts()[1].ends_with(
      "\nThe previous year will be put back as it was when it is next selected."))
      << parts.prompter.texts()[1];
  EXPECT_NE(files(), before);

  parts.prompter.clear();
  EXPECT_EQ(selectedAgain(), before);
  EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{kCutShort});
}

}  // namespace
}  // namespace lum
