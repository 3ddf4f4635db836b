#pragma once

#include <string>
#include <vector>

#include "post/login/operator_rights.h"
#include "post/login/window_table.h"

namespace lum {

// What the main window shows besides its commands.
struct MainWindowState {
  std::string entityBanner;
  std::vector<std::string> gstPeriods;
  int selectedGstPeriod = 0;
  bool workingFromFloppy = false;
};

// The windows on screen, as the dispatch drives them. LumPost's main window
// implements it; tests use a recording fake.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Loads the window when needed, places it and shows it.
  virtual void showWindow(int index, WindowPosition position) = 0;
  virtual void unloadWindow(int index) = 0;
  // Unloads every child window (a peek starts the windows afresh).
  virtual void unloadAllWindows() = 0;
  virtual WindowPosition windowPosition(int index) const = 0;
  virtual void setWindowEnabled(int index, bool enabled) = 0;
  // Puts the keyboard focus back into the window.
  virtual void focusWindow(int index) = 0;
  virtual void applyCommandStates(const CommandStates& states) = 0;
  virtual void showMainWindowState(const MainWindowState& state) = 0;
  // Ends the program once the current event has been handled.
  virtual void endProgram() = 0;
  // Says in a line what a command has done (the status bar); nothing
  // where there is no screen.
  virtual void showStatus(const std::string& /*text*/) {}
};

// Windows that are never shown, for the headless front end and benchmarks.
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

}  // namespace lum
