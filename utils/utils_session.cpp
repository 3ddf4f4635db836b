#include "utils/utils_session.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>

#include "platform/errors.h"
#include "platform/text.h"
#include "utils/utils_records.h"

namespace lum {
namespace {

constexpr int kMaxNumber = 9999;
constexpr int kExtendedRightsRecord = 402;
constexpr const char* kHelpFile = "OrvCashBooks.chm";
constexpr const char* kLocalHelpFolder = "c:\\orvlocal";
constexpr const char* kLocalHelpFile = "c:\\orvlocal\\OrvCashBooks.chm";

int fieldValue(std::string_view text) {
  const double value = leadingNumber(text);
  return static_cast<int>(std::clamp(std::trunc(value), -32768.0, 32767.0));
}

std::string withBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') {
    folder += '\\';
  }
  return folder;
}

}  // namespace

std::optional<UtilsCommandLine> parseUtilsCommandLine(std::string_view line) {
  UtilsCommandLine result;
  if (trim(line).empty()) {
    return result;
  }
  result.operatorNumber = fieldValue(line);
  std::string_view rest = line;
  for (int field = 1; field <= 3; ++field) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) {
      rest = {};
      break;
    }
    rest = rest.substr(blank + 1);
    if (field == 2) {
      result.ledgersNumber = fieldValue(rest);
    } else if (field == 3) {
      result.groupNumber = fieldValue(rest);
    }
  }
  if (result.operatorNumber < 1 || result.operatorNumber > kMaxNumber || result.groupNumber < 0 ||
      result.groupNumber > kMaxNumber) {
    return std::nullopt;
  }
  return result;
}

UtilsSession::UtilsSession(FileOps& ops, const DosPath& paths, Prompter& prompter,
                           const Clock& clock, Waiter& waiter, UtilsCommandLine commandLine)
    : mOps(&ops),
      mPaths(&paths),
      mPrompter(&prompter),
      mClock(&clock),
      mCommandLine(commandLine),
      mLock(ops, clock, waiter) {
  mFolders.workArea =
      fmt::format(".\\Ent-{}\\Op-{}", mCommandLine.groupNumber, mCommandLine.operatorNumber);
  mFolders.systemDirectory = fmt::format("..\\System\\Ent-{}", mCommandLine.groupNumber);
  mFolders.currentYearFolder = defaultCurrentYearFolder();
  mFolders.previousYearFolder = defaultPreviousYearFolder();
  mFolders.emailFolder = defaultEmailFolder();
  mFolders.storeFolder = mFolders.currentYearFolder;
}

std::string UtilsSession::groupFolder() const {
  return fmt::format(".\\Ent-{}", mCommandLine.groupNumber);
}
std::string UtilsSession::defaultCurrentYearFolder() const {
  return groupFolder() + "\\zip\\";
}
std::string UtilsSession::defaultPreviousYearFolder() const {
  return groupFolder() + "\\zip\\pyear\\";
}
std::string UtilsSession::defaultEmailFolder() const {
  return groupFolder() + "\\Email\\";
}

void UtilsSession::start() {
  for (const char* folder : {"", "\\zip", "\\Email", "\\zip\\PYear"}) {
    const auto path = resolve(groupFolder() + folder);
    if (!mOps->isDirectory(path)) {
      mOps->makeDirectory(path);
    }
  }
  if (!mOps->isDirectory(resolve(mFolders.workArea))) {
    mOps->makeDirectory(resolve(mFolders.workArea));
  }

  mHelpFile = kHelpFile;
  try {
    if (mOps->isDirectory(resolve(kLocalHelpFolder)) && mOps->exists(resolve(kLocalHelpFile))) {
      mHelpFile = kLocalHelpFile;
    }
  } catch (const FileError&) {
    // No drive C: on this machine: the help file beside the program.
  }

  readOperatorClass();
  readSavedFolders();
  mPreviousYear = false;
  mFolders.storeFolder = mFolders.currentYearFolder;
  mCurrent = UtilsWindow::Main;
  mOpener.fill(UtilsWindow::Main);
}

void UtilsSession::readOperatorClass() {
  if (mCommandLine.groupNumber == 0) {
    mOperatorClass = OperatorClass::GroupZero;
    return;
  }
  mOperatorClass = OperatorClass::Full;
  auto oper = open("Oper", RecordFile::Access::ReadOnly);
  if (oper->get<OperatorRecord>(mCommandLine.operatorNumber).kind !=
      OperatorRecord::kRestrictedKind) {
    return;
  }
  mOperatorClass = OperatorClass::Restricted;
  const auto profilePath = filePath("OperProf");
  if (profilePath && mOps->exists(*profilePath)) {
    auto profile = open("OperProf", RecordFile::Access::ReadOnly);
    if (profile->get<OperatorProfileRecord>(kExtendedRightsRecord).value == 1) {
      mOperatorClass = OperatorClass::ExtendedRights;
    }
  }
}

