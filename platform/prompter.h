#pragma once

#include <optional>
#include <string>

namespace lum {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Answer { Ok, Cancel, Yes, No };

// A message box: its text, buttons, icon and title (empty: the program's
// name), and the button Enter presses (nothing: the first).
struct Prompt {
  std::string text;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  std::string title;
  std::optional<Answer> defaultAnswer;
};

// An input box: prompt, title and the text it starts with.
struct InputPrompt {
  std::string prompt;
  std::string title;
  std::string initialText;
};

// Every word the programs say to the user, and every question they ask,
// goes through a Prompter: message boxes on screen, a script in tests.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // Shows the box and returns the button pressed (Ok for a plain message).
  virtual Answer ask(const Prompt& prompt) = 0;
  // Returns the text typed, or nothing when the user cancels.
  virtual std::optional<std::string> input(const InputPrompt& prompt) = 0;

  void message(std::string text, Icon icon = Icon::None, std::string title = {}) {
    ask(Prompt{std::move(text), Buttons::Ok, icon, std::move(title), {}});
  }
  bool yes(std::string text, Icon icon = Icon::Question, std::string title = {}) {
    return ask(Prompt{std::move(text), Buttons::YesNo, icon, std::move(title), {}}) == Answer::Yes;
  }
  // A question before something that cannot be taken back: Enter answers No.
  bool confirm(std::string text, Icon icon = Icon::Question, std::string title = {}) {
    return ask(Prompt{std::move(text), Buttons::YesNo, icon, std::move(title), Answer::No}) ==
           Answer::Yes;
  }
};

}  // namespace lum
