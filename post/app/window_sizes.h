#pragma once

#include <QSize>
#include <QString>
#include <optional>

class QWidget;

namespace lum {

// The sizes the user gave LumPost's windows, kept between runs in an INI
// file of its own (by default window-sizes.ini in the user's configuration
// folder, ~/.config/LumPost), never in the record files of the program
// directory or the work area, which older copies read. Each operator of
// each group keeps their own.
class WindowSizes {
 public:
  explicit WindowSizes(QString file);
  static QString defaultFile();

  // The operator whose sizes are read and kept.
  void setOperator(int group, int operatorNumber);
  std::optional<QSize> size(const QString& window) const;
  void remember(const QString& window, QSize size);
  // The window goes back to its size on opening.
  void forget(const QString& window);

 private:
  QString key(const QString& window) const;

  QString mFile;
  QString mOperator = "Ent-0/Op-0";
};

// A window opening in the work space: at the size the user last gave it,
// moved in where it would stand out of the work space and cut to it, or
// filling the work space when it has no size of its own.
void sizeOnOpening(QWidget& window, QSize workSpace, std::optional<QSize> remembered);
// A window closing keeps its size, unless it fills the work space (it
// then fills it again, whatever size the work space has next).
void keepSizeOnClosing(const QWidget& window, QSize workSpace, WindowSizes& sizes,
                       const QString& name);

}  // namespace lum
