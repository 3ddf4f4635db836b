#include "post/login/work_area.h"

#include <fmt/core.h>

#include <cmath>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/login/command_line.h"
#include "post/login/detail_panels.h"
#include "post/login/list_panels.h"
#include "post/login/login_files.h"
#include "post/login/login_records.h"
#include "post/login/main_commands.h"
#include "post/login/operator_class.h"
#include "post/login/window_dispatch.h"

namespace lum {
namespace {

constexpr int kWindowPositionRecords = 20;
constexpr float kMaxPositionTwips = 3000;

std::string areaName(int group, int operatorNumber) {
  return fmt::format(".\\Ent-{}\\Op-{}", group, operatorNumber);
}

int readWorkAreaCounter(Session& session, WorkAreaCounter counter) {
  RecordFile* entCoun = session.open("EntCoun");
  const int value = entCoun->get<CounterRecord>(static_cast<int>(counter)).value;
  session.registry().close("EntCoun");
  return value;
}

void readGstDate(Session& session) {
  RecordFile* file = session.open("GSTDate");
  const auto record = file->get<GstDateRecord>(1);
  session.registry().close("GSTDate");
  const auto date = record.date.isBlank() ? std::nullopt : record.date.date();
  session.login.gstDate = date ? *date : session.clock().today();
}

// Positions outside the screen's first 3000 twips go back to their defaults.
void validateWindowPositions(Session& session) {
  RecordFile& scrLoc = session.file("ScrLoc");
  for (int record = 1; record <= kWindowPositionRecords; ++record) {
    WindowPositionRecord position;
    bool onScreen = false;
    try {
      position = scrLoc.get<WindowPositionRecord>(record);
      // Written so that NaN counts as off the screen.
      onScreen = position.top >= 0 && position.top < kMaxPositionTwips && position.left >= 0 &&
                 position.left < kMaxPositionTwips;
    } catch (const FormatError&) {
      // A file cut short: the partial record is rewritten whole below.
    }
    if (onScreen) {
      continue;
    }
    const DefaultPosition fallback = defaultWindowPosition(record - 1);
    if (fallback.has) {
      position.left = fallback.position.left;
      position.top = fallback.position.top;
    }
    scrLoc.put(record, position);
  }
}

// The log-in of a work area that is open: its current entity and files.
void enterWorkArea(Session& session, const std::string& area, int operatorNumber) {
  session.registry().closeAll();
  session.login.workArea = area;
  session.login.dataDirectory = area;
  session.login.floppyDrive = "A:";
  session.login.workAreaOperator = operatorNumber;
  session.login.entityNumber = readWorkAreaCounter(session, WorkAreaCounter::CurrentEntity);
  loadLogin(session);
}

// A work area without entities: the user describes the first one.
AreaOutcome startFirstEntity(Session& session) {
  if (!session.prompter().yes("You must set & select an entity.  Do you want to proceed?")) {
    return AreaOutcome::Ended;
  }
  session.login.firstTimeFlag = 'X';
  session.open("Ent");
  RecordFile* entCoun = session.open("EntCoun");
  auto counter = entCoun->get<CounterRecord>(static_cast<int>(WorkAreaCounter::CurrentEntity));
  counter.value = 1;
  entCoun->put(static_cast<int>(WorkAreaCounter::EntityCount), counter);
  entCoun->put(static_cast<int>(WorkAreaCounter::CurrentEntity), counter);
  session.registry().close("EntCoun");
  session.login.entityNumber = 1;
  session.backLinks[kEntityDetails] = kJournalsList;
  session.currentWindow = kEntityDetails;
  showWindow(session);
  return AreaOutcome::Shown;
}

}  // namespace

bool takeWorkArea(Session& session, int operatorNumber, AreaMode mode,
                  const std::function<void(const TakenArea&)>& beforeLogin) {
  FileOps& ops = session.ops();
  const int group = session.login.groupNumber;
  std::string area = areaName(group, operatorNumber);
  TakenArea taken;
  if (mode != AreaMode::Peek) {
    settleNewWorkArea(ops, session.paths(), group, operatorNumber);
  }
  if (!ops.isDirectory(session.paths().resolve(area))) {
    if (mode == AreaMode::Peek) {
      session.prompter().message(
          fmt::format("Operator Number {} does not have any cash books data", operatorNumber));
      return false;
    }
    NewWorkArea made = planNewWorkArea(ops, session.paths(), group, operatorNumber);
    buildNewWorkArea(ops, session.paths(), made);
    if (mode == AreaMode::StartUp) {
      placeNewWorkArea(ops, made);
    } else {
      area = made.areaName;
      taken.building = std::move(made);
    }
  }
  const auto areaFolder = session.paths().resolve(area);

  const bool held =
      taken.building ? session.lock().acquireNew(areaFolder) : session.lock().acquire(areaFolder);
  if (!held) {
    session.prompter().message(
        "The selected work area is currently being used.  Only one person can log in.");
    return false;
  }

  taken.rollbackFolder = areaFolder / "Rollback";
  WorkAreaTransaction::removeStaging(ops, taken.rollbackFolder);
  if (WorkAreaTransaction::recover(ops, taken.rollbackFolder)) {
    session.prompter().message(
        "The last change in this work area was cut short. Its files have been put back as they "
        "were before it.",
        Icon::Exclamation);
  }
  if (beforeLogin) {
    beforeLogin(taken);
  }
  enterWorkArea(session, area, operatorNumber);
  return true;
}

bool readWorkArea(Session& session, int operatorNumber, FileSource& source) {
  const std::string area = areaName(session.login.groupNumber, operatorNumber);
  if (!session.ops().isDirectory(session.paths().resolve(area))) {
    return false;
  }
  session.registry().readFrom(&source);
  enterWorkArea(session, area, operatorNumber);
  return true;
}

AreaOutcome openWorkArea(Session& session, int operatorNumber, AreaMode mode) {
  if (!takeWorkArea(session, operatorNumber, mode)) {
    return AreaOutcome::Refused;
  }
  if (session.login.entityNumber == 0) {
    return startFirstEntity(session);
  }
  if (mode == AreaMode::Peek) {
    session.host().unloadAllWindows();
  }
  session.backLinks[kJournalsList] = kJournalsList;
  session.currentWindow = kJournalsList;
  showWindow(session);
  return AreaOutcome::Shown;
}

void loadLogin(Session& session) {
  LoginValues& login = session.login;
  openLoginFileSet(session.registry(), session.naming(), login);
  session.panelShared.edit = LineEdit::Clean;
  login.setupFlag = 'N';
  applyChosenFont(session);
  readGstDate(session);
  validateWindowPositions(session);
  installListWindows(session);
  installDetailWindows(session);
  session.firstAnalysisColumn = lastFixedColumn(login.setup.postingMode);
  rebuildGstPeriods(session);
}

// Fonts: the chosen font goes into both font slots of the report print settings.
void applyChosenFont(Session& session) {
  constexpr int kFontSlot = 1;
  const auto font = session.file("FontList").get<FontNameRecord>(1);
  RecordFile& repPar = session.file("RepPar");
  auto settings = repPar.get<ReportPrintSettings>(1);
  settings.fontNames[2 * kFontSlot - 2] = font.fontName;
  settings.fontNames[2 * kFontSlot - 1] = font.fontName;
  repPar.put(1, settings);
}

void refreshLogin(Session& session) {
  session.login.entityNumber = readWorkAreaCounter(session, WorkAreaCounter::CurrentEntity);
  openLoginFileSet(session.registry(), session.naming(), session.login);
  session.login.reportTotalsComputed = false;
  if (InputPanel* journals = session.panel(kJournalsList)) {
    journals->redraw();
  }
  rebuildGstPeriods(session);
  applyOperatorRights(session);
  if (InputPanel* current = session.panel(session.currentWindow)) {
    current->redraw();
    session.host().focusWindow(session.currentWindow);
  }
}

void peek(Session& session) {
  const auto typed =
      session.prompter().input({"Enter operator number you want to look ", "Operator Peek", ""});
  if (!typed) {
    return;
  }
  const double number = std::trunc(leadingNumber(*typed));
  if (number <= 0) {
    return;
  }
  if (number > kMaxOperatorNumber) {
    session.prompter().message(fmt::format("Operator Number {} does not have any cash books data",
                                           static_cast<long long>(number)));
    return;
  }
  const int target = static_cast<int>(number);
  if (session.login.operatorClass != 'N' &&
      !profileAllowsPeek(session.registry(), session.naming(), target)) {
    session.prompter().message(
        "You are not authorized to peek into this operator's data.  Please call the "
        "administrator to obtain authorization.");
    return;
  }
  if (openWorkArea(session, target, AreaMode::Peek) == AreaOutcome::Ended) {
    session.registry().closeAll();
    session.lock().release();
    session.host().endProgram();
  }
}

void endProgram(Session& session) {
  if (session.login.gstDate) {
    RecordFile* file = session.open("GSTDate");
    file->put(1, GstDateRecord{OleDate::of(*session.login.gstDate)});
  }
  session.registry().closeAll();
  session.lock().release();
  session.host().endProgram();
}

void lockHeartbeat(Session& session) {
  session.lock().heartbeat();
}

}  // namespace lum
