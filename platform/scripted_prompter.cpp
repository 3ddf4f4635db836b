#include "platform/scripted_prompter.h"

#include <stdexcept>

namespace lum {
namespace {

bool offers(Buttons buttons, Answer answer) {
  switch (buttons) {
    case Buttons::Ok:
      return answer == Answer::Ok;
    case Buttons::OkCancel:
      return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo:
      return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
      return answer == Answer::Yes || answer == Answer::No || answer == Answer::Cancel;
  }
  return false;
}

}  // namespace

ScriptedPrompter& ScriptedPrompter::then(Answer answer) {
  mAnswers.push_back(answer);
  return *this;
}

ScriptedPrompter& ScriptedPrompter::thenType(std::optional<std::string> text) {
  mTyped.push_back(std::move(text));
  return *this;
}

Answer ScriptedPrompter::ask(const Prompt& prompt) {
  Answer answer = Answer::Ok;
  if (prompt.buttons != Buttons::Ok) {
    if (mAnswers.empty()) {
      throw std::logic_error("Unscripted question: " + prompt.text);
    }
    answer = mAnswers.front();
    mAnswers.pop_front();
    if (!offers(prompt.buttons, answer)) {
      throw std::logic_error("The scripted answer is not a button of: " + prompt.text);
    }
  }
  mExchanges.push_back(Exchange{prompt, false, answer, std::nullopt});
  return answer;
}

std::optional<std::string> ScriptedPrompter::input(const InputPrompt& prompt) {
  if (mTyped.empty()) {
    throw std::logic_error("Unscripted input box: " + prompt.prompt);
  }
  std::optional<std::string> typed = std::move(mTyped.front());
  mTyped.pop_front();
  mExchanges.push_back(
      Exchange{Prompt{prompt.prompt, Buttons::OkCancel, Icon::None, prompt.title, {}}, true,
               typed ? Answer::Ok : Answer::Cancel, typed});
  return typed;
}

std::vector<std::string> ScriptedPrompter::texts() const {
  std::vector<std::string> texts;
  for (const auto& exchange : mExchanges) {
    texts.push_back(exchange.prompt.text);
  }
  return texts;
}

void ScriptedPrompter::clear() {
  mAnswers.clear();
  mTyped.clear();
  mExchanges.clear();
}

}  // namespace lum
