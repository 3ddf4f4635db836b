#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/work_area_lock.h"

namespace lum {

// Waits with the event loop running, so windows repaint and the lock
// heartbeat goes on; the given window takes no input meanwhile.
class QtWaiter final : public Waiter {
 public:
  void setBusyWindow(QWidget* window) { mWindow = window; }
  void pause(std::chrono::milliseconds duration) override;

 private:
  QPointer<QWidget> mWindow;
};

}  // namespace lum
