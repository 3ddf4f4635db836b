#pragma once

#include <QWidget>
#include <functional>

namespace lum {

class InputPanelWidget;
class Session;

// The journals list (window 0) and the entities list (window 5): a panel of
// one line per record, with "Esc", "&Open Journal" or "Select", and "&Details".
class ListWindow final : public QWidget {
  Q_OBJECT

 public:
  using Runner = std::function<void(const std::function<void()>&)>;

  ListWindow(Session& session, int index, Runner run, QWidget* parent = nullptr);

  void focusCurrentBox();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Session& mSession;
  int mIndex;
  Runner mRun;
  InputPanelWidget* mPanel;
};

}  // namespace lum
