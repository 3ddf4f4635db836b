#include "tools/lumctl/headless.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <array>
#include <cstdlib>
#include <ostream>
#include <thread>

#include "platform/text.h"
#include "post/login/gst_periods.h"
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

constexpr int kMonthsAQuarter = 3;
constexpr int kAnyYear = 2000;  // the letter of a period does not depend on the year
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// 1 to 12 for a month's name or its first three letters, in any case; else 0.
int monthNamed(std::string_view name) {
  for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
    if (equalsIgnoreCase(name, kMonthNames[m]) ||
        (name.size() == 3 && equalsIgnoreCase(name, kMonthNames[m].substr(0, 3)))) {
      return static_cast<int>(m) + 1;
    }
  }
  return 0;
}

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
  if (options.batchLock != nullptr) {
    mSession.lock().borrowFrom(*options.batchLock);
  }
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
  mTransaction.reset();  // a change not committed goes back while the lock is held
  mSession.lock().release();
}

bool HeadlessLogin::openToChange() {
  if (!takeWorkArea(
          mSession, mOptions.operatorNumber, AreaMode::Change, [this](const TakenArea& taken) {
            mTransaction = std::make_unique<WorkAreaTransaction>(mOps, taken.rollbackFolder);
            mBuilding = taken.building;
          })) {
    return false;
  }
  switchEntity();
  return true;
}

void HeadlessLogin::commitChange() {
  mSession.registry().closeAll();  // every write reaches its file first
  if (mBuilding) {
    markNewWorkAreaComplete(mOps, *mBuilding);
  }
  mTransaction->commit();
  mTransaction.reset();
  if (mBuilding) {
    placeNewWorkArea(mOps, *mBuilding);
    mBuilding.reset();
  }
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

std::optional<char> periodLetterOf(std::string_view period, std::string_view periodKind,
                                   std::string& why) {
  const bool quarterly = periodKind == "Q";
  const std::string_view letters = quarterly ? "CFILO" : "ABCDEFGHIJKLM";
  if (period.size() == 1 && letters.find(period[0]) != std::string_view::npos) {
    return period[0];
  }
  const std::vector<std::string> entries = gstPeriodEntries(periodKind);
  const auto letterOf = [&](std::size_t entry) {
    return selectGstPeriod(periodKind, static_cast<int>(entry), kAnyYear).letter;
  };
  std::string_view name = trim(period);
  if (equalsIgnoreCase(name, entries.back())) {
    return letterOf(entries.size() - 1);
  }
  constexpr std::string_view kQuarter = "-quarter";
  const bool quarterNamed = name.size() > kQuarter.size() &&
                            equalsIgnoreCase(name.substr(name.size() - kQuarter.size()), kQuarter);
  if (quarterNamed) {
    name.remove_suffix(kQuarter.size());
  }
  const int month = monthNamed(name);
  if (month == 0 || (quarterNamed && !quarterly)) {
    why = fmt::format("{} is not a period of this {} entity (periods: {})", period,
                      quarterly ? "quarterly" : "monthly",
                      quarterly ? "C F I L, O for the full year; or the quarters by their last "
                                  "month, Mar Jun Sep Dec, and Full Year"
                                : "A to L, M for the full year; or the months by name, Jan to "
                                  "Dec, and Full Year");
    return std::nullopt;
  }
  if (!quarterly) {
    return letterOf(static_cast<std::size_t>(month - 1));
  }
  if (month % kMonthsAQuarter != 0) {
    why = fmt::format(
        "{} does not end a quarter: the periods of this quarterly entity are the quarters "
        "ending Mar, Jun, Sep and Dec, and Full Year",
        kMonthNames[static_cast<std::size_t>(month - 1)]);
    return std::nullopt;
  }
  return letterOf(static_cast<std::size_t>(month / kMonthsAQuarter - 1));
}

bool selectPeriod(Session& session, const std::string& period, std::ostream& err) {
  if (period.empty()) {
    return true;
  }
  std::string why;
  const auto letter = periodLetterOf(period, session.login.setup.periodKind, why);
  if (!letter) {
    fmt::print(err, "lumctl: {}\n", why);
    return false;
  }
  session.login.periodLetter = *letter;
  return true;
}

}  // namespace lum
