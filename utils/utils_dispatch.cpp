#include "utils/utils_dispatch.h"

namespace lum {
namespace {

constexpr UtilsCommand kCommands[] = {
    {"Command4", "&Store Away", false},
    {"Command5", "&Bring Back", false},
    {"Command6", "&Zip to", true},
    {"Command7", "&Unzip from", true},
    {"Command12", "Zip to &Email", true},
    {"Command13", "Unzip from E&mail", true},
    {"Command3", "Emai&l to Accountant", false},
    {"Command18", "Set &Email", false},
    {"Command2", "&Delete Stored Entity", true},
    {"Command9", "&Re Create Names List", true},
    {"Command14", "Storage: Cu&rrent Year", true},
    {"Command15", "Storage: Pre&vious Year", true},
    {"Command17", "Trans Current to &Prev", true},
    {"Command10", "Search &Text", false},
    {"Command1", "E&xit", false},
};

}  // namespace

std::span<const UtilsCommand> utilsCommands() {
  return kCommands;
}

bool commandEnabled(const UtilsSession& session, const UtilsCommand& command) {
  return !(command.restricted && session.isRestricted());
}

std::string windowCaption(UtilsWindow window) {
  switch (window) {
    case UtilsWindow::Main:
      return "Data Manager  - Ver 08/01/06";
    case UtilsWindow::Store:
      return "Store Data Away";
    case UtilsWindow::Restore:
      return "Bring Data Back";
    case UtilsWindow::StoreFolder:
      return "Set/Amend Current Year Store Folder";
    case UtilsWindow::EmailFolder:
      return "Set/Amend Email Folder";
    case UtilsWindow::PreviousFolder:
      return "Set/Amend Previous Year Folder";
    case UtilsWindow::Mail:
      return "E-mail";
  }
  return {};
}

std::string folderLabel(UtilsWindow window) {
  switch (window) {
    case UtilsWindow::StoreFolder:
      return "Current Year Store Folder";
    case UtilsWindow::EmailFolder:
      return "Email Folder";
    case UtilsWindow::PreviousFolder:
      return "Previous Year Folder";
    default:
      return {};
  }
}

std::pair<int, int> windowSizeTwips(UtilsWindow window) {
  switch (window) {
    case UtilsWindow::Main:
      return {9600, 7200};
    case UtilsWindow::Store:
    case UtilsWindow::Restore:
      return {4575, 3580};
    case UtilsWindow::Mail:
      return {8055, 9960};
    default:
      return {6000, 2400};
  }
}

bool UtilsDispatch::open(UtilsWindow window) {
  const UtilsWindow from = mSession->currentWindow();
  if (window == UtilsWindow::Mail &&
      static_cast<int>(from) >= static_cast<int>(UtilsWindow::Mail)) {
    return false;
  }
  if (window == from) {
    return false;
  }
  mSession->setOpener(window, from);
  mSession->setCurrentWindow(window);
  mHost->showWindow(window, mSession->savedPosition(window));
  return true;
}

void UtilsDispatch::close(UtilsWindow window) {
  const auto [left, top] = mHost->hideWindow(window);
  mSession->savePosition(window, left, top);
  if (window == UtilsWindow::Main) {
    mHost->endProgram();
    return;
  }
  const UtilsWindow back = mSession->openerOf(window);
  mSession->setCurrentWindow(back);
  mHost->showWindow(back, std::nullopt);
}

void UtilsDispatch::showMain() {
  mSession->setCurrentWindow(UtilsWindow::Main);
  mHost->showWindow(UtilsWindow::Main, mSession->savedPosition(UtilsWindow::Main));
}

std::vector<std::string> StoredList::fillListLine(int record) {
  if (record < 1 || record > lineCount()) {
    return {std::string()};
  }
  return {mTexts[static_cast<std::size_t>(record - 1)]};
}

}  // namespace lum
