#include "post/journals/progress_window.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>

namespace lum {

ProgressWindow::ProgressWindow(QWidget* parent) : QWidget(parent), mBar(new QProgressBar(this)) {
  mBar->setObjectName("picProgress");
  mBar->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mBar);
  setMinimumWidth(360);
}

void ProgressWindow::setProgress(int done, int total) {
  mBar->setMaximum(std::max(total, 1));
  mBar->setValue(std::clamp(done, 0, std::max(total, 1)));
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace lum
