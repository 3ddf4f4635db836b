#include "post/app/list_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "panel/input_panel_widget.h"
#include "post/login/list_windows.h"
#include "post/login/session.h"
#include "post/login/window_dispatch.h"

namespace lum {

ListWindow::ListWindow(Session& session, int index, Runner run, QWidget* parent)
    : QWidget(parent),
      mSession(session),
      mIndex(index),
      mRun(std::move(run)),
      mPanel(new InputPanelWidget(*session.panel(index), this)) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mPanel);

  auto* buttons = new QHBoxLayout;
  const auto addButton = [&](const char* name, const char* caption, std::function<void()> action) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    buttons->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, action] { mRun(action); });
  };
  addButton("Command1", "Esc", [this] { closeWindow(mSession); });
  addButton("Command2", mIndex == kJournalsList ? "&Open Journal" : "Select",
            [this] { openSelectedLine(mSession, mIndex); });
  addButton("Command3", "&Details", [this] { openLineDetails(mSession, mIndex); });
  layout->addLayout(buttons);

  // A double click on a line opens it, as the second button does.
  for (QLineEdit* box : mPanel->findChildren<QLineEdit*>("InBox")) {
    box->installEventFilter(this);
  }
}

bool ListWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    mRun([this] { openSelectedLine(mSession, mIndex); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void ListWindow::focusCurrentBox() {
  mPanel->focusCurrentBox();
}

}  // namespace lum
