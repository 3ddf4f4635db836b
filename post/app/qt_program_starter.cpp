#include "post/app/qt_program_starter.h"

#include <QProcess>

namespace lum {

std::optional<std::string> QtProgramStarter::start(const std::filesystem::path& program,
                                                   const std::string& commandLine,
                                                   const std::filesystem::path& workingDirectory) {
  QProcess process;
  process.setProgram(QString::fromStdString(program.string()));
  // The program reads its command line as one line split at the blanks.
  process.setArguments(QString::fromStdString(commandLine).split(' ', Qt::SkipEmptyParts));
  process.setWorkingDirectory(QString::fromStdString(workingDirectory.string()));
  if (!process.startDetached()) {
    return process.errorString().toStdString();
  }
  return std::nullopt;
}

}  // namespace lum
