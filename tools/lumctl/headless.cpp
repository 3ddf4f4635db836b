#include "tools/lumctl/headless.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <cstdlib>
#include <ostream>
#include <thread>

#include "post/login/login_files.h"
#include "post/login/work_area.h"

namespace lum {

Answer StreamPrompter::ask(const Prompt& prompt) {
  mTexts.push_back(prompt.text);
  if (mEcho) {
    mErr << "lumctl: " << prompt.text << '\n';
  }
  switch (prompt.buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
      return Answer::No;  // go on, change nothing
    default:
      return Answer::Cancel;
  }
}

std::optional<std::string> StreamPrompter::input(const InputPrompt& prompt) {
  mTexts.push_back(prompt.prompt);
  if (mEcho) {
    mErr << "lumctl: " << prompt.prompt << '\n';
  }
  return std::nullopt;
}

namespace {

std::string workAreaName(const GlobalOptions& options) {
  return fmt::format(".\\Ent-{}\\Op-{}", options.groupNumber, options.operatorNumber);
}

}  // namespace

void SleepingWaiter::pause(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

HeadlessLogin::HeadlessLogin(const GlobalOptions& options, Prompter& prompter)
    : mOptions(options),
      mPaths(mOps, options.root,
             DosPath::floppyDirectoryFor(options.root, std::getenv("LUM_FLOPPY"))),
      mSession(mOps, mPaths, prompter, mClock, mWaiter) {
  mSession.setHost(mWindows);
  mSession.login.operatorNumber = options.operatorNumber;
  mSession.login.groupNumber = options.groupNumber;
  mSession.login.systemDirectory = fmt::format("..\\System\\Ent-{}", options.groupNumber);
}

HeadlessLogin::~HeadlessLogin() {
  try {
    mSession.registry().closeAll();
  } catch (const std::exception&) {
    // Closing read files cannot lose data; the lock goes with the process anyway.
  }
  mSession.lock().release();
}

bool HeadlessLogin::open() {
  if (!takeWorkArea(mSession, mOptions.operatorNumber, AreaMode::StartUp)) {
    return false;
  }
  switchEntity();
  return true;
}

bool HeadlessLogin::openToRead(FileSource& source) {
  if (!readWorkArea(mSession, mOptions.operatorNumber, source)) {
    mSession.prompter().message(noWorkAreaText(mOptions));
    return false;
  }
  switchEntity();
  return true;
}

void HeadlessLogin::switchEntity() {
  if (mOptions.entityNumber && *mOptions.entityNumber != mSession.login.entityNumber) {
    mSession.login.entityNumber = *mOptions.entityNumber;
    openLoginFileSet(mSession.registry(), mSession.naming(), mSession.login);
  }
}

std::filesystem::path workAreaFolder(const GlobalOptions& options) {
  FileOps ops;
  const DosPath paths(ops, options.root, DosPath::floppyDirectoryFor(options.root, nullptr));
  return paths.resolve(workAreaName(options));
}

std::string noWorkAreaText(const GlobalOptions& options) {
  return fmt::format(
      "operator {} of group {} has no work area (there is no folder Ent-{}/Op-{} in {})",
      options.operatorNumber, options.groupNumber, options.groupNumber, options.operatorNumber,
      options.root.string());
}

bool hasWorkArea(const GlobalOptions& options, std::ostream& err) {
  FileOps ops;
  if (ops.isDirectory(workAreaFolder(options))) {
    return true;
  }
  fmt::print(err, "lumctl: {}\n", noWorkAreaText(options));
  return false;
}

bool selectPeriod(Session& session, const std::string& period, std::ostream& err) {
  if (period.empty()) {
    return true;
  }
  const bool quarterly = session.login.setup.periodKind == "Q";
  const std::string_view letters = quarterly ? "CFILO" : "ABCDEFGHIJKLM";
  if (period.size() != 1 || letters.find(period[0]) == std::string_view::npos) {
    fmt::print(err, "lumctl: {} is not a period of this {} entity (periods: {})\n", period,
               quarterly ? "quarterly" : "monthly",
               quarterly ? "C F I L, O for the full year" : "A to L, M for the full year");
    return false;
  }
  session.login.periodLetter = period[0];
  return true;
}

}  // namespace lum
