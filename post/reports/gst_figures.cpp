#include "post/reports/gst_figures.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <type_traits>

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal.h"
#include "post/journals/journal_damage.h"
#include "post/journals/journal_files.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"
#include "post/reports/gst_trail_recorder.h"

namespace lum {
namespace {

// A GST amount stands for a supply or purchase eleven times its size.
constexpr std::int64_t kSupplyPerGst = 11;

}  // namespace

namespace {

// Calls f with the kind as a compile-time constant.
template <class F>
void withKind(GstRoute::Kind kind, F f) {
  using Kind = GstRoute::Kind;
  switch (kind) {
    case Kind::Ignored:
      return f(std::integral_constant<Kind, Kind::Ignored>());
    case Kind::Taxed:
      return f(std::integral_constant<Kind, Kind::Taxed>());
    case Kind::Free:
      return f(std::integral_constant<Kind, Kind::Free>());
    case Kind::GstAmount:
      return f(std::integral_constant<Kind, Kind::GstAmount>());
    case Kind::Split:
      return f(std::integral_constant<Kind, Kind::Split>());
    case Kind::ByRow:
      return f(std::integral_constant<Kind, Kind::ByRow>());
  }
}

}  // namespace

template <GstRoute::Kind kKind>
void GstClassifier::count(GstTally& tally, Currency amount, const GstRoute& route,
                          bool rowSaysGst) const {
  using Kind = GstRoute::Kind;
  if constexpr (kKind == Kind::Taxed) {
    taxed(tally, amount);
  } else if constexpr (kKind == Kind::Free) {
    free(tally, amount);
  } else if constexpr (kKind == Kind::GstAmount) {
    tally.gstAmount += amount;
    tally.hasGstAmount = true;
  } else if constexpr (kKind == Kind::Split) {
    const Currency exempt = amount.scaledBy(route.ratio);
    free(tally, exempt);
    taxed(tally, amount - exempt);
  } else if constexpr (kKind == Kind::ByRow) {
    if (rowSaysGst) {
      taxed(tally, amount);
    } else {
      free(tally, amount);
    }
  }
}

void GstClassifier::count(GstTally& tally, Currency amount, const GstRoute& route,
                          bool rowSaysGst) const {
  withKind(route.kind, [&](auto kind) { count<kind()>(tally, amount, route, rowSaysGst); });
}

void GstClassifier::free(GstTally& tally, Currency amount) {
  tally.free += amount;
  tally.hasFree = true;
}

void GstClassifier::taxed(GstTally& tally, Currency amount) const {
  tally.taxed += amount;
  tally.taxedGst += amount.scaledBy(mGstFraction);
  tally.hasTaxed = true;
}

// The free part first: a split amount's trail line lists its labels in
// that order.
void GstClassifier::add(const GstTally& tally, const GstRoute& route) {
  if (tally.hasFree) {
    addTo(route.income ? kFreeIncome : kFreePayments, tally.free);
    accumulate(tally.free, route.freeLabel);
  }
  if (tally.hasTaxed) {
    addTo(route.income ? kTaxedIncome : kTaxedPayments, tally.taxed);
    addTo(route.income ? kIncomeGst : kGstCredits, tally.taxedGst);
    accumulate(tally.taxed, route.taxedLabel);
  }
  if (tally.hasGstAmount) {
    // The supply moves from the free column to the taxed one.
    const Currency supply = tally.gstAmount * kSupplyPerGst;
    addTo(route.income ? kTaxedIncome : kTaxedPayments, supply);
    addTo(route.income ? kFreeIncome : kFreePayments, -supply);
    addTo(route.income ? kIncomeGst : kGstCredits, tally.gstAmount);
    accumulate(tally.gstAmount, route.taxedLabel);
  }
}

void GstClassifier::addTo(GstColumn column, Currency amount) {
  mRow[column] += amount;
  if (mLine != nullptr) {
    mLine->add(column, amount);
  }
}

void GstClassifier::accumulate(Currency amount, std::size_t label) {
  if (label == 0) {
    return;
  }
  mBas[label] += amount;
  if (mLine != nullptr) {
    mLine->addToLabel(static_cast<int>(label), amount);
  }
}

namespace {

// Every column's amounts tallied and added to the figures once. A block of
// records is gone through column by column, so the column's route stays
// the same over the inner loop.
void tallyColumns(FileOps& ops, const std::filesystem::path& amountsFile, int rows, int lastFixed,
                  int lastColumn, const std::vector<GstRoute>& routes,
                  const std::vector<char>& saysGst, GstClassifier& classifier) {
  std::vector<GstTally> tallies(routes.size());
  forEachRecordBlock<AmountsRecord::kSize>(
      ops, amountsFile, rows, [&](int first, std::span<const std::byte> block, std::size_t) {
        const std::size_t records = block.size() / AmountsRecord::kSize;
        const char* rowSaysGst = saysGst.data() + first;
        for (int c = lastFixed + 1; c <= lastColumn; ++c) {
          const auto i = static_cast<std::size_t>(c - lastFixed);
          const GstRoute& route = routes[i];
          withKind(route.kind, [&](auto kind) {
            GstTally tally = tallies[i];
            for (std::size_t r = 0; r < records; ++r) {
              const std::int64_t raw =
                  AmountsRecord::rawAt(block.subspan(r * AmountsRecord::kSize), c);
              if (raw != 0) {
                classifier.count<kind()>(tally, Currency::fromRaw(raw), route, rowSaysGst[r] != 0);
              }
            }
            tallies[i] = tally;
          });
        }
      });
  for (std::size_t i = 0; i < tallies.size(); ++i) {
    classifier.add(tallies[i], routes[i]);
  }
}

// Flattened: the classifier's routines are inlined into the loop over the
// amounts, which is where a GST report spends its time.
[[gnu::flatten]] void gatherJournal(Session& session, const GstSettings& settings,
                                    const JournalFiles& files, GstRow& row, BasAmounts& bas,
                                    JournalTrailRecorder* trail) {
  FileOps& ops = session.ops();
  if (!ops.exists(files.path("GrdRecs"))) {
    return;
  }
  const int lastFixed = lastFixedColumn(settings.postingMode);
  const auto amountsFile = files.path("GrdAms");
  // Named, not bound: lambdas below use them, which clang before 16 refuses
  // for structured bindings.
  const PeriodCounts counts = checkedCounts(session, files, session.login.periodLetter);
  const int rows = counts.rows;
  const int lastColumn = counts.lastColumn;
  const std::vector<AnalysisColumn> columns =
      files.analysisColumns(Journal::kMaxColumn - lastFixed);
  std::vector<GstRoute> routes;
  for (const AnalysisColumn& column : columns) {
    routes.push_back(GstRoute::of(GstAccount::of(column), settings));
  }
  if (trail != nullptr) {
    trail->read(session, files, rows, columns);
  }

  // The rows' GST letters, then their amounts, straight from the records'
  // bytes: this runs over every amount of every journal.
  std::vector<char> saysGst(static_cast<std::size_t>(rows) + 1);
  const std::size_t kGstLetter = fieldOffset<TransactionRecord>("gst");
  forEachRecordBytes<TransactionRecord::kSize>(
      ops, files.path("GrdRecs"), rows, [&](int t, std::span<const std::byte> bytes, bool) {
        const auto letter = static_cast<char>(bytes[kGstLetter]);
        saysGst[static_cast<std::size_t>(t)] = letter == 'Y' || letter == 'y' ? 1 : 0;
      });
  GstClassifier classifier(settings, row, bas);
  if (trail == nullptr) {
    tallyColumns(ops, amountsFile, rows, lastFixed, lastColumn, routes, saysGst, classifier);
  } else {
    forEachRecordBytes<AmountsRecord::kSize>(
        ops, amountsFile, rows, [&](int t, std::span<const std::byte> record, bool) {
          const bool rowSaysGst = saysGst[static_cast<std::size_t>(t)] != 0;
          bool anyAmount = false;
          for (int c = lastFixed + 1; c <= lastColumn; ++c) {
            const std::int64_t raw = AmountsRecord::rawAt(record, c);
            if (raw != 0) {
              const Currency amount = Currency::fromRaw(raw);
              const GstRoute& route = routes[static_cast<std::size_t>(c - lastFixed)];
              anyAmount = true;
              classifier.recordInto(trail->amount(t, c - lastFixed, amount, route, rowSaysGst));
              classifier.add(amount, route, rowSaysGst);
              trail->recorded();
            }
          }
          if (!anyAmount) {
            trail->noAmount(t);
          }
        });
  }

  if (settings.postingMode == PostingMode::OtherBusiness) {
    for (const GstColumn column : {kTaxedIncome, kIncomeGst, kFreeIncome}) {
      row[column] = -row[column];
    }
  }
  const Currency income = totalIncome(row);
  const Currency payg = income.scaledBy(settings.paygRate);
  row[kPayg] += payg;
  if (trail != nullptr) {
    trail->finish(settings, payg, income);
  }
}

// The labels the report prints negated in an other business's books.
BasAmounts signedForReport(BasAmounts accumulated, const GstSettings& settings) {
  if (settings.postingMode == PostingMode::OtherBusiness) {
    for (const std::size_t label : {2, 4, 7}) {
      accumulated[label] = -accumulated[label];
    }
  }
  return accumulated;
}

}  // namespace

GstFigures gatherGstFigures(Session& session,
                            const std::function<void(int done, int total)>& progress,
                            GstTrail* trail) {
  const GstSettings settings = GstSettings::of(session.login.setup);
  const JournalCount count = countJournals(session);
  const int journals = count.count;
  GstFigures figures;
  figures.damage.countProblem = count.problem;
  figures.journals.resize(static_cast<std::size_t>(journals));
  // The report adds the journals' rows and works out the BAS labels from
  // them: a journal whose figures cannot be added to the others' is left
  // out as well, so the report's own sums never overflow.
  GstRow sums{};
  for (int j = 1; j <= journals; ++j) {
    if (progress) {
      progress(j, 2 * journals);
    }
    GstRow& row = figures.journals[static_cast<std::size_t>(j - 1)];
    const BasAmounts before = figures.accumulated;
    const std::size_t damagedBefore = figures.damage.journals.size();
    const JournalFiles files(session, j);
    std::optional<JournalTrailRecorder> recorder;
    if (trail != nullptr) {
      recorder.emplace(*trail, j);
    }
    try {
      gatherJournal(session, settings, files, row, figures.accumulated,
                    recorder ? &*recorder : nullptr);
      GstRow withJournal = sums;
      for (std::size_t k = 0; k < kGstColumns; ++k) {
        withJournal[k] += row[k];
      }
      computeBas(withJournal, signedForReport(figures.accumulated, settings));
      sums = withJournal;
    } catch (const JournalDamaged& damaged) {
      row = GstRow{};
      figures.accumulated = before;
      figures.damage.journals.push_back(damaged.damage());
    } catch (const std::overflow_error&) {
      row = GstRow{};
      figures.accumulated = before;
      figures.damage.journals.push_back(
          overflowDamage(session, files, "GrdAms", session.login.periodLetter));
    }
    if (recorder && figures.damage.journals.size() > damagedBefore) {
      recorder->damaged(figures.damage.journals.back());
    }
  }
  figures.accumulated = signedForReport(figures.accumulated, settings);
  return figures;
}

Currency totalIncome(const GstRow& row) {
  return row[kTaxedIncome] - row[kIncomeGst] + row[kFreeIncome];
}

bool allZero(const GstRow& row) {
  return std::all_of(row.begin(), row.end(), [](Currency value) { return value.isZero(); });
}

GstRow totalsOf(const GstFigures& figures) {
  GstRow totals{};
  for (const GstRow& row : figures.journals) {
    for (std::size_t k = 0; k < kGstColumns; ++k) {
      totals[k] += row[k];
    }
  }
  return totals;
}

BasSummary computeBas(const GstRow& totals, const BasAmounts& accumulated) {
  const auto fix = [](Currency value) { return value.truncatedToDollars(); };
  const auto elevenths = [](Currency value) {
    return Currency::fromRaw(value.raw() / (kSupplyPerGst * Currency::kScale) * Currency::kScale);
  };
  BasSummary bas;
  BasAmounts& g = bas.labels;
  for (const std::size_t label : {2, 4, 7, 10, 13, 15}) {
    g[label] = accumulated[label];
  }
  // Total sales and purchases are the whole dollars of the amounts taken
  // and paid, GST included: eleven times the whole dollars of the GST would
  // leave out up to 10.99 of them.
  g[1] = fix(totals[kTaxedIncome] + totals[kFreeIncome]);
  g[5] = fix(totals[kFreeIncome]);
  g[3] = g[5] - (fix(g[2]) + fix(g[4]));
  g[6] = g[1] - g[5];
  g[8] = g[6] + fix(g[7]);
  g[9] = elevenths(g[8]);
  g[12] = fix(totals[kTaxedPayments] + totals[kFreePayments]);
  g[11] = g[12] - fix(g[10]);
  g[16] = fix(totals[kFreePayments]);
  g[14] = g[16] - (fix(g[13]) + fix(g[15]));
  g[17] = g[12] - g[16];
  g[19] = g[17] - fix(g[18]);
  g[20] = elevenths(g[19]);
  bas.netGstLiability = g[9] - g[20];
  return bas;
}

std::string_view basLabelTitle(std::size_t label) {
  static constexpr std::array<std::string_view, kBasLabels> kTitles = {
      "",
      "G1 - Total Suppies",
      "G2 - Exports",
      "G3 - Other GST free Supplies",
      "G4 - Input Taxed Icome",
      "G5 - Total GST free Supplies",
      "G6 - Total Gross Taxable Supplies",
      "G7 - Adjustments to Supplies",
      "G8 - Total Net Taxable Supplies",
      "G9 - GST Liability on Supplies",
      "G10- Capital Acquisitions",
      "G11- Other Acquisitions",
      "G12- Total Acquisitions",
      "G13- Acquisitons for Input Taxed Supplies",
      "G14- Acquisitions with no GST",
      "G15- Private Use Acquisitions",
      "G16- Total Non Credible Acquisitions",
      "G17- Gross Total Credible Acquisitions",
      "G18- Adjustments to Acquisitions",
      "G19- Net Credible Acquisitions",
      "G20- GST Credit on Acquisitions"};
  return label < kBasLabels ? kTitles[label] : std::string_view();
}

}  // namespace lum
