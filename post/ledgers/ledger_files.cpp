#include "post/ledgers/ledger_files.h"

#include <fmt/core.h>

#include <algorithm>

#include "platform/text.h"

namespace lum {

LedgerFiles::LedgerFiles(const DosPath& paths, int group, int ledgers, std::string_view folder)
    : mPaths(&paths),
      mGroup(group),
      mLedgers(ledgers),
      mDirectory(fmt::format("..\\GLed\\Ent-{}\\", group)) {
  if (folder != kCurrent) {
    mDirectory += fmt::format("{}\\", folder);
  }
}

std::filesystem::path LedgerFiles::clients() const {
  return mPaths->resolve(fmt::format("..\\CntMan\\Ent-{}\\Mascnt.dat", mGroup));
}

std::filesystem::path LedgerFiles::directory() const {
  return mPaths->resolve(mDirectory);
}

std::filesystem::path LedgerFiles::file(std::string_view prefix, std::string_view suffix) const {
  return mPaths->resolve(fmt::format("{}{}{}{}", mDirectory, prefix, mLedgers, suffix));
}

std::filesystem::path LedgerFiles::accounts() const {
  return file("Ltc-", ".Dat");
}
std::filesystem::path LedgerFiles::entries() const {
  return file("Led-", ".Dat");
}
std::filesystem::path LedgerFiles::headers() const {
  return file("Ljn-", ".Dat");
}
std::filesystem::path LedgerFiles::comments() const {
  return file("Lcm-", ".Dat");
}
std::filesystem::path LedgerFiles::counters() const {
  return file("Lct-", ".Dat");
}
std::filesystem::path LedgerFiles::ownNumberTable() const {
  return file("Rol-", ".dat");
}

std::filesystem::path LedgerFiles::chartNumberTable(int chartKind) const {
  const char* table = nullptr;
  switch (chartKind) {
    case 1:
    case 2:
      table = "RollAcP.dat";
      break;
    case 3:
    case 4:
    case 7:
      table = "RollAcT.dat";
      break;
    case 5:
    case 6:
    case 8:
      table = "RollAcC.dat";
      break;
    default:
      return {};
  }
  return mPaths->resolve(fmt::format("..\\GLed\\{}", table));
}

std::vector<std::string> LedgerFiles::periodFolders(FileOps& ops, const DosPath& paths, int group) {
  std::vector<std::string> folders{std::string(kCurrent)};
  const std::filesystem::path ledgers = paths.resolve(fmt::format("..\\GLed\\Ent-{}", group));
  if (!ops.isDirectory(ledgers)) {
    return folders;
  }
  for (const std::string& name : ops.list(ledgers)) {
    if (ops.isDirectory(ledgers / name) && isFolderName(name) &&
        !equalsIgnoreCase(name, kCurrent)) {
      folders.push_back(name);
    }
  }
  return folders;
}

bool LedgerFiles::isFolderName(std::string_view folder) {
  return !folder.empty() && folder != "." && folder != ".." &&
         folder.find_first_of("/\\:") == std::string_view::npos;
}

}  // namespace lum
