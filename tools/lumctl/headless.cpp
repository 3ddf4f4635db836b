#include "tools/lumctl/headless.h"

#include <ostream>
#include <thread>

namespace lum {

Answer StreamPrompter::ask(const Prompt& prompt) {
  mErr << "lumctl: " << prompt.text << '\n';
  switch (prompt.buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

std::optional<std::string> StreamPrompter::input(const InputPrompt& prompt) {
  mErr << "lumctl: " << prompt.prompt << '\n';
  return std::nullopt;
}

void SleepingWaiter::pause(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

}  // namespace lum
