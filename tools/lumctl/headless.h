#pragma once

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/prompter.h"
#include "platform/work_area_lock.h"
#include "platform/work_area_transaction.h"
#include "post/login/new_work_area.h"
#include "post/login/session.h"
#include "post/login/window_host.h"
#include "tools/lumctl/lumctl.h"

namespace lum {

// lumctl has no screen: messages go to the error stream (or are only kept,
// for a command that reports them its own way), questions take their
// way that goes on without changing anything (No; Cancel for OK/Cancel),
// input boxes are cancelled.
class StreamPrompter final : public Prompter {
 public:
  explicit StreamPrompter(std::ostream& err, bool echo = true) : mErr(err), mEcho(echo) {}
  Answer ask(const Prompt& prompt) override;
  std::optional<std::string> input(const InputPrompt& prompt) override;

  const std::vector<std::string>& texts() const { return mTexts; }

 private:
  std::ostream& mErr;
  bool mEcho;
  std::vector<std::string> mTexts;
};

// Waits by sleeping.
class SleepingWaiter final : public Waiter {
 public:
  void pause(std::chrono::milliseconds duration) override;
};

// A log-in to the work area of lumctl's global options, as LumPost makes
// it (with its lock), without windows.
class HeadlessLogin {
 public:
  HeadlessLogin(const GlobalOptions& options, Prompter& prompter);
  ~HeadlessLogin();
  HeadlessLogin(const HeadlessLogin&) = delete;
  HeadlessLogin& operator=(const HeadlessLogin&) = delete;

  // Takes the work area to change it and, when --entity names one, switches
  // to it. From the log-in on everything the command changes is one
  // transaction, which commitChange() ends; without it the files are put
  // back when the log-in ends. False when the area is taken by a running
  // copy (told through the prompter).
  bool openToChange();
  void commitChange();
  // Reads the work area through the source instead, without its lock and
  // without writing there (see readWorkArea), and switches to --entity.
  // False when there is no work area (told through the prompter).
  bool openToRead(FileSource& source);
  Session& session() { return mSession; }

 private:
  void switchEntity();

  GlobalOptions mOptions;
  FileOps mOps;
  DosPath mPaths;
  SystemClock mClock;
  SleepingWaiter mWaiter;
  NoWindows mWindows;
  Session mSession;
  std::unique_ptr<WorkAreaTransaction> mTransaction;
  std::optional<NewWorkArea> mBuilding;  // an area made by this change, placed at its commit
};

// The work area of the global options' operator and group.
std::filesystem::path workAreaFolder(const GlobalOptions& options);
// Whether it exists; when not, says so on err.
bool hasWorkArea(const GlobalOptions& options, std::ostream& err);
// What is said when it does not.
std::string noWorkAreaText(const GlobalOptions& options);

// The period letter a --period names: the letter ("A" to "M" monthly, "C",
// "F", "I", "L", "O" quarterly), or the entry of the main window's period
// selector: a month by its name or first three letters in any case (for a
// quarterly entity the month that ends the quarter, also as "Mar-quarter"),
// or "Full Year". Nothing, with the reason in why, for a name the entity
// has no period for.
std::optional<char> periodLetterOf(std::string_view period, std::string_view periodKind,
                                   std::string& why);

// Selects the GST period a --period names (see periodLetterOf) in the
// session; an empty one keeps the period the log-in chose. False, with the
// reason on err, for one the entity has no period for.
bool selectPeriod(Session& session, const std::string& period, std::ostream& err);

}  // namespace lum
