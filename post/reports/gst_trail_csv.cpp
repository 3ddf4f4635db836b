#include "post/reports/gst_trail_csv.h"

#include <fmt/core.h>

#include "platform/csv.h"

namespace lum {
namespace {

std::string amountText(Currency value) {
  return decimalText(value, 4);
}

std::string labelsText(const GstTrailLine& line) {
  std::string text;
  line.forEachLabel([&](int label, Currency added) {
    text += fmt::format("{}G{} {}", text.empty() ? "" : " ", label, amountText(added));
  });
  return text;
}

// The row's own fields: journal, row, date, particulars, ref, account.
std::string rowFields(const GstTrail& trail, const GstTrailRow& row, int column) {
  return fmt::format("{},{},{},{},{},{}", row.journal, row.row, csvField(row.date),
                     csvField(row.particulars), csvField(row.reference),
                     csvField(trail.accountOf(row, column)));
}

}  // namespace

std::string trailCsv(const GstTrail& trail, const FigureTrail& figure) {
  const bool whole = figure.figure.kind == TrailFigure::Kind::Whole;
  // Between the route's share and the reason: the seven columns, the labels
  // and, for one figure, its share.
  const std::string blanks(whole ? 8 : 9, ',');
  std::string csv = "journal,row,date,particulars,ref,account,amount,route,share,1,2,3,4,5,6,7,BAS";
  csv += whole ? "" : "," + figure.figure.name();
  csv += ",reason\n";
  for (const FigureTrail::Share& share : figure.shares) {
    const GstTrailLine& line = trail.lines[share.line];
    csv += rowFields(trail, trail.rowOf(line), line.column);
    csv += fmt::format(",{},{},{}", amountText(line.amount), routeName(line.route),
                       line.share != 0 ? fmt::format("{}", line.share) : "");
    for (std::size_t k = 0; k < kGstColumns; ++k) {
      const Currency added = line.added(k);
      csv += "," + (added.isZero() ? std::string() : amountText(added));
    }
    csv += "," + labelsText(line);
    csv += whole ? "" : "," + amountText(share.amount);
    csv += ",\n";
  }
  if (!whole) {
    // Their words under the route, their amounts under the figure.
    const std::string toRoute(7, ',');
    const std::string toFigure(10, ',');
    if (figure.figure.kind == TrailFigure::Kind::Label) {
      csv += toRoute + "cents left out" + toFigure + amountText(figure.centsLeftOut) + ",\n";
    }
    csv += toRoute + "total" + toFigure + amountText(figure.value) + ",\n";
  }
  for (const GstLeftOut& out : trail.notCounted) {
    csv += rowFields(trail, trail.rowOf(out),
                     out.why == GstLeftOut::Why::AccountType ? out.column : 0);
    csv += "," + (out.amount.isZero() ? std::string() : amountText(out.amount)) + ",,";
    csv += blanks + "," + csvField(trail.reasonOf(out)) + "\n";
  }
  return csv;
}

}  // namespace lum
