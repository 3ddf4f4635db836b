#include "post/app/start_utilities.h"

#include <fmt/core.h>

#include "platform/work_area_transaction.h"
#include "post/login/work_area.h"

namespace lum {
namespace {

// The data manager in the program directory: the native build or the old
// program's name, whatever the case of either.
constexpr const char* kUtilitiesNames[] = {"LumUtils", "lumutils.exe"};

std::filesystem::path utilitiesProgram(Session& session) {
  for (const char* name : kUtilitiesNames) {
    if (session.registry().exists(name)) {
      return session.paths().resolve(name);
    }
  }
  return session.paths().resolve(kUtilitiesNames[0]);
}

}  // namespace

void startUtilities(Session& session, ProgramStarter& starter) {
  // Everything is read again afterwards: no window may hold files or work
  // of its own meanwhile.
  if (session.currentWindow != kJournalsList) {
    session.prompter().message(
        "Storage starts from the journals list. Close the other windows first.");
    return;
  }
  const LoginValues& login = session.login;
  const std::filesystem::path area = session.lock().area();
  session.registry().closeAll();
  session.lock().release();

  const std::filesystem::path program = utilitiesProgram(session);
  const std::string commandLine =
      fmt::format("{} 0 {} {}", login.operatorNumber, login.ledgersNumber, login.groupNumber);
  if (const auto failure =
          starter.start(program, commandLine, session.paths().programDirectory())) {
    session.prompter().message(
        fmt::format("{} could not be started: {}", program.filename().string(), *failure),
        Icon::Exclamation);
  } else {
    session.prompter().message("Click When Storage is Finalised");
  }

  if (!session.lock().acquire(area)) {
    session.prompter().message(
        "The work area is still in use by another program, so LumPost cannot take it back. "
        "LumPost closes now.",
        Icon::Exclamation);
    session.host().endProgram();
    return;
  }
  // A change of the data manager cut short (killed, or the machine stopped)
  // is put back before anything is read.
  if (WorkAreaTransaction::recover(session.ops(), session.rollbackFolder())) {
    session.prompter().message(
        "The last change in this work area was cut short. Its files have been put back as they "
        "were before it.",
        Icon::Exclamation);
  }
  refreshLogin(session);
}

}  // namespace lum
