#pragma once

#include <QMdiSubWindow>
#include <functional>

namespace lum {

// A numbered window of the window table inside the main window. Closing it
// from its title bar or with Esc asks the program to close it (so that its
// files are released and the window below comes back); the program then
// unloads it with unload(), or keeps it.
class ChildWindow final : public QMdiSubWindow {
  Q_OBJECT

 public:
  ChildWindow(int index, std::function<void()> requestClose, QWidget* parent = nullptr);

  int index() const { return mIndex; }
  void unload();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int mIndex;
  std::function<void()> mRequestClose;
  bool mUnloading = false;
  bool mAsking = false;  // inside closeEvent, asking the program to close it
};

}  // namespace lum