void UtilsSession::readSavedFolders() {
  const auto path = filePath("ZipPath");
  if (!path || !mOps->exists(*path)) {
    return;
  }
  auto file = open("ZipPath", RecordFile::Access::ReadOnly);
  const auto folder = [&](SavedFolder which) -> std::optional<std::string> {
    const int record = static_cast<int>(which);
    if (file->recordCount() < record) {
      return std::nullopt;
    }
    std::string text(trim(file->get<FolderRecord>(record).folder));
    return text.empty() ? std::nullopt : std::optional(withBackslash(text));
  };
  mFolders.currentYearFolder =
      folder(SavedFolder::CurrentYear).value_or(mFolders.currentYearFolder);
  mFolders.emailFolder = folder(SavedFolder::Email).value_or(mFolders.emailFolder);
  mFolders.previousYearFolder =
      folder(SavedFolder::PreviousYear).value_or(mFolders.previousYearFolder);
}

std::optional<std::filesystem::path> UtilsSession::filePath(std::string_view logicalName) {
  const std::string& work = mFolders.workArea;
  const std::string& system = mFolders.systemDirectory;
  std::string name;
  if (equalsIgnoreCase(logicalName, "EntCoun")) {
    name = work + "\\Entcoun.dat";
  } else if (equalsIgnoreCase(logicalName, "Ent")) {
    name = work + "\\Ent.dat";
  } else if (equalsIgnoreCase(logicalName, "EnList")) {
    name = mFolders.storeFolder + "EnList.Dat";
  } else if (equalsIgnoreCase(logicalName, "UtCount")) {
    name = mFolders.storeFolder + "UtCount.Dat";
  } else if (equalsIgnoreCase(logicalName, "ZipPath")) {
    name = work + "\\ZipPath.Cfg";
  } else if (equalsIgnoreCase(logicalName, "ScrLoc")) {
    name = work + "\\ScrLoc.Dat";
  } else if (equalsIgnoreCase(logicalName, "FontList")) {
    name = work + "\\FontList.ini";
  } else if (equalsIgnoreCase(logicalName, "Oper")) {
    name = system + "\\Oper.dat";
  } else if (equalsIgnoreCase(logicalName, "OperProf")) {
    name = fmt::format("{}\\OpP-{:04}.dat", system, mCommandLine.operatorNumber);
  } else if (equalsIgnoreCase(logicalName, "MailDets")) {
    name = work + "\\MailDets.dat";
  } else {
    mPrompter->message("The file " + std::string(logicalName) + " cannot be found");
    return std::nullopt;
  }
  return resolve(name);
}

std::optional<RecordFile> UtilsSession::open(std::string_view logicalName,
                                             RecordFile::Access access) {
  static constexpr std::pair<std::string_view, std::size_t> kLengths[] = {
      {"EntCoun", CounterRecord::kSize},
      {"Ent", EntityRecord::kSize},
      {"EnList", StoredEntityRecord::kSize},
      {"UtCount", CounterRecord::kSize},
      {"ZipPath", FolderRecord::kSize},
      {"ScrLoc", WindowPositionRecord::kSize},
      {"FontList", 32},
      {"Oper", OperatorRecord::kSize},
      {"OperProf", OperatorProfileRecord::kSize},
      {"MailDets", MailSettingsRecord::kSize},
  };
  const auto path = filePath(logicalName);
  if (!path) {
    return std::nullopt;
  }
  const auto* entry = std::find_if(std::begin(kLengths), std::end(kLengths), [&](const auto& e) {
    return equalsIgnoreCase(e.first, logicalName);
  });
  return RecordFile(*mOps, *path, entry->second, access);
}

void UtilsSession::saveFolder(SavedFolder which, const std::string& folder) {
  auto file = open("ZipPath");
  file->put(static_cast<int>(which), FolderRecord{folder});
  file->flush();
}

std::optional<std::pair<float, float>> UtilsSession::savedPosition(UtilsWindow window) {
  const auto path = filePath("ScrLoc");
  const auto record = static_cast<std::int64_t>(index(window)) + 1;
  if (!path || !mOps->exists(*path)) {
    return std::nullopt;
  }
  auto file = open("ScrLoc", RecordFile::Access::ReadOnly);
  if (file->recordCount() < record) {
    return std::nullopt;
  }
  const auto position = file->get<WindowPositionRecord>(record);
  if (!std::isfinite(position.left) || !std::isfinite(position.top) ||
      (position.left == 0 && position.top == 0)) {
    return std::nullopt;
  }
  return std::pair(position.left, position.top);
}

void UtilsSession::savePosition(UtilsWindow window, float left, float top) {
  auto file = open("ScrLoc");
  file->put(static_cast<std::int64_t>(index(window)) + 1, WindowPositionRecord{top, left});
  file->flush();
}

}  // namespace lum
