#include <gtest/gtest.h>

#include "platform/work_area_transaction.h"
#include "post/ledgers/ledgers_transfer.h"
#include "tests/post/ledgers/ledgers_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class LedgersTransferCut : public ::testing::Test, protected test::LedgersParts {};

// The process dies at each file operation of a transfer in turn: once the
// work area is opened again, the work area and the ledgers files are both
// as before the transfer, or both as after it.
TEST_F(LedgersTransferCut, EveryCutLeavesBothTreesOldOrBothNew) {
  writeJournal(1, {{"Sales", "Y", "S", 0, 0, 201}, {"Motor", "Y", "E", 0, 1.5f, 407}},
               {{"Y", {11000, 0}, "01/08/05", "31", "Harbour Cafe"},
                {"Y", {0, 2200}, "02/08/05", "9", "Fuel"}});
  const test::TreeFiles before = bothTrees();
  const auto pathOf = [this](const std::string& name) {
    return name.rfind("GLed/", 0) == 0 ? dir / name : area() / name;
  };
  const test::CutOutcome outcome = test::stopAtEveryOperation(
      ops, {[&] {
              fs::remove_all(session.rollbackFolder());
              for (const auto& [name, bytes] : bothTrees()) {
                if (name.back() != '/' && before.count(name) == 0) {
                  fs::remove(pathOf(name));
                }
              }
              for (const auto& [name, bytes] : before) {
                if (name.back() != '/') {
                  test::writeBytes(pathOf(name), bytes);
                }
              }
            },
            [this] {
              prompter.clear();
              prompter.then(Answer::Yes);
              if (!transfer()) {
                throw std::runtime_error("the transfer refused");
              }
            },
            [this] { WorkAreaTransaction::recover(ops, session.rollbackFolder()); },
            [this] { return bothTrees(); }});
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 10);
}

}  // namespace
}  // namespace lum
