#include "post/journals/account_transfer.h"

#include <gtest/gtest.h>

#include "platform/work_area_transaction.h"
#include "tests/post/journals/journal_fixture.h"
#include "tests/support/crash_points.h"
#include "tests/support/records.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// Journal 1 has the Sales and Fuel accounts with exempt ratios and BAS
// labels; journal 2 has accounts of its own.
class AccountTransferTest : public ::testing::Test, protected test::JournalParts {
 protected:
  AccountTransferTest() {
    test::writeBytes(area() / "Ax010001.dat",
                     test::Bytes().float32(3).float32(0.5F).float32(4).float32(0.25F));
    test::writeBytes(area() / "An020001.dat",
                     test::Bytes().text("Wages", 23).text("N", 1).text("W", 1).zeros(10));
    test::writeBytes(area() / "Ax020001.dat", test::Bytes().float32(9).float32(0));
  }
};

TEST_F(AccountTransferTest, AJournalTakesTheAccountsOfAnotherOrOfATemplate) {
  ASSERT_TRUE(transferAccountNames(session, 2, 1, std::nullopt));
  EXPECT_EQ(test::readBytes(area() / "An020001.dat"), test::readBytes(area() / "An010001.dat"));
  EXPECT_EQ(test::readBytes(area() / "Ax020001.dat"), test::readBytes(area() / "Ax010001.dat"));

  const std::vector<std::byte> petty =
      test::Bytes().text("Postage", 23).text("Y", 1).text("E", 1).zeros(10);
  test::writeBytes(prog() / "Anlpch.dat", petty);
  ASSERT_TRUE(transferAccountNames(session, 2, 0, AccountsTemplate::PettyCash));
  EXPECT_EQ(test::readBytes(area() / "An020001.dat"), petty);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{});
}

TEST_F(AccountTransferTest, WhatCannotBeTransferredIsToldAndChangesNothing) {
  const auto before = areaFiles();
  EXPECT_FALSE(transferAccountNames(session, 2, 3, std::nullopt));
  EXPECT_FALSE(transferAccountNames(session, 2, 2, std::nullopt));
  EXPECT_FALSE(transferAccountNames(session, 2, 0, std::nullopt));
  EXPECT_FALSE(transferAccountNames(session, 2, 0, AccountsTemplate::Bank));
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{
                "There is no journal 3: the entity has 2.  Nothing was transferred.",
                "A journal cannot take the account names of itself.",
                "Choose the template to transfer the account names from, or enter a journal "
                "number.",
                "The account names template Anljnl.dat cannot be found.  Nothing was "
                "transferred."}));
  EXPECT_EQ(areaFiles(), before);
}

TEST_F(AccountTransferTest, ClearingTheExemptRatiosKeepsTheBasLabels) {
  prompter.then(Answer::No);
  EXPECT_FALSE(clearExemptRatios(session));
  EXPECT_EQ(test::recordOf<AnalysisExtraRecord>(area() / "Ax010001.dat", 1).exemptRatio, 0.5F);
  prompter.then(Answer::Yes);
  ASSERT_TRUE(clearExemptRatios(session));
  EXPECT_EQ(prompter.texts().back(),
            "The GST exempt ratios of every account of Takings Book will be set to 0.  Are you "
            "sure?");
  for (int account = 1; account <= 2; ++account) {
    const auto extra = test::recordOf<AnalysisExtraRecord>(area() / "Ax010001.dat", account);
    EXPECT_EQ(extra.exemptRatio, 0.0F);
    EXPECT_EQ(extra.basClassification, account == 1 ? 3.0F : 4.0F);
  }
}

// The process dies at each file operation of a transfer in turn: the
// journal keeps its own accounts or has all of the other's.
TEST_F(AccountTransferTest, EveryCutLeavesTheOldOrTheNewAccounts) {
  const auto before = areaFiles();
  const test::CutOutcome outcome = test::stopAtEveryOperation(
      ops, {[this, before] {
              for (const auto& [name, bytes] : before) {
                test::writeBytes(area() / name, bytes);
              }
            },
            [this] { transferAccountNames(session, 2, 1, std::nullopt); },
            [this] { WorkAreaTransaction::recover(ops, area() / "Rollback"); },
            [this] { return test::treeFiles(area(), {"LumPost.lck"}); }});
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 4);
}

}  // namespace
}  // namespace lum
