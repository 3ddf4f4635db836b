#include <gtest/gtest.h>

#include "platform/errors.h"
#include "tests/post/ledgers/ledgers_fixture.h"

namespace lum {
namespace {

// A transfer changes the work area (marks, the journal list, a cleared
// ratio) and the ledgers folder (entries, headers, comments, accounts,
// counters): cut anywhere, both must be as before or both as after, so that
// running it again never posts an amount twice.
class LedgersTransferCrash : public ::testing::Test, protected test::LedgersParts {
 protected:
  LedgersTransferCrash() {
    writeJournal(1, {{"Sales", "Y", "S", 0, 0, 201}, {"Interest", "N", "I", 0, 0, 210}},
                 {{"Y", {11000, 0}, "01/08/05", "i31", "Harbour Cafe"},
                  {"N", {0, 5000}, "02/08/05", "7", "Bank interest"}});
    writeJournal(2, {{"Phone", "Y", "E", 0, 1.5f, 412}},
                 {{"Y", {2200}, "07/08/05", "12", "Phone bill"}});
  }

  test::CutWriter writer() {
    const test::CutWriter area = test::workAreaWriter(ops, this->area(), [this] {
      prompter.clear();
      prompter.then(Answer::Yes);
      if (!transfer()) {  // told, with every file put back
        throw FileError("transfer", ledgers(), prompter.texts().back());
      }
    });
    const test::CutWriter ledgers = test::workAreaWriter(ops, this->ledgers(), {});
    return {[area, ledgers] {
              area.reset();
              ledgers.reset();
            },
            area.write, area.recover, [this] { return bothTrees(); }};
  }
};

TEST_F(LedgersTransferCrash, EveryCutLeavesBothTreesBeforeOrBothAfter) {
  const test::CutOutcome outcome = test::stopAtEveryOperation(ops, writer());
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 20);
}

TEST_F(LedgersTransferCrash, AFailureAtAnyOperationLeavesBothTreesAsBefore) {
  for (const Failure failure : {Failure::NoSpace, Failure::ShortWrite}) {
    const test::CutOutcome outcome = test::failAtEveryOperation(ops, failure, writer());
    EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
    EXPECT_GT(outcome.cuts, 20);
  }
}

}  // namespace
}  // namespace lum
