#include "post/render/page_commands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "post/render/yazan.h"

namespace lum {
namespace {

using Replay = void (*)(Yazan&, const StoredCommand&);

Align alignmentOf(Currency stored) {
  if (stored.raw() == 1 * Currency::kScale) {
    return Align::Left;
  }
  return stored.raw() == 2 * Currency::kScale ? Align::Right : Align::AtCursor;
}

Rgb colourValueOf(float stored) {
  return std::isfinite(stored) ? static_cast<Rgb>(std::clamp(stored, 0.0f, 16777215.0f)) : kBlack;
}

// clang-format off
constexpr std::array<PageCommandEntry, kPageCommandCount> kTable = {{
  {PageCommand::BeginPage, "SBas", "",
   "Begin a page: the next page number, a clear page, the set-up font and colours",
   [](Yazan& y, const StoredCommand&) { y.SBas(); }},
  {PageCommand::EndPage, "SBit", "",
   "End the page; a printer turns the sheet",
   [](Yazan& y, const StoredCommand&) { y.SBit(); }},
  {PageCommand::EndReport, "END", "",
   "End the report: count its pages and show page 1",
   [](Yazan& y, const StoredCommand&) { y.END(); }},
  {PageCommand::MillimetreScale, "SSet", "",
   "Measure the printer in millimetres",
   [](Yazan& y, const StoredCommand&) { y.SSet(); }},
  {PageCommand::ClearPage, "Sifi", "",
   "Clear the screen's page and bring it back to the top",
   [](Yazan& y, const StoredCommand&) { y.Sifi(); }},
  {PageCommand::MoveTo, "XYPo", "AB",
   "Move the current position to (x, y)",
   [](Yazan& y, const StoredCommand& s) { y.XYPo(s.whole(0), s.whole(1)); }},
  {PageCommand::TabTo, "Tabu", "A",
   "Move the current position across to x",
   [](Yazan& y, const StoredCommand& s) { y.Tabu(s.whole(0)); }},
  {PageCommand::Text, "Yazz", "TBC",
   "Write a text starting at x, ending at x, or at the current position",
   [](Yazan& y, const StoredCommand& s) {
     y.Yazz(s.text(), s.whole(1), alignmentOf(s.amount(2)));
   }},
  {PageCommand::Amount, "Para", "ACB",
   "Write an amount ending at x, in a style",
   [](Yazan& y, const StoredCommand& s) {
     y.Para(s.whole(0), s.amount(1), static_cast<AmountStyle>(s.whole(2)));
   }},
  {PageCommand::NewLine, "Sati", "",
   "End the line; past the bottom limit a new page begins first",
   [](Yazan& y, const StoredCommand&) { y.Sati(); }},
  {PageCommand::Font, "Font", "T",
   "Set the font by name",
   [](Yazan& y, const StoredCommand& s) { y.Font(s.text()); }},
  {PageCommand::Size, "Olcu", "A",
   "Set the font size in points",
   [](Yazan& y, const StoredCommand& s) { y.Olcu(s.whole(0)); }},
  {PageCommand::Bold, "Cift", "", "Bold on",
   [](Yazan& y, const StoredCommand&) { y.Cift(); }},
  {PageCommand::Regular, "Tek", "", "Bold off",
   [](Yazan& y, const StoredCommand&) { y.Tek(); }},
  {PageCommand::Italic, "Ital", "", "Italic on",
   [](Yazan& y, const StoredCommand&) { y.Ital(); }},
  {PageCommand::Upright, "ItlO", "", "Italic off",
   [](Yazan& y, const StoredCommand&) { y.ItlO(); }},
  {PageCommand::Underline, "ULin", "", "Underline on",
   [](Yazan& y, const StoredCommand&) { y.ULin(); }},
  {PageCommand::NoUnderline, "ULnO", "", "Underline off",
   [](Yazan& y, const StoredCommand&) { y.ULnO(); }},
  {PageCommand::StrikeOut, "STru", "", "Strike-through on",
   [](Yazan& y, const StoredCommand&) { y.STru(); }},
  {PageCommand::NoStrikeOut, "STrO", "", "Strike-through off",
   [](Yazan& y, const StoredCommand&) { y.STrO(); }},
  {PageCommand::TextColour, "Renk", "ABD",
   "Set the text colour: (1, 1, 1) the print settings', (-1, -1, c) the colour c, "
   "else red, green and blue",
   [](Yazan& y, const StoredCommand& s) { y.Renk(s.real(0), s.real(1), s.real(2)); }},
  {PageCommand::LineWidth, "Kaln", "A",
   "Set the width of later lines",
   [](Yazan& y, const StoredCommand& s) { y.Kaln(s.whole(0)); }},
  {PageCommand::ThickRule, "KCek", "AB",
   "Thick horizontal rule from x1 to x2 on the current line",
   [](Yazan& y, const StoredCommand& s) { y.KCek(s.whole(0), s.whole(1)); }},
  {PageCommand::Rule, "Ccek", "AB",
   "Thin horizontal rule from x1 to x2 on the current line",
   [](Yazan& y, const StoredCommand& s) { y.Ccek(s.whole(0), s.whole(1)); }},
  {PageCommand::DoubleRule, "Dcek", "AB",
   "Double horizontal rule from x1 to x2 on the current line, under totals",
   [](Yazan& y, const StoredCommand& s) { y.Dcek(s.whole(0), s.whole(1)); }},
  {PageCommand::VerticalRule, "Ccev", "AB",
   "Vertical rule from y1 to y2 at the current x",
   [](Yazan& y, const StoredCommand& s) { y.Ccev(s.whole(0), s.whole(1)); }},
  {PageCommand::Line, "DGen", "ABDE",
   "Line from (x1, y1) to (x2, y2)",
   [](Yazan& y, const StoredCommand& s) {
     y.DGen(s.whole(0), s.whole(1), s.whole(2), s.whole(3));
   }},
  {PageCommand::ColourLine, "Ccei", "ABDEC",
   "Line from (x1, y1) to (x2, y2) in a report colour",
   [](Yazan& y, const StoredCommand& s) {
     y.Ccei(s.whole(0), s.whole(1), s.whole(2), s.whole(3), static_cast<ReportColour>(s.whole(4)));
   }},
  {PageCommand::Point, "Nokt", "ABD",
   "A point at (x, y) in a report colour",
   [](Yazan& y, const StoredCommand& s) {
     y.Nokt(s.whole(0), s.whole(1), static_cast<ReportColour>(s.whole(2)));
   }},
  {PageCommand::ColourBox, "BBox", "ABDEC",
   "Box from (x1, y1) to (x2, y2) in a report colour",
   [](Yazan& y, const StoredCommand& s) {
     y.BBox(s.whole(0), s.whole(1), s.whole(2), s.whole(3), static_cast<ReportColour>(s.whole(4)));
   }},
  {PageCommand::SettingsBox, "CBox", "ABDE",
   "Box in the box colour of the print settings",
   [](Yazan& y, const StoredCommand& s) {
     y.CBox(s.whole(0), s.whole(1), s.whole(2), s.whole(3));
   }},
  {PageCommand::HeadingBox, "HBox", "ABDE",
   "Box in the heading-box colour",
   [](Yazan& y, const StoredCommand& s) {
     y.HBox(s.whole(0), s.whole(1), s.whole(2), s.whole(3));
   }},
  {PageCommand::FillBoxes, "BFOn", "", "Fill later boxes",
   [](Yazan& y, const StoredCommand&) { y.BFOn(); }},
  {PageCommand::OpenBoxes, "BFOf", "", "Leave later boxes open",
   [](Yazan& y, const StoredCommand&) { y.BFOf(); }},
  {PageCommand::BoxFillColour, "BFCl", "A",
   "Fill later boxes in a colour",
   [](Yazan& y, const StoredCommand& s) { y.BFCl(colourValueOf(s.real(0))); }},
  {PageCommand::Picture, "ResC", "TBCDE",
   "Paint a picture file into the rectangle at (x, y) of a width and height",
   [](Yazan& y, const StoredCommand& s) {
     y.ResC(s.text(), s.whole(1), s.amount(2), s.whole(3), s.whole(4));
   }},
  {PageCommand::ScaleMode, "OlcM", "A",
   "Set the scale mode, kept for the files",
   [](Yazan& y, const StoredCommand& s) { y.OlcM(static_cast<ScaleMode>(s.whole(0))); }},
  {PageCommand::Orientation, "OOri", "A",
   "Portrait (1) or landscape (2), with its bottom limit",
   [](Yazan& y, const StoredCommand& s) { y.OOri(static_cast<Orientation>(s.whole(0))); }},
  {PageCommand::Position, "Nere", "A",
   "The current position across (0) or down (any other axis)",
   [](Yazan& y, const StoredCommand& s) {
     y.Nere(s.real(0) != 0 ? Axis::Vertical : Axis::Horizontal);
   }},
}};
// clang-format on

constexpr bool inEnumOrder() {
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    if (static_cast<std::size_t>(kTable[i].command) != i) {
      return false;
    }
  }
  return true;
}
static_assert(inEnumOrder(), "the table follows the order of PageCommand");

// A code of up to four characters as one number, for the lookup.
constexpr std::uint32_t keyOf(std::string_view code) {
  std::uint32_t key = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    key = key << 8 | (i < code.size() ? static_cast<unsigned char>(code[i]) : 0u);
  }
  return key;
}

