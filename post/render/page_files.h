#pragma once

// The page files of a report: DosyaYaz.dat, the page commands, and
// Kelamlar.dat, their texts. Records 1 to 1000 of DosyaYaz.dat are the page
// headers (page p's in record p: its first and last command record), the
// commands follow from record 1001, numbered through the whole report.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/currency.h"
#include "platform/record_file.h"
#include "post/render/page_commands.h"
#include "post/render/page_records.h"

namespace lum {

// A page as the files hold it, read back for drawing.
struct StoredPage {
  struct Command {
    PageCommandRecord record;
    const PageCommandEntry* entry = nullptr;  // none: a code the table does not know
    std::size_t text = 0;                     // its text in texts, from 1; 0: none
  };
  std::vector<Command> commands;
  std::vector<std::string> texts;
  std::string fault;  // what is damaged, when something is

  // The text of a command, without its padding: a text that began with
  // blanks keeps them, so it stands where it stood when written.
  std::string_view textOf(const Command& command) const;
};

class PageFiles {
 public:
  static constexpr int kMaxPages = 999;
  static constexpr int kHeaderRecords = 1000;
  static constexpr int kMostCommandsAPage = 3000;

  // Attaching writes out what the files attached before still held back.
  void attach(RecordFile* commands, RecordFile* texts);
  // The files were closed under us: forgets them and what was held for them.
  void detach();
  bool attached() const { return mCommands != nullptr; }

  // The numbering starts again for a new report.
  void restart();
  // Writes out the records still held back: while a report is written its
  // commands and texts go to the files a page at a time.
  void flush();

  // Appends a command with its arguments in the fields its table entry
  // names; a text argument goes to Kelamlar.dat. Fields the command does
  // not use keep what the command before left in them, as the files always
  // had it.
  template <class... Args>
  void record(PageCommand command, const Args&... arguments) {
    const PageCommandEntry& entry = pageCommand(command);
    ++mCommandCounter;
    mBuffer.code = std::string(entry.code);
    std::size_t next = 0;
    (put(entry.field(next++), arguments), ...);
    hold(mHeldCommands, *mCommands, mCommandCounter, mBuffer.encode());
  }

  // Page header upkeep: the page begins at the command just recorded, ends
  // at it; the header after the last page marks the end of the report.
  void beginPageHeader(int page);
  void endPageHeader(int page);
  void endReportHeader(int pageAfterLast);

  // The pages of the report in the files: the headers before the end.
  int storedPageCount() const;
  // Reads page p's commands (at most kMostCommandsAPage) and their texts;
  // a damaged page comes back cut where the damage is, with its fault.
  // Nothing for a page number no header can have, or without files.
  std::optional<StoredPage> load(int page);

 private:
  // Consecutive records not yet written to one of the files.
  struct HeldRecords {
    std::int64_t first = 0;
    std::vector<std::byte> bytes;
  };
  static void hold(HeldRecords& held, RecordFile& file, std::int64_t number,
                   const std::vector<std::byte>& bytes);
  static void writeHeld(HeldRecords& held, RecordFile* file);

  void put(char field, float value);
  void put(char field, Currency value);
  void put(char field, std::string_view text);
  void put(char field, int value);
  template <class Enum>
  requires std::is_enum_v<Enum>
  void put(char field, Enum value) { put(field, static_cast<int>(value)); }

  RecordFile* mCommands = nullptr;
  RecordFile* mTexts = nullptr;
  int mCommandCounter = kHeaderRecords;
  int mTextCounter = 0;
  PageCommandRecord mBuffer;
  HeldRecords mHeldCommands;
  HeldRecords mHeldTexts;
};

}  // namespace lum
