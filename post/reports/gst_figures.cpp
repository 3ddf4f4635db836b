#include "post/reports/gst_figures.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>

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

void GstClassifier::add(Currency amount, const GstRoute& route, bool rowSaysGst) {
  switch (route.kind) {
    case GstRoute::Kind::Ignored:
      break;
    case GstRoute::Kind::Taxed:
      taxed(amount, route);
      break;
    case GstRoute::Kind::Free:
      free(amount, route);
      break;
    case GstRoute::Kind::GstAmount:
      gstAmount(amount, route);
      break;
    case GstRoute::Kind::Split: {
      const Currency exempt = amount.scaledBy(route.ratio);
      free(exempt, route);
      taxed(amount - exempt, route);
      break;
    }
    case GstRoute::Kind::ByRow:
      if (rowSaysGst) {
        taxed(amount, route);
      } else {
        free(amount, route);
      }
      break;
  }
}

void GstClassifier::taxed(Currency amount, const GstRoute& route) {
  const Currency gst = amount.scaledBy(mGstFraction);
  if (route.income) {
    addTo(kTaxedIncome, amount);
    addTo(kIncomeGst, gst);
  } else {
    addTo(kTaxedPayments, amount);
    addTo(kGstCredits, gst);
  }
  accumulate(amount, route.taxedLabel);
}

void GstClassifier::gstAmount(Currency amount, const GstRoute& route) {
  const Currency supply = amount * kSupplyPerGst;
  if (route.income) {
    addTo(kTaxedIncome, supply);
    addTo(kFreeIncome, -supply);
    addTo(kIncomeGst, amount);
  } else {
    addTo(kTaxedPayments, supply);
    addTo(kFreePayments, -supply);
    addTo(kGstCredits, amount);
  }
  accumulate(amount, route.taxedLabel);
}

void GstClassifier::free(Currency amount, const GstRoute& route) {
  addTo(route.income ? kFreeIncome : kFreePayments, amount);
  accumulate(amount, route.freeLabel);
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
  static_assert(fieldOffset<AmountsRecord>("amounts") == 0);
  GstClassifier classifier(settings, row, bas);
  forEachRecordBytes<AmountsRecord::kSize>(
      ops, amountsFile, rows, [&](int t, std::span<const std::byte> record, bool) {
        const bool rowSaysGst = saysGst[static_cast<std::size_t>(t)] != 0;
        bool anyAmount = false;
        for (int c = lastFixed + 1; c <= lastColumn; ++c) {
          std::int64_t raw = 0;
          std::memcpy(&raw, record.data() + sizeof(raw) * static_cast<std::size_t>(c), sizeof(raw));
          if (raw != 0) {
            const Currency amount = Currency::fromRaw(raw);
            const GstRoute& route = routes[static_cast<std::size_t>(c - lastFixed)];
            if (trail != nullptr) {
              anyAmount = true;
              classifier.recordInto(trail->amount(t, c - lastFixed, amount, route, rowSaysGst));
            }
            classifier.add(amount, route, rowSaysGst);
            if (trail != nullptr) {
              trail->recorded();
            }
          }
        }
        if (trail != nullptr && !anyAmount) {
          trail->noAmount(t);
        }
      });

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
