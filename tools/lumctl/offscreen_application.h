#pragma once

#include <QGuiApplication>
#include <array>
#include <optional>

#include "tools/lumctl/private_folder.h"

namespace lum {

// Fonts and PDF need a Qt application; lumctl has no screen, so it makes
// one that draws off screen for as long as the command runs.
class OffscreenApplication {
 public:
  OffscreenApplication() {
    if (QCoreApplication::instance() == nullptr) {
      if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
      }
      // Qt wants a runtime folder of the user's own and complains on the
      // error stream without one: a private one serves for the command.
      if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        mRuntime.emplace();
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(mRuntime->path().string()));
      }
      mApp.emplace(mArgc, mArgv.data());
    }
  }
  ~OffscreenApplication() {
    mApp.reset();
    if (mRuntime) {
      qunsetenv("XDG_RUNTIME_DIR");
    }
  }
  OffscreenApplication(const OffscreenApplication&) = delete;
  OffscreenApplication& operator=(const OffscreenApplication&) = delete;

 private:
  int mArgc = 1;
  char mName[7] = "lumctl";
  std::array<char*, 2> mArgv{mName, nullptr};
  std::optional<PrivateFolder> mRuntime;
  std::optional<QGuiApplication> mApp;
};

}  // namespace lum
