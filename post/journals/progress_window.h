#pragma once

#include <QWidget>

class QProgressBar;

namespace lum {

// The "Re Sorting Box" (window 14): a bar that fills as a long run goes on.
class ProgressWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  // Shows done out of total and lets the screen catch up.
  void setProgress(int done, int total);

 private:
  QProgressBar* mBar;
};

}  // namespace lum
