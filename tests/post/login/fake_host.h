#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/work_area_lock.h"
#include "post/login/window_host.h"

namespace lum::test {

// Records what the dispatch asks of the windows.
class FakeHost final : public WindowHost {
 public:
  void showWindow(int index, WindowPosition position) override {
    shown.push_back(index);
    positions[index] = position;
    enabled[index] = true;
  }
  void unloadWindow(int index) override { unloaded.push_back(index); }
  void unloadAllWindows() override { ++unloadAllCount; }
  WindowPosition windowPosition(int index) const override {
    const auto it = positions.find(index);
    return it == positions.end() ? WindowPosition{} : it->second;
  }
  void setWindowEnabled(int index, bool on) override { enabled[index] = on; }
  void focusWindow(int index) override { focused = index; }
  void applyCommandStates(const CommandStates& states) override { commands = states; }
  void showMainWindowState(const MainWindowState& state) override { mainWindow = state; }
  void endProgram() override { ended = true; }

  std::vector<int> shown;
  std::vector<int> unloaded;
  int unloadAllCount = 0;
  std::map<int, WindowPosition> positions;
  std::map<int, bool> enabled;
  std::optional<int> focused;
  CommandStates commands;
  MainWindowState mainWindow;
  bool ended = false;
};

// Moves a fixed clock on instead of waiting, and lets a test act while the
// probe waits (another copy's heartbeat).
class FakeWaiter final : public Waiter {
 public:
  explicit FakeWaiter(FixedClock& clock) : mClock(clock) {}
  void pause(std::chrono::milliseconds duration) override {
    mClock.advance(duration);
    ++pauses;
    if (duringWait) {
      duringWait();
    }
  }

  std::function<void()> duringWait;
  int pauses = 0;

 private:
  FixedClock& mClock;
};

}  // namespace lum::test
