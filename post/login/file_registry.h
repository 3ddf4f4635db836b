#pragma once

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
