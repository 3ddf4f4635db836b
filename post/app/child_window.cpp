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
  // Unloaded while its own close event asks the program: that event closes
  // it (a close() from inside it would be ignored and leave it on screen).
  if (!mAsking) {
    close();
  }
}

void ChildWindow::closeEvent(QCloseEvent* event) {
  if (!mUnloading) {
    mAsking = true;
    mRequestClose();
    mAsking = false;
  }
  if (mUnloading) {
    QMdiSubWindow::closeEvent(event);
  } else {
    event->ignore();  // the program keeps it (a journal not abandoned)
  }
}

void ChildWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    mRequestClose();
    return;
  }
  QMdiSubWindow::keyPressEvent(event);
}

}  // namespace lum
