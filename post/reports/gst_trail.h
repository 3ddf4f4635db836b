#pragma once

// The GST report's audit trail: for every amount the gathering looks at,
// which row and account it came from, the way the GST rules took it and
// what it added to each report column and BAS label. It is recorded by the
// gathering itself (gatherGstFigures with a trail), from the same
// decisions that make the figures, so the trail of a figure adds up to it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "post/journals/journal_damage.h"
#include "post/login/journal_records.h"
#include "post/reports/gst_figures.h"

namespace lum {

// A figure of the GST report: a report column (C1 to C7), a BAS label (G1
// to G20), or the whole report.
struct TrailFigure {
  enum class Kind : std::uint8_t { Whole, Column, Label };
  Kind kind = Kind::Whole;
  int number = 0;

  static TrailFigure column(int n) { return {Kind::Column, n}; }
  static TrailFigure label(int n) { return {Kind::Label, n}; }
  // "C1" to "C7", "G1" to "G20" (either case); nothing for anything else.
  static std::optional<TrailFigure> parse(std::string_view text);
  // "C3", "G1"; "all" for the whole report.
  std::string name() const;
  // As the details window lists it: "Income subject to GST"; a label as
  // the report prints it ("G12- Total Acquisitions").
  std::string title() const;
  bool operator==(const TrailFigure&) const = default;
};

// The rows the trail's lines come from.
struct GstTrailRow {
  int journal = 0;
  int row = 0;  // 0: the journal itself (its PAYG line, its damage)
  std::string date;
  std::string particulars;
  std::string reference;
};

// How the GST rules took an amount.
enum class TrailRoute : std::uint8_t {
  Taxed,       // the account says GST applies
  TaxedByRow,  // the account leaves it to the row, whose letter is "Y"
  Free,        // the account says GST never applies
  FreeByRow,   // the account leaves it to the row, whose letter is not "Y"
  GstAmount,   // the amount is the GST itself
  Split,       // an exempt or private-use ratio: that share free, the rest taxed
  Payg,        // the journal's PAYG instalment on its total income
};
// "taxed", "taxed by row", "free", "free by row", "GST amount", "split", "PAYG".
std::string_view routeName(TrailRoute route);

// One amount the report counted, with what it added to the report's
// columns (three at most) and to the BAS labels it feeds directly (G2, G4,
// G7, G10, G13, G15; two at most), in 64 bytes: a large book has millions.
class GstTrailLine {
 public:
  std::uint32_t row = 0;     // in GstTrail::rows
  std::uint16_t column = 0;  // analysis column from 1; 0 for a PAYG line
  TrailRoute route = TrailRoute::Taxed;

 private:
  std::array<std::uint8_t, 3> mColumns{};  // report column + 1; 0: unused
  std::array<std::uint8_t, 2> mLabels{};   // label number; 0: unused

 public:
  float share = 0;  // Split: the part without GST; PAYG: the rate
  Currency amount;

  // What it added to a report column (kTaxedIncome to kPayg), and to a label.
  Currency added(std::size_t reportColumn) const;
  Currency addedToLabel(int label) const;
  // Each label it added to, with the figure.
  template <class Visit>
  void forEachLabel(Visit visit) const {
    for (std::size_t i = 0; i < mLabels.size() && mLabels[i] != 0; ++i) {
      visit(static_cast<int>(mLabels[i]), mLabelAdded[i]);
    }
  }
  void add(std::size_t reportColumn, Currency figure);
  void addToLabel(int label, Currency figure);
  // Turns the sign of what it added to the column or the label.
  void turn(std::size_t reportColumn);
  void turnLabel(int label);

 private:
  std::array<Currency, 3> mAdded{};
  std::array<Currency, 2> mLabelAdded{};
};

// An amount, row or journal the report left out.
struct GstLeftOut {
  enum class Why : std::uint8_t { AccountType, NoAmount, Damaged };
  std::uint32_t row = 0;  // in GstTrail::rows
  // AccountType: the analysis column; Damaged: the damage in GstTrail::damage.
  std::uint16_t column = 0;
  Why why = Why::NoAmount;
  Currency amount;
};

// An analysis column of a journal as the trail names it.
struct TrailAccount {
  std::string name;
  AccountType type{' '};
};

struct GstTrail {
  // What the gathering keeps: the lines with a share in `figure` (every
  // line for the whole report), and the amounts left out. A full period
  // of a large book has millions of amounts: the trail of one figure
  // keeps only its own.
  TrailFigure figure;
  bool keepLines = true;
  bool keepLeftOut = true;

  std::vector<GstTrailRow> rows;
  std::vector<GstTrailLine> lines;
  std::vector<GstLeftOut> notCounted;
  std::vector<std::vector<TrailAccount>> accounts;  // by journal - 1, column - 1
  std::vector<JournalDamage> damage;                // the journals left out as damaged

  const GstTrailRow& rowOf(const GstTrailLine& line) const { return rows[line.row]; }
  const GstTrailRow& rowOf(const GstLeftOut& out) const { return rows[out.row]; }
  // The account of an analysis column of a row's journal; "" for none.
  std::string_view accountOf(const GstTrailRow& row, int column) const;
  // Why it was left out, in words.
  std::string reasonOf(const GstLeftOut& out) const;
};

// The trail of one figure: the lines with a share in it, and the figure as
// the report shows it.
struct FigureTrail {
  struct Share {
    std::uint32_t line = 0;  // in GstTrail::lines
    Currency amount;
  };
  TrailFigure figure;
  Currency value;  // as the report shows it (nothing for the whole report)
  std::vector<Share> shares;
  // value less the shares: the cents a BAS label in whole dollars leaves
  // out (zero for the columns and the labels the amounts add to directly).
  Currency centsLeftOut;
};

// What a line gives a figure: a column's figure added, or the line's part
// of a label before the label is cut to whole dollars.
Currency shareOf(const GstTrailLine& line, TrailFigure figure);

// The lines of the figure (every line for the whole report) and its value
// from the figures the trail was gathered with (for the figure it kept, or
// the whole report).
FigureTrail figureTrail(const GstTrail& trail, const GstFigures& figures, TrailFigure figure);

// Every figure the trail can be asked for, in the report's order: C1 to
// C7, then G1 to G20.
std::vector<TrailFigure> trailFigures();

}  // namespace lum
