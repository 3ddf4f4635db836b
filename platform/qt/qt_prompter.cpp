#include "platform/qt/qt_prompter.h"

#include <QInputDialog>
#include <QMessageBox>

namespace lum {
namespace {

QMessageBox::Icon iconOf(Icon icon) {
  switch (icon) {
    case Icon::None:
      return QMessageBox::NoIcon;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok:
      return QMessageBox::Ok;
    case Buttons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButton buttonOf(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return QMessageBox::Ok;
    case Answer::Cancel:
      return QMessageBox::Cancel;
    case Answer::Yes:
      return QMessageBox::Yes;
    case Answer::No:
      return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

}  // namespace

QString QtPrompter::titleOf(const std::string& title) const {
  return title.empty() ? mProgramName : QString::fromStdString(title);
}

Answer QtPrompter::ask(const Prompt& prompt) {
  QMessageBox box(iconOf(prompt.icon), titleOf(prompt.title), QString::fromStdString(prompt.text),
                  buttonsOf(prompt.buttons), mParent);
  if (prompt.defaultAnswer) {
    box.setDefaultButton(buttonOf(*prompt.defaultAnswer));
  }
  switch (box.exec()) {
    case QMessageBox::Ok:
      return Answer::Ok;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:  // Cancel, Esc or the close button
      return prompt.buttons == Buttons::Ok      ? Answer::Ok
             : prompt.buttons == Buttons::YesNo ? Answer::No
                                                : Answer::Cancel;
  }
}

std::optional<std::string> QtPrompter::input(const InputPrompt& prompt) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(mParent, titleOf(prompt.title), QString::fromStdString(prompt.prompt),
                            QLineEdit::Normal, QString::fromStdString(prompt.initialText), &ok);
  if (!ok) {
    return std::nullopt;
  }
  return text.toStdString();
}

}  // namespace lum
