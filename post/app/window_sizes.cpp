#include "post/app/window_sizes.h"

#include <QSettings>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

namespace lum {

WindowSizes::WindowSizes(QString file) : mFile(std::move(file)) {}

QString WindowSizes::defaultFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/LumPost/window-sizes.ini";
}

void WindowSizes::setOperator(int group, int operatorNumber) {
  mOperator = QString("Ent-%1/Op-%2").arg(group).arg(operatorNumber);
}

QString WindowSizes::key(const QString& window) const {
  return mOperator + "/" + window;
}

std::optional<QSize> WindowSizes::size(const QString& window) const {
  const QSettings settings(mFile, QSettings::IniFormat);
  const QSize stored = settings.value(key(window)).toSize();
  return stored.isValid() && !stored.isEmpty() ? std::optional(stored) : std::nullopt;
}

void WindowSizes::remember(const QString& window, QSize size) {
  QSettings settings(mFile, QSettings::IniFormat);
  settings.setValue(key(window), size);
  settings.sync();
}

void WindowSizes::forget(const QString& window) {
  QSettings settings(mFile, QSettings::IniFormat);
  settings.remove(key(window));
  settings.sync();
}

void sizeOnOpening(QWidget& window, QSize workSpace, std::optional<QSize> remembered) {
  if (!remembered) {
    window.setGeometry(0, 0, workSpace.width(), workSpace.height());
    return;
  }
  const QSize size = remembered->boundedTo(workSpace);
  const int left = std::clamp(window.x(), 0, workSpace.width() - size.width());
  const int top = std::clamp(window.y(), 0, workSpace.height() - size.height());
  window.setGeometry(left, top, size.width(), size.height());
}

void keepSizeOnClosing(const QWidget& window, QSize workSpace, WindowSizes& sizes,
                       const QString& name) {
  if (window.isMinimized()) {
    return;
  }
  if (window.isMaximized() || window.size() == workSpace) {
    sizes.forget(name);
  } else {
    sizes.remember(name, window.size());
  }
}

}  // namespace lum
