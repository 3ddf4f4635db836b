#include "post/login/session.h"

#include <stdexcept>

namespace lum {

Session::Session(FileOps& ops, const DosPath& paths, Prompter& prompter, const Clock& clock,
                 Waiter& waiter)
    : mOps(&ops),
      mPaths(&paths),
      mPrompter(&prompter),
      mClock(&clock),
      mRegistry(ops, paths, prompter),
      mLock(ops, clock, waiter) {}

Session::~Session() = default;

WindowHost& Session::host() {
  if (mHost == nullptr) {
    throw std::logic_error("The session has no windows to show");
  }
  return *mHost;
}

void Session::setWindowActions(int index, WindowActions actions) {
  mActions.at(static_cast<std::size_t>(index)) = std::move(actions);
}

const WindowActions& Session::windowActions(int index) const {
  return mActions.at(static_cast<std::size_t>(index));
}

void Session::setPanelHooks(int index, std::unique_ptr<PanelHooks> hooks) {
  const auto i = static_cast<std::size_t>(index);
  if (mPanels.at(i)) {
    mRetired.emplace_back(std::move(mHooks[i]), std::move(mPanels[i]));
  }
  mHooks.at(i) = std::move(hooks);
}

InputPanel* Session::panel(int index) {
  const auto i = static_cast<std::size_t>(index);
  if (!mPanels.at(i) && mHooks.at(i)) {
    const WindowSpec& entry = windowSpec(index);
    PanelSpec panelSpec;
    panelSpec.windowIndex = index;
    panelSpec.kind = entry.kind;
    panelSpec.visibleLines = entry.visibleLines;
    panelSpec.isList = entry.isList;
    panelSpec.labelWidthTwips = entry.labelWidthTwips;
    panelSpec.startAtEnd = index == kJournalsList || index == kEntitiesList;
    mPanels[i] = std::make_unique<InputPanel>(panelSpec, *mHooks[i], panelShared);
  }
  return mPanels[i].get();
}

int Session::currentLine(int index) const {
  const auto& panel = mPanels.at(static_cast<std::size_t>(index));
  return panel ? panel->currentLine() : 0;
}

FileNaming Session::naming() const {
  FileNaming naming;
  naming.dataDirectory = login.dataDirectory;
  naming.workArea = login.workArea;
  naming.systemDirectory = login.systemDirectory;
  naming.entityNumber = login.entityNumber;
  naming.journalNumber = currentLine(kJournalsList) + 1;
  naming.periodLetter = login.periodLetter;
  naming.operatorNumber = login.operatorNumber;
  return naming;
}

RecordFile* Session::open(std::string_view logicalName) {
  return mRegistry.open(logicalName, naming());
}

bool Session::workingFromFloppy() const {
  return login.dataDirectory == login.floppyDrive;
}

std::filesystem::path Session::rollbackFolder() const {
  return mPaths->resolve(login.workArea) / "Rollback";
}

}  // namespace lum
