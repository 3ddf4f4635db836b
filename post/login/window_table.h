#pragma once

#include <span>

namespace lum {

inline constexpr int kWindowCount = 19;

enum WindowIndex : int {
  kJournalsList = 0,
  kJournalGrid = 1,
  kJournalDetails = 2,
  kAccountList = 3,
  kBudget = 4,
  kEntitiesList = 5,
  kEntityDetails = 6,
  kTransfer = 7,
  kAccountNames = 8,
  kClientSelection = 9,
  kReportDisplay = 10,
  kConfiguration = 11,
  kFontSelection = 12,
  kReportRun = 13,
  kProgress = 14,
  kAccountDetails = 15,
  kFinancialReports = 16,
  kGstDetails = 17,  // the GST report's trail, opened from the report viewer
  kInvoice = 18,
};

// One window of the window table.
struct WindowSpec {
  int index;
  const char* formName;  // "" when the index has no window of its own
  const char* caption;
  int kind;  // input boxes per line; 0: not an input panel
  int visibleLines;
  int fixedLines;  // lines of a detail window; -1 when they come from a file
  bool isList;     // a scrolling list of records, else a detail window
  bool fillFlag;   // the two optional panel behaviours ("y" set)
  bool scrollFlag;
  int labelWidthTwips;
};

std::span<const WindowSpec> windowTable();
const WindowSpec& windowSpec(int index);

// A window's position in twips, as ScrLoc.Dat keeps it.
struct WindowPosition {
  float left = 0;
  float top = 0;
};

// Where a window goes when its stored position is off the screen.
// Nothing for the windows that keep whatever they had.
struct DefaultPosition {
  bool has = false;
  WindowPosition position;
};
DefaultPosition defaultWindowPosition(int index);

}  // namespace lum
