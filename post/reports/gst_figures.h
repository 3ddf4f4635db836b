#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "post/login/login_values.h"

namespace lum {

class Session;

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

// The entity's settings the gathering works with.
struct GstSettings {
  double gstRate = 0.1;
  double paygRate = 0;
  double exemptSalesRatio = 0;
  double exemptPurchaseRatio = 0;
  PostingMode postingMode = PostingMode::SmallCashBusiness;

  // A rate of 0 means 10%; a ratio outside 0 to 1 counts as 0.
  static GstSettings of(const SetupValues& setup);
};

// What the gathering knows of the account an amount is entered under.
struct GstAccount {
  char type = ' ';        // upper-cased type letter
  char gstApplies = ' ';  // upper-cased: 'Y' taxed, 'N' free, 'T' the GST itself, else by rules
  double category = 0;    // the BAS label the account also feeds
  double privateUseRatio = 0;
};

// How the amounts of one account are sorted, decided once per account.
struct GstRoute {
  enum class Kind : std::uint8_t { Ignored, Taxed, Free, GstAmount, Split, ByRow };
  Kind kind = Kind::Ignored;
  bool income = false;  // sales and other income, against payments
  double ratio = 0;     // Split: the part without GST
  // The BAS label the taxed (and GST) and the free amounts feed; 0 none.
  std::size_t taxedLabel = 0;
  std::size_t freeLabel = 0;

  static GstRoute of(const GstAccount& account, const GstSettings& settings);
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
  void add(Currency amount, const GstRoute& route, bool rowSaysGst);

 private:
  void taxed(Currency amount, const GstRoute& route);
  void gstAmount(Currency amount, const GstRoute& route);
  void free(Currency amount, const GstRoute& route);
  void accumulate(Currency amount, std::size_t label);

  const GstSettings& mSettings;
  double mGstFraction;  // the GST in an amount that includes it
  GstRow& mRow;
  BasAmounts& mBas;
};

// The GST figures of an entity for one period: a row per journal and the
// BAS labels accumulated on the way.
struct GstFigures {
  std::vector<GstRow> journals;  // journal j at j - 1
  BasAmounts accumulated{};
  // Journals whose figures were too large to add up; their rows are 0.
  std::vector<int> leftOut;
};

// Gathers the figures of every journal of the session's entity for the
// selected period; progress(done, total) is told of each journal.
GstFigures gatherGstFigures(Session& session,
                            const std::function<void(int done, int total)>& progress = {});

// What the user is told of a journal left out.
std::string leftOutMessage(int journal);

Currency totalIncome(const GstRow& row);
bool allZero(const GstRow& row);
// The sum of the journal rows; throws std::overflow_error when it does not fit.
GstRow totalsOf(const GstFigures& figures);

// The BAS labels G1 to G20 and the net GST liability, from the totals and
// the accumulated labels.
struct BasSummary {
  BasAmounts labels{};
  Currency netGstLiability;
};
BasSummary computeBas(const GstRow& totals, const BasAmounts& accumulated);

}  // namespace lum
