#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace lum {

// A Prompter for tests and for the headless tool: questions take their
// answers from a script, plain messages are answered Ok, and every exchange
// is recorded so that tests can assert each text exactly. A question with
// no answer left in the script, or an answer its buttons do not offer,
// throws std::logic_error.
class ScriptedPrompter final : public Prompter {
 public:
  struct Exchange {
    Prompt prompt;  // for an input box: prompt.text is its prompt, buttons OkCancel
    bool isInput = false;
    Answer answer = Answer::Ok;
    std::optional<std::string> typed;  // what an input box returned
  };

  // The answer to the next question (a box with more than the Ok button).
  ScriptedPrompter& then(Answer answer);
  // The text typed into the next input box; nothing means Cancel.
  ScriptedPrompter& thenType(std::optional<std::string> text);

  Answer ask(const Prompt& prompt) override;
  std::optional<std::string> input(const InputPrompt& prompt) override;

  const std::vector<Exchange>& exchanges() const { return mExchanges; }
  // The text of every box shown so far, in order.
  std::vector<std::string> texts() const;
  bool scriptFinished() const { return mAnswers.empty() && mTyped.empty(); }
  void clear();

 private:
  std::deque<Answer> mAnswers;
  std::deque<std::optional<std::string>> mTyped;
  std::vector<Exchange> mExchanges;
};

}  // namespace lum
