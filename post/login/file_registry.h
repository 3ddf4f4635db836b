#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dos_path.h"
#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "platform/record_file.h"
#include "platform/suite_records.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"

namespace lum {

// The parts of the current log-in that file names are made of.
struct FileNaming {
  std::string dataDirectory;    // D: the work area, or "A:" when working from floppy
  std::string workArea;         // W: always the hard-disk work area
  std::string systemDirectory;  // S: "..\System\Ent-" + group
  int entityNumber = 0;         // E: four digits
  int journalNumber = 1;        // J: two digits
  char periodLetter = 'M';      // P: "A" to "L", "M" or "O"
  int operatorNumber = 1;       // O: four digits in O4, plain in Op
};

// One logical name of the registry. The pattern's pieces in braces are
// replaced by the FileNaming values: {D} {W} {S} {E} {J} {P} {O4} {Op}.
struct RegistryEntry {
  std::string_view logicalName;
  std::string_view pattern;
  std::size_t recordLength;  // 0: a text file, read line by line
  int channel;               // the channel the older programs open it on
};

// Every logical name, in the order they are looked up. A record length is
// its layout's size; the invoice files (their layouts come with invoicing),
// the page files (their layouts live with the page commands, which check
// them against this table) and the log have theirs written out.
inline constexpr std::array<RegistryEntry, 25> kRegistryTable = {{
    {"counters", "{D}\\Lcn-{E}.dat", CounterRecord::kSize, 7},
    {"Oper", "{S}\\Oper.dat", OperatorRecord::kSize, 2},
    {"OperProf", "{S}\\OpP-{O4}.dat", OperatorProfileRecord::kSize, 50},
    {"Ini", "{D}\\Ini-{E}.dat", SetupRecord::kSize, 13},
    {"Jnl", "{D}\\Jnl-{E}.dat", JournalHeaderRecord::kSize, 1},
    {"An", "{D}\\An{J}{E}.dat", AnalysisAccountRecord::kSize, 2},
    {"Ax", "{D}\\Ax{J}{E}.dat", AnalysisExtraRecord::kSize, 9},
    {"GrdRecs", "{D}\\D{P}{J}{E}.dat", TransactionRecord::kSize, 3},
    {"GrdAms", "{D}\\A{P}{J}{E}.dat", AmountsRecord::kSize, 4},
    {"GstPers", "{D}\\G{P}{J}{E}.dat", ColumnTotalRecord::kSize, 5},
    {"GSTDate", "{D}\\GSTDate.dat", GstDateRecord::kSize, 23},
    {"Butce", "{D}\\Bdg-{E}.dat", BudgetRecord::kSize, 10},
    {"Invoice", "{D}\\Inv-{E}.dat", 238, 11},
    {"InvDetails", "{D}\\InD-{E}.dat", 97, 12},
    {"Customers", "{D}\\Cus-{E}.dat", 289, 14},
    {"Products", "{D}\\Prd-{E}.dat", 83, 15},
    {"ScrLoc", "{D}\\ScrLoc.Dat", WindowPositionRecord::kSize, 22},
    {"EntCoun", "{D}\\Entcoun.dat", CounterRecord::kSize, 5},
    {"Ent", "{D}\\Ent.dat", EntityRecord::kSize, 6},
    {"FontList", "FontList.ini", FontNameRecord::kSize, 8},
    {"DosyaYaz", "{D}\\DosyaYaz.dat", 28, 19},
    {"Kelam", "{D}\\Kelamlar.dat", 140, 20},
    {"lumini", "{W}\\lum.ini", 0, 21},
    {"RepPar", "..\\RpP-{Op}.Dat", ReportPrintSettings::kSize, 40},
    {"Log", "{D}\\Log.txt", 29, 24},
}};

// The record length of a logical name, 0 for a name not in the table.
constexpr std::size_t registeredRecordLength(std::string_view logicalName) {
  for (const RegistryEntry& entry : kRegistryTable) {
    if (entry.logicalName == logicalName) {
      return entry.recordLength;
    }
  }
  return 0;
}

// Every logical name, in the order they are looked up.
std::span<const RegistryEntry> registryEntries();
const RegistryEntry* findRegistryEntry(std::string_view logicalName);
std::string expandPattern(std::string_view pattern, const FileNaming& naming);

// Where a log-in that only reads the work area takes its files from
// (FileRegistry::readFrom), so that it never writes there.
class FileSource {
 public:
  virtual ~FileSource() = default;
  // The file that holds what the live file holds for this reading; a path
  // that does not exist stands for a file that is not there.
  virtual std::filesystem::path readPath(const std::filesystem::path& live) = 0;
  // A private file opened in place of the live one, which the log-in may
  // write without touching the live one.
  virtual std::filesystem::path privateFile(std::string_view logicalName,
                                            const std::filesystem::path& live) = 0;
};

// Opens the data files by logical name, one open file per name at a time.
class FileRegistry {
 public:
  FileRegistry(FileOps& ops, const DosPath& paths, Prompter& prompter);

  // From now on every file is read through the source and opened as its
  // private file; nullptr goes back to the live files.
  void readFrom(FileSource* source) { mSource = source; }

  // Opens (creating when missing) the record file of a logical name. A name
  // that is already open is closed first, since the journal or period it
  // was opened for may have changed. An unknown name is told to the user
  // ("The file NAME cannot be found") and gives nullptr. A missing folder
  // throws FileError, as does a missing file opened ReadOnly.
  RecordFile* open(std::string_view logicalName, const FileNaming& naming,
                   RecordFile::Access access = RecordFile::Access::ReadWrite);
  // The lines of a text file of the registry ("lumini"); nothing when the
  // file does not exist.
  std::optional<std::vector<std::string>> readLines(std::string_view logicalName,
                                                    const FileNaming& naming);

  bool isOpen(std::string_view logicalName) const;
  // The open file of a logical name; throws std::logic_error when it is not open.
  RecordFile& file(std::string_view logicalName);
  void close(std::string_view logicalName);
  void closeAll();

  // Whether a file of that Windows-style name exists, whatever its case.
  bool exists(std::string_view dosName) const;

  // The Windows-style name and the native path of a logical name's file
  // (the path to read it from, when reading from a source).
  std::string dosName(const RegistryEntry& entry, const FileNaming& naming) const;
  std::filesystem::path path(const RegistryEntry& entry, const FileNaming& naming) const;

 private:
  const RegistryEntry* lookUp(std::string_view logicalName);

  FileOps* mOps;
  const DosPath* mPaths;
  Prompter* mPrompter;
  FileSource* mSource = nullptr;
  std::map<std::string, RecordFile, std::less<>> mOpen;
};

}  // namespace lum
