#include "post/login/window_dispatch.h"

#include <initializer_list>

#include "post/login/detail_panels.h"
#include "post/login/list_panels.h"
#include "post/login/login_records.h"
#include "post/login/main_commands.h"
#include "post/login/work_area.h"

namespace lum {
namespace {

void closeFiles(Session& session, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    session.registry().close(name);
  }
}

// The files each window works on, released when it closes.
void releaseFiles(Session& session, int window) {
  switch (window) {
    case kJournalGrid:
      closeFiles(session, {"Ax", "GstPers", "GrdAms", "GrdRecs", "An"});
      break;
    case kAccountList:
      closeFiles(session, {"Ax", "An"});
      break;
    case kEntitiesList:
      closeFiles(session, {"Ent", "EntCoun"});
      break;
    case kReportDisplay:
    case kReportRun:
      closeFiles(session, {"Kelam", "DosyaYaz", "Ax", "GstPers", "GrdAms", "GrdRecs", "An"});
      break;
    default:
      break;
  }
}

RecordFile& scrLoc(Session& session) {
  return session.registry().isOpen("ScrLoc") ? session.file("ScrLoc") : *session.open("ScrLoc");
}

void closeEverythingAndEnd(Session& session) {
  session.registry().closeAll();
  session.lock().release();
  session.host().endProgram();
}

}  // namespace

void openWindow(Session& session, int index) {
  session.backLinks.at(static_cast<std::size_t>(index)) = session.currentWindow;
  session.currentWindow = index;
  showWindow(session);
}

void showWindow(Session& session) {
  const int window = session.currentWindow;
  prepareListWindow(session, window);
  prepareDetailWindow(session, window);
  if (const auto& prepare = session.windowActions(window).prepare) {
    prepare();
  }
  if (InputPanel* panel = session.panel(window)) {
    panel->show();
  }
  applyOperatorRights(session);
  if (window != kJournalsList && window != kProgress && session.login.firstTimeFlag != 'X') {
    session.host().setWindowEnabled(session.backLinks[static_cast<std::size_t>(window)], false);
  }
  const auto stored = scrLoc(session).get<WindowPositionRecord>(window + 1);
  session.host().showWindow(window, WindowPosition{stored.left, stored.top});
  session.host().focusWindow(window);
}

void closeWindow(Session& session) {
  const int window = session.currentWindow;
  if (const auto& mayLeave = session.windowActions(window).mayLeave; mayLeave && !mayLeave()) {
    return;
  }
  releaseFiles(session, window);
  releaseDetailWindow(session, window);
  if (const auto& release = session.windowActions(window).release) {
    release();
  }

  RecordFile& positions = scrLoc(session);
  auto stored = positions.get<WindowPositionRecord>(window + 1);
  const WindowPosition now = session.host().windowPosition(window);
  stored.left = now.left;
  stored.top = now.top;
  positions.put(window + 1, stored);

  if (window == kJournalsList) {
    endProgram(session);
    return;
  }
  if (session.login.firstTimeFlag == 'X') {
    // The first entity opens only at the next start: say so before ending.
    const std::string entity = currentEntityBanner(session);
    session.prompter().message(entity.empty()
                                   ? "LumPost closes now."
                                   : "LumPost closes now. Start it again to open " + entity + ".",
                               Icon::Information);
    closeEverythingAndEnd(session);
    return;
  }
  session.host().unloadWindow(window);
  session.currentWindow = session.backLinks[static_cast<std::size_t>(window)];
  session.host().setWindowEnabled(session.currentWindow, true);
  session.host().focusWindow(session.currentWindow);

  if (session.currentWindow == kJournalsList && session.login.firstTimeFlag == 'C') {
    session.login.firstTimeFlag = ' ';
    session.registry().closeAll();
    refreshLogin(session);
  }
  applyOperatorRights(session);
}

void functionKey(Session& session, PanelKey key) {
  const int slot = static_cast<int>(key) - static_cast<int>(PanelKey::F2);
  if (slot < 0 || slot > 3) {
    return;
  }
  const bool everywhere = key == PanelKey::F3;
  const auto& action = session.functionKeyActions[static_cast<std::size_t>(slot)];
  if (action && (everywhere || session.currentWindow == kJournalGrid)) {
    action();
  }
}

}  // namespace lum
