#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/prompter.h"
#include "post/login/window_host.h"
#include "post/login/work_area_lock.h"

namespace lum {

// lumctl has no screen: messages go to the error stream, questions take
// their default way out (No, Cancel), input boxes are cancelled.
class StreamPrompter final : public Prompter {
 public:
  explicit StreamPrompter(std::ostream& err) : mErr(err) {}
  Answer ask(const Prompt& prompt) override;
  std::optional<std::string> input(const InputPrompt& prompt) override;

 private:
  std::ostream& mErr;
};

// Windows that are never shown.
class NoWindows final : public WindowHost {
 public:
  void showWindow(int, WindowPosition) override {}
  void unloadWindow(int) override {}
  void unloadAllWindows() override {}
  WindowPosition windowPosition(int) const override { return {}; }
  void setWindowEnabled(int, bool) override {}
  void focusWindow(int) override {}
  void applyCommandStates(const CommandStates&) override {}
  void showMainWindowState(const MainWindowState&) override {}
  void endProgram() override {}
};

// Waits by sleeping.
class SleepingWaiter final : public Waiter {
 public:
  void pause(std::chrono::milliseconds duration) override;
};

}  // namespace lum
