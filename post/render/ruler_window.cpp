#include "post/render/ruler_window.h"

#include <QMouseEvent>
#include <QPainter>

namespace lum {

RulerWindow::RulerWindow(double pixelsPerMillimetre, std::function<void(bool)> openChanged,
                         QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      mPixelsPerMillimetre(pixelsPerMillimetre),
      mOpenChanged(std::move(openChanged)) {
  setObjectName("Ruler");
  setWindowTitle("Ruler");
  setAttribute(Qt::WA_DeleteOnClose, false);
}

void RulerWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(255, 255, 225));
  painter.setPen(Qt::black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  QFont small = font();
  small.setPixelSize(std::max(7, height() / 2 - 1));
  painter.setFont(small);
  for (int mm = 0; mm * mPixelsPerMillimetre < width(); ++mm) {
    const double x = mm * mPixelsPerMillimetre;
    const int length = mm % 10 == 0 ? height() / 2 : mm % 5 == 0 ? height() / 3 : height() / 5;
    painter.drawLine(QPointF(x, 0), QPointF(x, length));
    if (mm % 10 == 0 && mm > 0) {
      painter.drawText(QPointF(x + 2, height() - 2), QString::number(mm));
    }
  }
}

void RulerWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (mOpenChanged) {
    mOpenChanged(true);
  }
}

void RulerWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (mOpenChanged) {
    mOpenChanged(false);
  }
}

void RulerWindow::mousePressEvent(QMouseEvent* event) {
  mGrab = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void RulerWindow::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) {
    move(event->globalPosition().toPoint() - mGrab);
  }
}

}  // namespace lum
