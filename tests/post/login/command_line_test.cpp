#include "post/login/command_line.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

TEST(CommandLine, AllFourFields) {
  const CommandLine line = parseCommandLine("5 x 2 3");
  EXPECT_EQ(line.operatorNumber, 5);
  EXPECT_EQ(line.ledgersNumber, 2);
  EXPECT_EQ(line.groupNumber, 3);
  EXPECT_EQ(line.systemDirectory, "..\\System\\Ent-3");
  EXPECT_TRUE(line.readsOperatorFile);
  EXPECT_EQ(line.helpFile, "c:\\orvlocal\\OrvCashBooks.chm");
  EXPECT_EQ(commandLineProblem(line, "5 x 2 3"), std::nullopt);
}

TEST(CommandLine, TheOperatorAloneOrNothing) {
  const CommandLine alone = parseCommandLine("7");
  EXPECT_EQ(alone.operatorNumber, 7);
  EXPECT_EQ(alone.groupNumber, 0);
  EXPECT_FALSE(alone.readsOperatorFile);
  EXPECT_EQ(alone.helpFile, "");
  EXPECT_EQ(alone.systemDirectory, "");

  const CommandLine none = parseCommandLine("");
  EXPECT_EQ(none.operatorNumber, 1);
  EXPECT_EQ(none.helpFile, "OrvCashBooks.chm");

  const CommandLine short3 = parseCommandLine("4 x 2");
  EXPECT_TRUE(short3.readsOperatorFile);
  EXPECT_EQ(short3.ledgersNumber, 0);
  EXPECT_EQ(short3.systemDirectory, "");
}

TEST(CommandLine, NonsenseIsRefusedWithAReason) {
  for (const char* text : {"abc", "-5 x 2 3", "0", "99999999999 x 0 1", "10000"}) {
    const auto problem = commandLineProblem(parseCommandLine(text), text);
    ASSERT_TRUE(problem) << text;
    EXPECT_NE(problem->find("names no operator"), std::string::npos) << *problem;
  }
  const auto group = commandLineProblem(parseCommandLine("5 x 2 70000"), "5 x 2 70000");
  ASSERT_TRUE(group);
  EXPECT_NE(group->find("names no group"), std::string::npos);
}

}  // namespace
}  // namespace lum
