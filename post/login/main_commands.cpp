#include "post/login/main_commands.h"

#include "platform/errors.h"
#include "platform/text.h"
#include "post/login/gst_periods.h"
#include "post/login/login_records.h"
#include "post/login/window_dispatch.h"
#include "post/login/work_area.h"

namespace lum {

std::string entityBannerText(const std::string& name, const std::string& secondLine) {
  std::string banner(trim(name));
  if (!trim(secondLine).empty()) {
    banner += ", ";
    banner += trim(secondLine);
  }
  return banner;
}

std::string currentEntityBanner(Session& session) {
  if (session.login.entityNumber <= 0) {
    return {};
  }
  FileRegistry& registry = session.registry();
  const bool wasOpen = registry.isOpen("Ent");
  RecordFile& ent = wasOpen ? registry.file("Ent") : *session.open("Ent");
  const auto entity = ent.get<EntityRecord>(session.login.entityNumber);
  if (!wasOpen) {
    registry.close("Ent");
  }
  return entityBannerText(entity.name, entity.secondNameLine);
}

namespace {

void showMainWindow(Session& session, int selectedEntry) {
  MainWindowState state;
  state.entityBanner = currentEntityBanner(session);
  state.gstPeriods = gstPeriodEntries(session.login.setup.periodKind);
  state.selectedGstPeriod = selectedEntry;
  state.workingFromFloppy = session.workingFromFloppy();
  session.host().showMainWindowState(state);
}

}  // namespace

void rebuildGstPeriods(Session& session) {
  LoginValues& login = session.login;
  const Date gstDate = login.gstDate.value_or(session.clock().today());
  const int entry = gstPeriodEntryOf(login.setup.periodKind, gstDate);
  selectGstPeriod(session, entry);
  showMainWindow(session, entry);
}

void selectGstPeriod(Session& session, int entry) {
  LoginValues& login = session.login;
  const GstPeriod period =
      lum::selectGstPeriod(login.setup.periodKind, entry, session.clock().today().year());
  login.periodLetter = period.letter;
  login.gstDate = period.start;
}

void workFrom(Session& session, bool floppy) {
  LoginValues& login = session.login;
  session.registry().closeAll();
  login.dataDirectory = floppy ? login.floppyDrive : login.workArea;
  login.reportTotalsComputed = false;
  try {
    refreshLogin(session);
  } catch (const FileError& error) {
    if (!floppy) {
      throw;
    }
    // No disk in the drive: say so and stay on the hard disk.
    session.prompter().message(std::string(error.what()) + "\nThe data stays on the hard disk.",
                               Icon::Exclamation);
    session.registry().closeAll();
    login.dataDirectory = login.workArea;
    refreshLogin(session);
  }
}

void applyOperatorRights(Session& session) {
  RightsContext context;
  context.operatorClass = session.login.operatorClass;
  context.workingFromFloppy = session.workingFromFloppy();
  context.utilitiesPresent =
      session.registry().exists("lumutils.exe") || session.registry().exists("LumUtils");
  context.currentWindow = session.currentWindow;
  session.host().applyCommandStates(operatorRights(context));
}

void exitCommand(Session& session) {
  const WindowActions& grid = session.windowActions(kJournalGrid);
  if (session.currentWindow == kJournalGrid) {
    if (grid.mayLeave && !grid.mayLeave()) {
      return;
    }
    // The program ends without closing the journal window: its copies go now.
    if (grid.release) {
      grid.release();
    }
  }
  session.currentWindow = kJournalsList;
  closeWindow(session);
}

}  // namespace lum
