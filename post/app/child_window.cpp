#include "post/app/child_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace lum {

ChildWindow::ChildWindow(int index, std::function<void()> requestClose, QWidget* parent)
    : QMdiSubWindow(parent), mIndex(index), mRequestClose(std::move(requestClose)) {
  setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::unload() {
  mUnloading = true;
  close();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  if (mUnloading) {
    QMdiSubWindow::closeEvent(event);
    return;
  }
  event->ignore();
  mRequestClose();
}

void ChildWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    mRequestClose();
    return;
  }
  QMdiSubWindow::keyPressEvent(event);
}

}  // namespace lum
