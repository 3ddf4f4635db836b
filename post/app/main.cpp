#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>
#include <cstdlib>
#include <filesystem>

#include "platform/clock.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_ops.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_waiter.h"
#include "post/app/first_paint_probe.h"
#include "post/app/lum_post_form.h"
#include "post/login/command_line.h"
#include "post/login/operator_class.h"
#include "post/login/work_area.h"

namespace {

// The launcher hands the program one line; here it arrives split at blanks.
std::string commandLineOf(const QStringList& arguments) {
  return arguments.mid(1).join(' ').toStdString();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("LumPost");

  lum::FileOps ops;
  const std::filesystem::path programDirectory = std::filesystem::current_path();
  const lum::DosPath paths(
      ops, programDirectory,
      lum::DosPath::floppyDirectoryFor(programDirectory, std::getenv("LUM_FLOPPY")));
  lum::QtPrompter prompter(nullptr, "LumPost");
  lum::SystemClock clock;
  lum::QtWaiter waiter;
  lum::Session session(ops, paths, prompter, clock, waiter);

  const std::string line = commandLineOf(QApplication::arguments());
  const lum::CommandLine commandLine = lum::parseCommandLine(line);
  if (const auto problem = lum::commandLineProblem(commandLine, line)) {
    prompter.message(*problem, lum::Icon::Critical);
    return EXIT_FAILURE;
  }
  lum::LoginValues& login = session.login;
  login.operatorNumber = commandLine.operatorNumber;
  login.ledgersNumber = commandLine.ledgersNumber;
  login.groupNumber = commandLine.groupNumber;
  login.systemDirectory = commandLine.systemDirectory;
  login.helpFile = commandLine.helpFile;
  if (commandLine.readsOperatorFile && !commandLine.systemDirectory.empty()) {
    try {
      login.operatorClass =
          lum::readOperatorClass(session.registry(), session.naming(), login.operatorNumber);
    } catch (const lum::FileError& error) {
      prompter.message(std::string(error.what()) +
                           "\nThe operator file could not be read. Please call the administrator.",
                       lum::Icon::Critical);
      return EXIT_FAILURE;
    }
  }

  lum::LumPostForm form(session);
  session.setHost(form);
  prompter.setParent(&form);
  waiter.setBusyWindow(&form);
  // LUM_FIRST_PAINT set: the start is measured to the first paint of the
  // main window and of the journals list, and the program then ends as its
  // Exit command ends it (bench/start-time).
  const bool measuringStart = std::getenv("LUM_FIRST_PAINT") != nullptr;
  if (measuringStart) {
    new lum::FirstPaintProbe(form, "main");
  }
  form.show();

  lum::AreaOutcome outcome = lum::AreaOutcome::Refused;
  form.run(
      [&] { outcome = lum::openWorkArea(session, login.operatorNumber, lum::AreaMode::StartUp); });
  if (outcome != lum::AreaOutcome::Shown) {
    return outcome == lum::AreaOutcome::Ended ? EXIT_SUCCESS : EXIT_FAILURE;
  }
  form.startHeartbeat();
  if (measuringStart && form.mdiArea()->activeSubWindow() != nullptr) {
    new lum::FirstPaintProbe(*form.mdiArea()->activeSubWindow(), "journals",
                             [&form] { form.close(); });
  }
  return QApplication::exec();
}
