#include "post/reports/gst_figures.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/record_blocks.h"
#include "platform/text.h"
#include "post/journals/journal.h"
#include "post/journals/journal_files.h"
#include "post/journals/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"

namespace lum {
namespace {

// A GST amount stands for a supply or purchase eleven times its size.
constexpr std::int64_t kSupplyPerGst = 11;

double ratioOf(double value) {
  return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
}

bool isCategory(const GstAccount& account, std::initializer_list<int> categories) {
  return std::any_of(categories.begin(), categories.end(),
                     [&](int category) { return account.category == category; });
}

bool isIncome(const GstAccount& account) {
  return account.type == "S" || account.type == "I";
}

// Balance-sheet, tax, contribution and wages accounts stay out of the report.
bool isIgnored(const GstAccount& account) {
  return account.type.size() == 1 &&
         std::string_view("TALMPDNW").find(account.type[0]) != std::string_view::npos;
}

int countOf(Currency value, int limit) {
  return static_cast<int>(std::clamp<std::int64_t>(value.raw() / Currency::kScale, 0, limit));
}

}  // namespace

GstSettings GstSettings::of(const SetupValues& setup) {
  GstSettings settings;
  settings.gstRate = std::isfinite(setup.gstRate) && setup.gstRate != 0 ? setup.gstRate : 0.1;
  settings.paygRate = std::isfinite(setup.paygRate) ? setup.paygRate : 0;
  settings.exemptSalesRatio = ratioOf(setup.exemptSalesRatio);
  settings.exemptPurchaseRatio = ratioOf(setup.exemptPurchaseRatio);
  settings.postingMode = setup.postingMode;
  return settings;
}

void GstClassifier::classify(Currency amount, const GstAccount& account,
                             std::string_view gstIndicator) {
  if (isIgnored(account)) {
    return;
  }
  if (account.gstApplies == "Y") {
    taxed(amount, account);
  } else if (account.gstApplies == "N") {
    free(amount, account);
  } else if (account.gstApplies == "T") {
    gstAmount(amount, account);
  } else if (account.type == "S" && mSettings.exemptSalesRatio != 0) {
    split(amount, mSettings.exemptSalesRatio, account);
  } else if (account.type == "C" && mSettings.exemptPurchaseRatio != 0) {
    split(amount, mSettings.exemptPurchaseRatio, account);
  } else if (account.privateUseRatio != 0) {
    split(amount, account.privateUseRatio, account);
  } else if (toUpper(trim(gstIndicator)) == "Y") {
    taxed(amount, account);
  } else {
    free(amount, account);
  }
}

void GstClassifier::split(Currency amount, double ratio, const GstAccount& account) {
  const Currency exempt = amount.scaledBy(ratio);
  free(exempt, account);
  taxed(amount - exempt, account);
}

void GstClassifier::taxed(Currency amount, const GstAccount& account) {
  const Currency gst = amount.scaledBy(mSettings.gstRate / (1 + mSettings.gstRate));
  if (isIncome(account)) {
    mRow[kTaxedIncome] += amount;
    mRow[kIncomeGst] += gst;
    if (isCategory(account, {7})) {
      accumulate(amount, account);
    }
  } else {
    mRow[kTaxedPayments] += amount;
    if (isCategory(account, {10, 18}) || account.type == "F") {
      accumulate(amount, account);
    }
    mRow[kGstCredits] += gst;
  }
}

void GstClassifier::gstAmount(Currency amount, const GstAccount& account) {
  const Currency supply = amount * kSupplyPerGst;
  if (isIncome(account)) {
    mRow[kTaxedIncome] += supply;
    mRow[kFreeIncome] -= supply;
    mRow[kIncomeGst] += amount;
    if (isCategory(account, {7})) {
      accumulate(amount, account);
    }
  } else {
    mRow[kTaxedPayments] += supply;
    mRow[kFreePayments] -= supply;
    if (isCategory(account, {10, 18}) || account.type == "F") {
      accumulate(amount, account);
    }
    mRow[kGstCredits] += amount;
  }
}

void GstClassifier::free(Currency amount, const GstAccount& account) {
  if (isIncome(account)) {
    mRow[kFreeIncome] += amount;
    if (isCategory(account, {2, 4})) {
      accumulate(amount, account);
    }
  } else {
    mRow[kFreePayments] += amount;
    if (isCategory(account, {10, 13, 15}) || account.type == "F") {
      accumulate(amount, account);
    }
  }
}

void GstClassifier::accumulate(Currency amount, const GstAccount& account) {
  const double label = account.type == "F" ? 10 : account.category;
  for (const int fed : {2, 4, 7, 10, 13, 15}) {
    if (label == fed) {
      mBas[static_cast<std::size_t>(fed)] += amount;
    }
  }
}

namespace {

// The accounts of a journal's analysis columns, by column from 1.
std::vector<GstAccount> accountsOf(FileOps& ops, const JournalFiles& files, int columns) {
  std::vector<GstAccount> accounts(static_cast<std::size_t>(columns) + 1);
  forEachRecord<AnalysisAccountRecord>(
      ops, files.path("An"), columns, [&](int k, const AnalysisAccountRecord& record) {
        GstAccount& account = accounts[static_cast<std::size_t>(k)];
        account.type = toUpper(trim(record.accountType));
        account.gstApplies = toUpper(trim(record.gstCode));
      });
  forEachRecord<AnalysisExtraRecord>(
      ops, files.path("Ax"), columns, [&](int k, const AnalysisExtraRecord& record) {
        GstAccount& account = accounts[static_cast<std::size_t>(k)];
        account.category = std::isfinite(record.basClassification) ? record.basClassification : 0;
        account.privateUseRatio = ratioOf(record.exemptRatio);
      });
  return accounts;
}

void gatherJournal(Session& session, const GstSettings& settings, int journal, GstRow& row,
                   BasAmounts& bas) {
  FileOps& ops = session.ops();
  const JournalFiles files(session, journal);
  if (!ops.exists(files.path("GrdRecs"))) {
    return;
  }
  const int lastFixed =
      settings.postingMode == 3 ? Journal::kModeThreeLastFixed : Journal::kModeZeroLastFixed;
  const auto amountsFile = files.path("GrdAms");
  int rows = 0;
  int lastColumn = 0;
  forEachRecord<AmountsRecord>(ops, amountsFile, 1, [&](int, const AmountsRecord& header) {
    rows = countOf(header.amounts[1], Journal::kMaxRows);
    lastColumn = countOf(header.amounts[2], Journal::kMaxColumn);
  });
  const std::vector<GstAccount> accounts = accountsOf(ops, files, Journal::kMaxColumn - lastFixed);

  // The rows' GST letters first, then their amounts: two passes a block at a time.
  std::vector<std::string> indicators(static_cast<std::size_t>(rows) + 1);
  forEachRecord<TransactionRecord>(ops, files.path("GrdRecs"), rows,
                                   [&](int t, const TransactionRecord& record) {
                                     indicators[static_cast<std::size_t>(t)] = record.gst;
                                   });
  GstClassifier classifier(settings, row, bas);
  forEachRecord<AmountsRecord>(ops, amountsFile, rows, [&](int t, const AmountsRecord& record) {
    for (int c = lastFixed + 1; c <= lastColumn; ++c) {
      const Currency amount = record.amounts[static_cast<std::size_t>(c)];
      if (!amount.isZero()) {
        classifier.classify(amount, accounts[static_cast<std::size_t>(c - lastFixed)],
                            indicators[static_cast<std::size_t>(t)]);
      }
    }
  });

  if (settings.postingMode == 3) {
    for (const GstColumn column : {kTaxedIncome, kIncomeGst, kFreeIncome}) {
      row[column] = -row[column];
    }
  }
  row[kPayg] += totalIncome(row).scaledBy(settings.paygRate);
}

}  // namespace

GstFigures gatherGstFigures(Session& session,
                            const std::function<void(int done, int total)>& progress) {
  const GstSettings settings = GstSettings::of(session.login.setup);
  const int journals = std::max<int>(
      0,
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value);
  GstFigures figures;
  figures.journals.resize(static_cast<std::size_t>(journals));
  for (int j = 1; j <= journals; ++j) {
    if (progress) {
      progress(j, 2 * journals);
    }
    GstRow& row = figures.journals[static_cast<std::size_t>(j - 1)];
    const BasAmounts before = figures.accumulated;
    try {
      gatherJournal(session, settings, j, row, figures.accumulated);
    } catch (const std::overflow_error&) {
      // A damaged amount near the limits of the file format: the journal
      // is left out whole, rather than counted in part.
      row = GstRow{};
      figures.accumulated = before;
      figures.leftOut.push_back(j);
    }
  }
  if (settings.postingMode == 3) {
    for (const std::size_t label : {2, 4, 7}) {
      figures.accumulated[label] = -figures.accumulated[label];
    }
  }
  return figures;
}

std::string leftOutMessage(int journal) {
  return fmt::format(
      "Journal {} holds amounts too large to add up; it is left out of the GST report.", journal);
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
  g[1] = fix(totals[kFreeIncome]) + fix(totals[kIncomeGst]) * kSupplyPerGst;
  g[5] = fix(totals[kFreeIncome]);
  g[3] = g[5] - (fix(g[2]) + fix(g[4]));
  g[6] = g[1] - g[5];
  g[8] = g[6] + fix(g[7]);
  g[9] = elevenths(g[8]);
  g[12] = fix(totals[kFreePayments]) + fix(totals[kGstCredits]) * kSupplyPerGst;
  g[11] = g[12] - fix(g[10]);
  g[16] = fix(totals[kFreePayments]);
  g[14] = g[16] - (fix(g[13]) + fix(g[15]));
  g[17] = g[12] - g[16];
  g[19] = g[17] - fix(g[18]);
  g[20] = elevenths(g[19]);
  bas.netGstLiability = g[9] - g[20];
  return bas;
}

}  // namespace lum
