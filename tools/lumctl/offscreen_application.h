#pragma once

#include <QGuiApplication>
#include <array>
#include <optional>

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
      mApp.emplace(mArgc, mArgv.data());
    }
  }

 private:
  int mArgc = 1;
  char mName[7] = "lumctl";
  std::array<char*, 2> mArgv{mName, nullptr};
  std::optional<QGuiApplication> mApp;
};

}  // namespace lum
