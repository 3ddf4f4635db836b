#include "tools/lumctl/report_command.h"

#include <fmt/core.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>
#include <ostream>

#include "platform/text.h"
#include "post/login/journal_records.h"
#include "post/reports/gst_figures.h"
#include "tools/lumctl/headless.h"
#include "tools/lumctl/record_json.h"

namespace lum {
namespace {

using nlohmann::ordered_json;

ordered_json amounts(const GstRow& row) {
  ordered_json array = ordered_json::array();
  for (const Currency value : row) {
    array.push_back(currencyText(value));
  }
  return array;
}

// The GST report's figures: each journal with a figure, the totals, the
// BAS labels G1 to G20 and the net GST liability.
ordered_json gstJson(Session& session, Prompter& prompter) {
  const GstFigures figures = gatherGstFigures(session);
  for (const int journal : figures.leftOut) {
    prompter.message(leftOutMessage(journal));
  }
  ordered_json journals = ordered_json::array();
  for (std::size_t j = 0; j < figures.journals.size(); ++j) {
    const GstRow& row = figures.journals[j];
    if (allZero(row)) {
      continue;
    }
    const int number = static_cast<int>(j) + 1;
    journals.push_back(
        {{"journal", number},
         {"name", std::string(trim(session.file("Jnl").get<JournalHeaderRecord>(number).name))},
         {"columns", amounts(row)}});
  }
  const GstRow totals = totalsOf(figures);
  const BasSummary summary = computeBas(totals, figures.accumulated);
  ordered_json bas = ordered_json::object();
  for (std::size_t label = 1; label < kBasLabels; ++label) {
    bas[fmt::format("G{}", label)] = currencyText(summary.labels[label]);
  }
  return {{"journals", journals},
          {"totals", amounts(totals)},
          {"bas", bas},
          {"net_gst_liability", currencyText(summary.netGstLiability)}};
}

}  // namespace

int runReport(const GlobalOptions& global, const ReportOptions& options, std::ostream&,
              std::ostream& err) {
  StreamPrompter prompter(err);
  try {
    HeadlessLogin login(global, prompter);
    if (!login.open()) {
      return kExitRefused;
    }
    Session& session = login.session();
    if (!selectPeriod(session, options.period, err)) {
      return kExitUsage;
    }
    const std::string text = gstJson(session, prompter).dump(2) + "\n";
    session.ops().writeFile(options.out, std::as_bytes(std::span(text.data(), text.size())));
    return kExitSuccess;
  } catch (const std::exception& error) {
    fmt::print(err, "lumctl: {}\n", error.what());
    return kExitRefused;
  }
}

}  // namespace lum
