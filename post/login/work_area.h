#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "post/login/new_work_area.h"
#include "post/login/session.h"

namespace lum {

enum class AreaMode {
  StartUp,  // LumPost starting: a missing area is made
  Peek,     // another operator's area: never made
  Change,   // a command that changes the area: a missing one is built, for the caller to place
};

enum class AreaOutcome {
  Shown,    // a window of the work area is showing
  Refused,  // the user has been told why; the running log-in (if any) goes on
  Ended,    // the user chose to end the program
};

// Opens an operator's work area: creates it on first use (start-up only),
// takes its lock, loads the log-in and shows the journals list, or leads a
// work area without entities into describing the first one.
AreaOutcome openWorkArea(Session& session, int operatorNumber, AreaMode mode);

// What takeWorkArea hands the command that changes the area.
struct TakenArea {
  std::filesystem::path rollbackFolder;  // where its transaction keeps what it changes
  std::optional<NewWorkArea> building;   // a new area, to be placed once the change is made
};

// The first half of openWorkArea, without windows: makes the area on first
// use (start-up), or builds it for the command to place (change), takes its
// lock, puts back a change cut short and loads the log-in. False, after
// telling the user, when the area is missing (peek) or taken. beforeLogin
// runs just before the log-in is loaded (a command that changes the area
// starts its transaction there).
bool takeWorkArea(Session& session, int operatorNumber, AreaMode mode,
                  const std::function<void(const TakenArea&)>& beforeLogin = {});

// Opens an operator's work area only to read it: without its lock, and
// with nothing created, recovered or written there. The registry reads
// every file through the source (which gives a file as it stood before a
// save under way) and opens its private file in place of the live one.
// False when the work area does not exist.
bool readWorkArea(Session& session, int operatorNumber, FileSource& source);

// Opens the log-in file set and reads the log-in values, fonts, GST date and
// window positions of the current entity.
void loadLogin(Session& session);

// The font chosen in FontList.ini becomes the report font of the print
// settings (both slots of font set 1).
void applyChosenFont(Session& session);

// Re-reads the current entity and its files after a change of entity or
// data directory, and brings the main window and current window up to date.
void refreshLogin(Session& session);

// "Peek Other Operator's Accounts": asks for an operator and moves into
// that operator's work area when the rights allow.
void peek(Session& session);

// Saves the GST date, closes every file and ends the program.
void endProgram(Session& session);

// The heartbeat of the work area's lock, every 60 ms.
void lockHeartbeat(Session& session);

}  // namespace lum
