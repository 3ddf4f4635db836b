#pragma once

// The page commands as the page files store them. One table gives, for each
// command, the code it is stored under in DosyaYaz.dat, the record field
// that holds each of its arguments, what it does and the procedure of Yazan
// that carries it out when a stored page is drawn again.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/currency.h"
#include "post/render/page_records.h"

namespace lum {

class Yazan;
class StoredCommand;

enum class PageCommand : std::uint8_t {
  BeginPage,
  EndPage,
  EndReport,
  MillimetreScale,
  ClearPage,
  MoveTo,
  TabTo,
  Text,
  Amount,
  NewLine,
  Font,
  Size,
  Bold,
  Regular,
  Italic,
  Upright,
  Underline,
  NoUnderline,
  StrikeOut,
  NoStrikeOut,
  TextColour,
  LineWidth,
  ThickRule,
  Rule,
  DoubleRule,
  VerticalRule,
  Line,
  ColourLine,
  Point,
  ColourBox,
  SettingsBox,
  HeadingBox,
  FillBoxes,
  OpenBoxes,
  BoxFillColour,
  Picture,
  ScaleMode,
  Orientation,
  Position,
};
inline constexpr std::size_t kPageCommandCount = 39;

struct PageCommandEntry {
  PageCommand command;
  // The code in the record: four letters, or three and a blank.
  std::string_view code;
  // The field of each argument in the procedure's order, one letter each:
  // A, B, D, E (32-bit floats), C (currency), or T for a text, which goes to
  // Kelamlar.dat with its record number in A.
  std::string_view fields;
  std::string_view meaning;
  void (*replay)(Yazan&, const StoredCommand&);

  // The field of argument i; none past the command's arguments.
  char field(std::size_t argument) const {
    return argument < fields.size() ? fields[argument] : '\0';
  }
  bool carriesText() const { return field(0) == 'T'; }
  // Drawing a stored page stops at its end.
  bool endsPage() const {
    return command == PageCommand::EndPage || command == PageCommand::EndReport;
  }
};

// Every command, in the order of PageCommand.
std::span<const PageCommandEntry, kPageCommandCount> pageCommands();
inline const PageCommandEntry& pageCommand(PageCommand command) {
  return pageCommands()[static_cast<std::size_t>(command)];
}
// The command stored under a code (trimmed of blanks); nothing for a code
// that is none of them.
const PageCommandEntry* findPageCommand(std::string_view code);

// The code of a page header in records 1 to 1000 of DosyaYaz.dat; the
// header after the last page has the code of EndReport.
inline constexpr std::string_view kPageHeaderCode = "Page";

// A stored number as the 16-bit integer a procedure takes: rounded, and
// held to the range so a damaged record cannot overflow.
int wholeOf(float value);

// One command of a stored page as its procedure takes it back: the
// arguments from the fields the table names, and its text.
class StoredCommand {
 public:
  StoredCommand(const PageCommandEntry& entry, const PageCommandRecord& record,
                std::string_view text)
      : mEntry(&entry), mRecord(&record), mText(text) {}

  // Argument i as an integer, a float as stored, an amount (field C).
  int whole(std::size_t argument) const;
  float real(std::size_t argument) const;
  Currency amount(std::size_t argument) const {
    return field(argument) == 'C' ? mRecord->c : Currency{};
  }
  std::string_view text() const { return mText; }

 private:
  char field(std::size_t argument) const { return mEntry->field(argument); }

  const PageCommandEntry* mEntry;
  const PageCommandRecord* mRecord;
  std::string_view mText;
};

}  // namespace lum
