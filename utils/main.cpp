#include <QApplication>
#include <QStringList>
#include <cstdlib>
#include <filesystem>

#include "platform/clock.h"
#include "platform/dos_path.h"
#include "platform/errors.h"
#include "platform/file_ops.h"
#include "platform/qt/qt_prompter.h"
#include "platform/qt/qt_waiter.h"
#include "utils/data_manager_form.h"
#include "utils/mail_window.h"
#include "utils/storage.h"
#include "utils/utils_dispatch.h"
#include "utils/utils_session.h"
#include "utils/utils_windows.h"
#include "utils/work_area_change.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("LumUtils");

  lum::FileOps ops;
  const std::filesystem::path programDirectory = std::filesystem::current_path();
  const lum::DosPath paths(
      ops, programDirectory,
      lum::DosPath::floppyDirectoryFor(programDirectory, std::getenv("LUM_FLOPPY")));
  lum::QtPrompter prompter(nullptr, "LumUtils");
  lum::SystemClock clock;

  // The main program hands over one line; here it arrives split at blanks.
  const std::string line = QApplication::arguments().mid(1).join(' ').toStdString();
  const auto commandLine = lum::parseUtilsCommandLine(line);
  if (!commandLine) {
    prompter.message("The command line \"" + line +
                         "\" names no operator and group: operators are 1 to 9999, groups 0 to "
                         "9999.",
                     lum::Icon::Critical);
    return EXIT_FAILURE;
  }
  lum::QtWaiter waiter;
  lum::UtilsSession session(ops, paths, prompter, clock, waiter, *commandLine);
  try {
    session.start();
    lum::WorkAreaChange::recoverAtStart(session);
  } catch (const std::exception& error) {
    prompter.message(std::string(error.what()) +
                         "\nThe data manager cannot start. Please call the administrator.",
                     lum::Icon::Critical);
    return EXIT_FAILURE;
  }

  lum::Storage storage(session);
  struct Host final : lum::UtilsWindowHost {
    lum::UtilsWindows* windows = nullptr;
    void showWindow(lum::UtilsWindow window,
                    std::optional<std::pair<float, float>> position) override {
      windows->showWindow(window, position);
    }
    std::pair<float, float> hideWindow(lum::UtilsWindow window) override {
      return windows->hideWindow(window);
    }
    void endProgram() override { windows->endProgram(); }
  } host;
  lum::UtilsDispatch dispatch(session, host);
  lum::UtilsWindows windows(session, storage, dispatch);
  host.windows = &windows;
  lum::DnsMxResolver resolver;
  windows.add(new lum::MailWindow(dispatch, session, storage, resolver));
  prompter.setParent(&windows.main());
  dispatch.showMain();
  return QApplication::exec();
}