using CodeIndex = std::array<std::pair<std::uint32_t, const PageCommandEntry*>, kPageCommandCount>;

const CodeIndex& codeIndex() {
  static const CodeIndex index = [] {
    CodeIndex sorted;
    for (std::size_t i = 0; i < kTable.size(); ++i) {
      sorted[i] = {keyOf(kTable[i].code), &kTable[i]};
    }
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  }();
  return index;
}

}  // namespace

std::span<const PageCommandEntry, kPageCommandCount> pageCommands() {
  return kTable;
}

const PageCommandEntry* findPageCommand(std::string_view code) {
  if (code.empty() || code.size() > 4) {
    return nullptr;
  }
  const std::uint32_t key = keyOf(code);
  const CodeIndex& index = codeIndex();
  const auto found =
      std::lower_bound(index.begin(), index.end(), key,
                       [](const auto& entry, std::uint32_t k) { return entry.first < k; });
  return found != index.end() && found->first == key ? found->second : nullptr;
}

int wholeOf(float value) {
  if (!std::isfinite(value)) {
    return 0;
  }
  return static_cast<int>(std::lround(std::clamp(value, -32768.0f, 32767.0f)));
}

float StoredCommand::real(std::size_t argument) const {
  switch (field(argument)) {
    case 'A':
      return mRecord->a;
    case 'B':
      return mRecord->b;
    case 'D':
      return mRecord->d;
    case 'E':
      return mRecord->e;
    default:
      return 0;
  }
}

int StoredCommand::whole(std::size_t argument) const {
  if (field(argument) != 'C') {
    return wholeOf(real(argument));
  }
  // Held to the 16-bit range before rounding, so no stored amount overflows.
  const std::int64_t raw = std::clamp<std::int64_t>(mRecord->c.raw(), -32768 * Currency::kScale,
                                                    32767 * Currency::kScale);
  return static_cast<int>((raw + (raw < 0 ? -Currency::kScale / 2 : Currency::kScale / 2)) /
                          Currency::kScale);
}

}  // namespace lum
