#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "post/journals/journal_damage.h"
#include "post/login/login_values.h"
#include "post/reports/gst_rules.h"

namespace lum {

class Session;
struct GstTrail;
struct GstTrailLine;

// The seven figures of a GST report line, in their printed order.
enum GstColumn : std::size_t {
  kTaxedIncome,    // income subject to GST, GST included
  kIncomeGst,      // the GST in it
  kTaxedPayments,  // payments subject to GST, GST included
  kGstCredits,     // the GST credits in them
  kFreeIncome,     // income not subject to GST
  kFreePayments,   // payments not subject to GST
  kPayg,           // the PAYG instalment
};
constexpr std::size_t kGstColumns = 7;
using GstRow = std::array<Currency, kGstColumns>;

// BAS amounts by label number: element n holds Gn (element 0 unused).
constexpr std::size_t kBasLabels = 21;
using BasAmounts = std::array<Currency, kBasLabels>;

// What the amounts of one account come to under its route, before they
// reach the report's columns. The GST is worked out amount by amount, so
// a column's amounts can be tallied on their own and added to the report
// once; a part is "there" when an amount took that way, even as 0.
struct GstTally {
  Currency taxed;     // GST included
  Currency taxedGst;  // the GST in it
  Currency free;
  Currency gstAmount;  // amounts of a GST account
  bool hasTaxed = false;
  bool hasFree = false;
  bool hasGstAmount = false;
};

// Sorts amounts into a journal's GST figures and the accumulated BAS
// labels (2, 4, 7, 10, 13 and 15).
class GstClassifier {
 public:
  GstClassifier(const GstSettings& settings, GstRow& row, BasAmounts& bas)
      : mSettings(settings),
        mGstFraction(settings.gstRate / (1 + settings.gstRate)),
        mRow(row),
        mBas(bas) {}

  // An amount of an analysis column; rowSaysGst: its row's GST letter is "Y".
  void classify(Currency amount, const GstAccount& account, bool rowSaysGst) {
    add(amount, GstRoute::of(account, mSettings), rowSaysGst);
  }
  void add(Currency amount, const GstRoute& route, bool rowSaysGst) {
    GstTally tally;
    count(tally, amount, route, rowSaysGst);
    add(tally, route);
  }
  // An amount into its account's tally, and a tally into the figures.
  void count(GstTally& tally, Currency amount, const GstRoute& route, bool rowSaysGst) const;
  // The same for a route of kind kKind, which a loop over one account's
  // amounts decides once.
  template <GstRoute::Kind kKind>
  void count(GstTally& tally, Currency amount, const GstRoute& route, bool rowSaysGst) const;
  void add(const GstTally& tally, const GstRoute& route);
  // The trail line the next amounts' additions are written to; none: not kept.
  void recordInto(GstTrailLine* line) { mLine = line; }

 private:
  void taxed(GstTally& tally, Currency amount) const;
  static void free(GstTally& tally, Currency amount);
  void accumulate(Currency amount, std::size_t label);
  void addTo(GstColumn column, Currency amount);

  const GstSettings& mSettings;
  double mGstFraction;  // the GST in an amount that includes it
  GstRow& mRow;
  BasAmounts& mBas;
  GstTrailLine* mLine = nullptr;
};

// The GST figures of an entity for one period: a row per journal and the
// BAS labels accumulated on the way.
struct GstFigures {
  std::vector<GstRow> journals;  // journal j at j - 1
  BasAmounts accumulated{};
  // The journals left out as damaged (their rows are 0), and a journal
  // count past the journals there are.
  DamageFound damage;
};

// Gathers the figures of every journal of the session's entity for the
// selected period; progress(done, total) is told of each journal. With a
// trail, every amount looked at is written to it on the way.
GstFigures gatherGstFigures(Session& session,
                            const std::function<void(int done, int total)>& progress = {},
                            GstTrail* trail = nullptr);

Currency totalIncome(const GstRow& row);
bool allZero(const GstRow& row);
// The sum of the journal rows (which the gathering made sure fits).
GstRow totalsOf(const GstFigures& figures);

// The BAS labels G1 to G20 and the net GST liability, from the totals and
// the accumulated labels.
struct BasSummary {
  BasAmounts labels{};
  Currency netGstLiability;
};
BasSummary computeBas(const GstRow& totals, const BasAmounts& accumulated);

// Label n (1 to 20) as the report prints it: "G1 - Total Suppies".
std::string_view basLabelTitle(std::size_t label);

}  // namespace lum
