#pragma once

#include <QString>

#include "platform/prompter.h"

class QWidget;

namespace lum {

// Message and input boxes on screen, modal to the given window.
class QtPrompter final : public Prompter {
 public:
  QtPrompter(QWidget* parent, QString programName)
      : mParent(parent), mProgramName(std::move(programName)) {}

  void setParent(QWidget* parent) { mParent = parent; }

  Answer ask(const Prompt& prompt) override;
  std::optional<std::string> input(const InputPrompt& prompt) override;

 private:
  QString titleOf(const std::string& title) const;

  QWidget* mParent;
  QString mProgramName;
};

}  // namespace lum
