#include "platform/scripted_prompter.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace lum {
namespace {

TEST(ScriptedPrompter, AnswersFromTheScriptAndRecordsEveryBox) {
  ScriptedPrompter prompter;
  prompter.then(Answer::No).thenType("7").thenType(std::nullopt);
  prompter.message("Saved");
  EXPECT_FALSE(prompter.yes("Proceed?"));
  EXPECT_EQ(prompter.input({"Enter operator number", "Operator Peek", ""}), "7");
  EXPECT_EQ(prompter.input({"Again", "Operator Peek", ""}), std::nullopt);
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"Saved", "Proceed?", "Enter operator number", "Again"}));
  EXPECT_EQ(prompter.exchanges()[1].prompt.buttons, Buttons::YesNo);
  EXPECT_EQ(prompter.exchanges()[2].prompt.title, "Operator Peek");
  EXPECT_EQ(prompter.exchanges()[3].answer, Answer::Cancel);
  EXPECT_TRUE(prompter.scriptFinished());
}

TEST(ScriptedPrompter, AnUnscriptedOrImpossibleAnswerFailsTheTest) {
  ScriptedPrompter prompter;
  EXPECT_THROW(prompter.yes("Unexpected?"), std::logic_error);
  EXPECT_THROW(prompter.input({"Unexpected", "", ""}), std::logic_error);
  prompter.then(Answer::Cancel);
  EXPECT_THROW(prompter.yes("Yes or no?"), std::logic_error);
}

}  // namespace
}  // namespace lum
