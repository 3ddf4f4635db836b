#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"
#include "tools/lumctl/command_context.h"

namespace lum {

class Session;

// Answers the questions of a housekeeping command from its options: a
// question named in `answers` gets that answer; any other question gets
// Yes (OK) with --yes. Without an answer it is told on err with the option
// that answers it, and gets the answer that changes nothing.
class AnsweringPrompter final : public Prompter {
 public:
  struct Answered {
    Answer answer;
    // When not empty, the answer changes nothing and the option would
    // answer otherwise: told as an unanswered question.
    std::string option;
  };
  AnsweringPrompter(std::ostream& err, bool yes, std::map<std::string, Answered> answers = {})
      : mErr(err), mYes(yes), mAnswers(std::move(answers)) {}

  Answer ask(const Prompt& prompt) override;
  std::optional<std::string> input(const InputPrompt& prompt) override;
  // True when a question went unanswered, so that nothing was changed.
  bool refused() const { return mRefused; }

 private:
  std::ostream& mErr;
  bool mYes;
  std::map<std::string, Answered> mAnswers;
  bool mRefused = false;
};

// Runs a housekeeping action on the work area of the global options as a
// change of a headless log-in (with the area's lock), the period selected
// first when one is given: exit 0 when it was made, 1 when it was refused
// or failed (told on err), with nothing changed.
int runHousekeepingCommand(CommandContext& context, AnsweringPrompter& prompter,
                           const std::function<bool(Session&)>& action,
                           const std::string& period = {});

// The commands, each registered from its own file.
void addClearPeriodCommand(CLI::App& app, CommandContext& context);
void addCloseYearCommand(CLI::App& app, CommandContext& context);
void addEraseCommand(CLI::App& app, CommandContext& context);
void addBackupCommand(CLI::App& app, CommandContext& context);
void addRestoreCommand(CLI::App& app, CommandContext& context);
void addConvertSingleCommand(CLI::App& app, CommandContext& context);
void addSnapshotsCommand(CLI::App& app, CommandContext& context);
void addUndoCommand(CLI::App& app, CommandContext& context);

// All of them.
void addHousekeepingCommands(CLI::App& app, CommandContext& context);

inline constexpr const char* kYesHelp = "Answer Yes to the question (without it nothing changes)";

}  // namespace lum
