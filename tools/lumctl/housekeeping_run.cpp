#include "tools/lumctl/housekeeping_run.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <ostream>

#include "tools/lumctl/headless.h"

namespace lum {

Answer AnsweringPrompter::ask(const Prompt& prompt) {
  if (prompt.buttons == Buttons::Ok) {
    fmt::print(mErr, "lumctl: {}\n", prompt.text);
    return Answer::Ok;
  }
  if (const auto found = mAnswers.find(prompt.text); found != mAnswers.end()) {
    if (!found->second.option.empty()) {
      fmt::print(mErr, "lumctl: {} (answer with {}; nothing was changed)\n", prompt.text,
                 found->second.option);
      mRefused = true;
    }
    return found->second.answer;
  }
  if (mYes) {
    return prompt.buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
  }
  fmt::print(mErr, "lumctl: {} (answer with --yes; nothing was changed)\n", prompt.text);
  mRefused = true;
  return prompt.buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<std::string> AnsweringPrompter::input(const InputPrompt& prompt) {
  fmt::print(mErr, "lumctl: {}\n", prompt.prompt);
  return std::nullopt;
}

int runHousekeepingCommand(CommandContext& context, AnsweringPrompter& prompter,
                           const std::function<bool(Session&)>& action, const std::string& period) {
  if (!context.workAreaToChange()) {
    return kExitRefused;
  }
  try {
    HeadlessLogin login(context.options, prompter);
    if (!login.openToChange()) {
      return kExitRefused;
    }
    if (!period.empty() && !selectPeriod(login.session(), period, context.err)) {
      return kExitRefused;
    }
    if (!action(login.session())) {
      return kExitRefused;
    }
    login.commitChange();
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(context.err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

void addHousekeepingCommands(CLI::App& app, CommandContext& context) {
  for (const auto add :
       {addClearPeriodCommand, addCloseYearCommand, addEraseCommand, addBackupCommand,
        addRestoreCommand, addConvertSingleCommand, addSnapshotsCommand, addUndoCommand}) {
    add(app, context);
  }
}

}  // namespace lum
