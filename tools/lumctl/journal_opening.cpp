#include "tools/lumctl/journal_opening.h"

#include <fmt/ostream.h>

#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"

namespace lum {

int openJournal(const GlobalOptions& global, const JournalOptions& options, Prompter& prompter,
                std::ostream& err, Opened& opened, FileSource* source) {
  opened.login = std::make_unique<HeadlessLogin>(global, prompter);
  if (!(source != nullptr ? opened.login->openToRead(*source) : opened.login->openToChange())) {
    return kExitRefused;
  }
  Session& session = opened.login->session();
  if (!selectPeriod(session, options.period, err)) {
    return kExitUsage;
  }
  const int journals =
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value;
  if (options.journal < 1 || options.journal > journals) {
    fmt::print(err, "lumctl: the entity has no journal {} (it has {})\n", options.journal,
               journals);
    return kExitRefused;
  }
  opened.files = std::make_unique<JournalFiles>(session, options.journal);
  opened.name = session.file("Jnl").get<JournalHeaderRecord>(options.journal).name;
  return kExitSuccess;
}

void tellTypingProblem(std::ostream& err, const std::string& file, const TypingProblem& problem) {
  fmt::print(
      err, "lumctl: {} {}: {}\n", file,
      problem.line != 0 ? fmt::format("line {}", problem.line) : fmt::format("row {}", problem.row),
      problem.message);
}

}  // namespace lum
