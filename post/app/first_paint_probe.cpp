#include "post/app/first_paint_probe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace lum {

FirstPaintProbe::FirstPaintProbe(QWidget& window, const char* name, std::function<void()> done)
    : QObject(&window), mName(name), mDone(std::move(done)) {
  window.installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Paint && !mSeen) {
    mSeen = true;
    // Told once the paint under way is done, not as it begins.
    QTimer::singleShot(0, this, [this] {
      const auto now = std::chrono::system_clock::now().time_since_epoch();
      std::fprintf(stderr, "first paint %s %lld\n", mName,
                   static_cast<long long>(
                       std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
      std::fflush(stderr);
      if (mDone) {
        mDone();
      }
    });
  }
  return false;
}

}  // namespace lum
