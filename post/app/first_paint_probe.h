#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace lum {

// Measures the program's start: at the first paint of a window, once it is
// drawn, writes "first paint NAME NANOSECONDS" on standard error (the time
// since the epoch, to be set against the moment the program was started),
// then calls done, if given.
class FirstPaintProbe : public QObject {
 public:
  FirstPaintProbe(QWidget& window, const char* name, std::function<void()> done = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const char* mName;
  std::function<void()> mDone;
  bool mSeen = false;
};

}  // namespace lum
