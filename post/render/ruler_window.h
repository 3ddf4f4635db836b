#pragma once

#include <QWidget>
#include <functional>

namespace lum {

// The measuring ruler: a thin window of millimetres at the page's scale,
// a long mark every 10 mm with its number, a middle mark every 5 mm.
// Drag it over the page with the mouse.
class RulerWindow final : public QWidget {
  Q_OBJECT

 public:
  RulerWindow(double pixelsPerMillimetre, std::function<void(bool)> openChanged,
              QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  double mPixelsPerMillimetre;
  std::function<void(bool)> mOpenChanged;
  QPoint mGrab;
};

}  // namespace lum
