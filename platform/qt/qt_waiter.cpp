#include "platform/qt/qt_waiter.h"

#include <QEventLoop>
#include <QTimer>

namespace lum {

void QtWaiter::pause(std::chrono::milliseconds duration) {
  const bool wasEnabled = mWindow && mWindow->isEnabled();
  if (wasEnabled) {
    mWindow->setEnabled(false);
  }
  QEventLoop loop;
  QTimer::singleShot(duration, &loop, &QEventLoop::quit);
  loop.exec();
  if (wasEnabled && mWindow) {
    mWindow->setEnabled(true);
  }
}

}  // namespace lum
