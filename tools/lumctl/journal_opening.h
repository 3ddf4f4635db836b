#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "post/journals/journal_files.h"
#include "post/journals/journal_typing.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/journal_command.h"

namespace lum {

class FileSource;

// What the journal commands work on: the log-in, the journal and its files.
struct Opened {
  std::unique_ptr<HeadlessLogin> login;
  std::unique_ptr<JournalFiles> files;
  std::string name;
};

// Logs in and opens the journal of the options for their period: taking
// the work area to change it, or with a source only reading it. Returns
// an exit status (the reason told on err).
int openJournal(const GlobalOptions& global, const JournalOptions& options, Prompter& prompter,
                std::ostream& err, Opened& opened, FileSource* source = nullptr);

// "lumctl: FILE line N: MESSAGE" (or "row N" for a row that was there).
void tellTypingProblem(std::ostream& err, const std::string& file, const TypingProblem& problem);

}  // namespace lum
