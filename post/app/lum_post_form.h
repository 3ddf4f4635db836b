#pragma once

#include <QMainWindow>

class QMdiArea;

namespace lum {

// LumPost's main window: the frame of every child window.
class LumPostForm final : public QMainWindow {
  Q_OBJECT

 public:
  explicit LumPostForm(QWidget* parent = nullptr);

  QMdiArea* mdiArea() const { return mMdiArea; }

 private:
  QMdiArea* mMdiArea;
};

}  // namespace lum
