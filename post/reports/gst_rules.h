#pragma once

// The rules that decide what part of an amount is GST: how the GST report
// sorts an account's amounts, and how the profit and loss and the ledgers
// transfer take the GST out of an amount.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "platform/currency.h"
#include "post/journals/journal.h"
#include "post/login/journal_records.h"
#include "post/login/login_values.h"

namespace lum {

// The entity's settings the GST rules work with.
struct GstSettings {
  double gstRate = 0.1;
  double paygRate = 0;
  double exemptSalesRatio = 0;
  double exemptPurchaseRatio = 0;
  PostingMode postingMode = PostingMode::SmallCashBusiness;

  // A rate of 0 means 10%; a ratio outside 0 to 1 counts as 0.
  static GstSettings of(const SetupValues& setup);
};

// What the GST rules know of the account an amount is entered under.
struct GstAccount {
  AccountType type{' '};
  GstCode gstApplies{' '};
  double category = 0;  // the BAS label the account also feeds
  double privateUseRatio = 0;

  // A journal's analysis column: its letters upper-cased, a category that
  // is not a number and a ratio outside 0 to 1 taken as none.
  static GstAccount of(const AnalysisColumn& column);
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

// The GST in an amount, as the profit and loss and the ledgers transfer
// take it out: the account's letter ("Y", "N" or "T") decides, else the
// row's; a combined sales or cost-of-sales account under an exempt ratio,
// and an account with a private-use ratio, have GST on their taxable share
// only. The GST is that share over (1 + rate) / rate, to the cent; for
// "T" the amount itself, to the cent. Throws std::overflow_error for a
// figure past the range of Currency.
Currency gstTakenOut(Currency amount, const GstAccount& account, char rowLetter,
                     const GstSettings& settings);

// The same decided once per account: what gstTakenOut does with the
// account's amounts, leaving only the row's letter to each amount.
class GstTakeOut {
 public:
  static GstTakeOut of(const GstAccount& account, const GstSettings& settings);
  // Whether no amount of the account has GST in it, whatever its row says.
  bool takesNothing() const { return mLetter == GstCode::Never; }
  // Throws std::overflow_error as gstTakenOut does. Inline: the profit and
  // loss and the ledgers transfer call it for every amount.
  Currency from(Currency amount, char rowLetter) const {
    const GstCode letter = mLetter != GstCode{' '} ? mLetter : static_cast<GstCode>(rowLetter);
    switch (letter) {
      case GstCode::Applies:
        return cents(amount.toDouble() * mTaxable / mDivisor);
      case GstCode::GstItself:
        return amount.roundedToCents();
      default:
        return Currency();
    }
  }

 private:
  // Whole cents, halves away from zero. A figure past the range of
  // Currency (a damaged rate or amount) throws, as Currency's own
  // arithmetic does.
  static Currency cents(double dollars) {
    const double hundredths = dollars * 100;
    if (hundredths > -0x1p52 && hundredths < 0x1p52) {
      return Currency::fromCents(roundedHalfAway(hundredths));
    }
    // Whole already, or not a number.
    if (!(std::abs(hundredths) < 0x1p63)) {
      centsPastRange();
    }
    return Currency::fromCents(1) * static_cast<std::int64_t>(hundredths);
  }
  [[noreturn]] static void centsPastRange();

  GstCode mLetter{' '};  // the account's own; ' ' when the row's letter decides
  double mTaxable = 1;   // the share GST is on
  double mDivisor = 11;  // (1 + rate) / rate
};

}  // namespace lum
