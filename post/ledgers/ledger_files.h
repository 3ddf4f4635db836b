#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dos_path.h"

namespace lum {

// Where the files of one ledgers client are, beside the program directory:
// the suite's client list in "..\CntMan\Ent-G\", the client's ledgers in
// "..\GLed\Ent-G\", or in a period folder of it (a year the ledgers
// program has put aside). Names are found in any letter case.
class LedgerFiles {
 public:
  static constexpr std::string_view kCurrent = "Current";

  // folder: kCurrent, or the name of a period folder (see periodFolders).
  LedgerFiles(const DosPath& paths, int group, int ledgers, std::string_view folder = kCurrent);

  int ledgers() const { return mLedgers; }
  std::filesystem::path clients() const;  // Mascnt.dat
  std::filesystem::path directory() const;
  std::filesystem::path accounts() const;  // Ltc-N.Dat
  std::filesystem::path entries() const;   // Led-N.Dat
  std::filesystem::path headers() const;   // Ljn-N.Dat
  std::filesystem::path comments() const;  // Lcm-N.Dat
  std::filesystem::path counters() const;  // Lct-N.Dat
  // The client's own account-number table, Rol-N.dat.
  std::filesystem::path ownNumberTable() const;
  // The standard table of a chart kind (1 to 8): RollAcP.dat, RollAcT.dat
  // or RollAcC.dat in "..\GLed\"; empty for any other kind.
  std::filesystem::path chartNumberTable(int chartKind) const;

  // The choices of the ledgers period: kCurrent, then the group's period
  // folders by name.
  static std::vector<std::string> periodFolders(FileOps& ops, const DosPath& paths, int group);
  // A folder name that stays inside the group's ledgers folder: one part,
  // not "." or "..".
  static bool isFolderName(std::string_view folder);

 private:
  std::filesystem::path file(std::string_view prefix, std::string_view suffix) const;

  const DosPath* mPaths;
  int mGroup;
  int mLedgers;
  std::string mDirectory;  // as a DOS name, ending in "\"
};

}  // namespace lum
