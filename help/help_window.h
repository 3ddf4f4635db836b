#pragma once

#include <QString>
#include <QWidget>

#include "help/help_topics.h"

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;

namespace lum {

// The manual: its contents on the left, the page on the right, and a
// search box whose Enter moves to the next place the words are found
// (Shift+Enter to the one before). Esc closes it.
class HelpWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(HelpProgram program, QWidget* parent = nullptr);

  // Shows the window at the section of the program's window (F1 there).
  void showWindowHelp(int window);
  // Shows the window at the section of this anchor.
  void showSection(const QString& anchor);
  // Whether the manual has a section of this anchor.
  bool hasSection(const QString& anchor) const;
  // The section whose heading is the last one at or above the top of the page.
  QString currentSection() const;
  // Looks for the search box's words after the selection (before it when
  // backwards), going round to the other end; false when they are nowhere.
  bool findNext(bool backwards = false);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildContents();

  HelpProgram mProgram;

  QTreeWidget* mContents;
  QTextBrowser* mPage;
  QLineEdit* mSearch;
  QLabel* mFound;
};

}  // namespace lum
