#pragma once

#include <QPalette>
#include <QWidget>
#include <functional>
#include <vector>

#include "panel/panel_arrangement.h"

class QFocusEvent;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QScrollBar;
class QWheelEvent;

namespace lum {

class InputPanel;

// One input panel on screen: a row per visible line with its label
// ("Label1") and input boxes ("InBox"), each carrying its number in the
// property "index", and the scroll bar "VScroll1" on lists. It forwards
// focus, typing, keys and scrolling to the panel and shows what the panel
// holds. A detail panel may be laid out as a form instead (an
// arrangement): its boxes where the arrangement puts them, under its
// captions. The panel must outlive the widget.
class InputPanelWidget : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTwipsPerPixel = 15;

  explicit InputPanelWidget(InputPanel& panel, QWidget* parent = nullptr);
  InputPanelWidget(InputPanel& panel, PanelArrangement arrangement, QWidget* parent = nullptr);
  ~InputPanelWidget() override;

  // Shows the panel's state again; the keyboard focus follows the panel's
  // focused box while it is inside this widget.
  void refresh();
  // Puts the keyboard focus on the panel's focused box (after the panel is shown).
  void focusCurrentBox();
  QLineEdit* box(int index) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void buildRows();
  void buildArranged(const PanelArrangement& arrangement);
  QLineEdit* makeBox(int characters);
  void makePalettes();
  void listen();
  int boxIndexOf(QObject* object) const;
  void handleFocus(int index, const QFocusEvent& event);
  bool handleKey(const QKeyEvent& event);
  // Runs one call into the panel, then shows the result.
  void forward(const std::function<void()>& call, bool focusFollows);
  void display(bool focusFollows);
  void showBoxes();
  void showLabels();
  void showScrollBar();
  bool focusIsInside() const;

  InputPanel& mPanel;
  std::vector<QLabel*> mLabels;
  std::vector<QLineEdit*> mBoxes;
  QScrollBar* mScrollBar = nullptr;
  QPalette mPlainPalette;
  QPalette mFocusPalette;
  // Set while the widget calls the panel or updates itself, so that what it
  // does to its own controls does not come back as the user's events.
  bool mBusy = false;
};

}  // namespace lum
