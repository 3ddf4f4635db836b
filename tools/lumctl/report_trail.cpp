#include "tools/lumctl/report_trail.h"

#include <fmt/core.h>

#include <nlohmann/json.hpp>
#include <string>

#include "post/reports/gst_trail_csv.h"
#include "tools/lumctl/record_json.h"

namespace lum {
namespace {

using nlohmann::ordered_json;

// The row's own members: journal, row, date, particulars, ref, account.
ordered_json rowJson(const GstTrail& trail, const GstTrailRow& row, int column) {
  return {{"journal", row.journal}, {"row", row.row},
          {"date", row.date},       {"particulars", row.particulars},
          {"ref", row.reference},   {"account", std::string(trail.accountOf(row, column))}};
}

ordered_json lineJson(const GstTrail& trail, const GstTrailLine& line, const FigureTrail& figure,
                      Currency share) {
  ordered_json object = rowJson(trail, trail.rowOf(line), line.column);
  object["amount"] = currencyText(line.amount);
  object["route"] = std::string(routeName(line.route));
  // Kept as a float: written with the digits it has, 0.2 rather than 0.200000003.
  object["share"] =
      line.share != 0 ? ordered_json(std::stod(fmt::format("{}", line.share))) : ordered_json();
  ordered_json added = ordered_json::object();
  for (std::size_t k = 0; k < kGstColumns; ++k) {
    if (!line.added(k).isZero()) {
      added[std::to_string(k + 1)] = currencyText(line.added(k));
    }
  }
  line.forEachLabel(
      [&](int label, Currency value) { added[fmt::format("G{}", label)] = currencyText(value); });
  // A label worked out from the columns: the line's part of it.
  if (figure.figure.kind == TrailFigure::Kind::Label) {
    added[figure.figure.name()] = currencyText(share);
  }
  object["added"] = added;
  return object;
}

}  // namespace

std::string gstTrailText(Session& session, TrailFigure figure, bool json, DamageFound& damage) {
  GstTrail trail;
  trail.figure = figure;
  const GstFigures figures = gatherGstFigures(session, {}, &trail);
  damage = figures.damage;
  const FigureTrail found = figureTrail(trail, figures, figure);
  if (!json) {
    return trailCsv(trail, found);
  }
  ordered_json rows = ordered_json::array();
  for (const FigureTrail::Share& share : found.shares) {
    rows.push_back(lineJson(trail, trail.lines[share.line], found, share.amount));
  }
  ordered_json notCounted = ordered_json::array();
  for (const GstLeftOut& out : trail.notCounted) {
    ordered_json object =
        rowJson(trail, trail.rowOf(out), out.why == GstLeftOut::Why::AccountType ? out.column : 0);
    object["amount"] = currencyText(out.amount);
    object["reason"] = trail.reasonOf(out);
    notCounted.push_back(object);
  }
  const bool whole = figure.kind == TrailFigure::Kind::Whole;
  ordered_json answer = {
      {"label", figure.name()},
      {"figure", whole ? ordered_json() : ordered_json(currencyText(found.value))}};
  if (figure.kind == TrailFigure::Kind::Label) {
    answer["cents_left_out"] = currencyText(found.centsLeftOut);
  }
  answer["rows"] = rows;
  answer["not_counted"] = notCounted;
  return answer.dump(2) + "\n";
}

}  // namespace lum
