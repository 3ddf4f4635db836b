#include "post/reports/gst_rules.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

#include "post/reports/exempt_ratio.h"

namespace lum {
namespace {

bool isCategory(const GstAccount& account, std::initializer_list<int> categories) {
  return std::any_of(categories.begin(), categories.end(),
                     [&](int category) { return account.category == category; });
}

bool isIncome(const GstAccount& account) {
  return account.type == AccountType::Sales || account.type == AccountType::OtherIncome;
}

// Balance-sheet, tax, contribution and wages accounts stay out of the report.
bool isIgnored(const GstAccount& account) {
  switch (account.type) {
    case AccountType::Taxes:
    case AccountType::CurrentAssets:
    case AccountType::CurrentLiabilities:
    case AccountType::LongTermLiabilities:
    case AccountType::Proprietorship:
    case AccountType::Drawings:
    case AccountType::Contributions:
    case AccountType::Wages:
      return true;
    default:
      return false;
  }
}

// A rate of 0 means 10%.
double gstRateOf(double rate) {
  return std::isfinite(rate) && rate != 0 ? rate : 0.1;
}

}  // namespace

GstSettings GstSettings::of(const SetupValues& setup) {
  GstSettings settings;
  settings.gstRate = gstRateOf(setup.gstRate);
  settings.paygRate = std::isfinite(setup.paygRate) ? setup.paygRate : 0;
  settings.exemptSalesRatio = exemptRatio(setup.exemptSalesRatio);
  settings.exemptPurchaseRatio = exemptRatio(setup.exemptPurchaseRatio);
  settings.postingMode = setup.postingMode;
  return settings;
}

GstAccount GstAccount::of(const AnalysisColumn& column) {
  GstAccount account;
  account.type = column.type();
  account.gstApplies = column.gst();
  account.category = std::isfinite(column.basClassification) ? column.basClassification : 0;
  account.privateUseRatio = exemptRatio(column.exemptRatio);
  return account;
}

GstRoute GstRoute::of(const GstAccount& account, const GstSettings& settings) {
  GstRoute route;
  route.income = isIncome(account);
  const bool fixedAsset = account.type == AccountType::FixedAssets;
  if (route.income) {
    route.taxedLabel = isCategory(account, {7}) ? 7 : 0;
    route.freeLabel = isCategory(account, {2}) ? 2 : isCategory(account, {4}) ? 4 : 0;
  } else {
    // Fixed assets count as capital acquisitions whatever their category;
    // a category of 18 reaches the taxed routine but feeds no label.
    route.taxedLabel = fixedAsset || isCategory(account, {10}) ? 10 : 0;
    route.freeLabel = fixedAsset || isCategory(account, {10}) ? 10
                      : isCategory(account, {13})             ? 13
                      : isCategory(account, {15})             ? 15
                                                              : 0;
  }
  using Kind = GstRoute::Kind;
  const auto split = [&](double ratio) {
    route.kind = Kind::Split;
    route.ratio = ratio;
  };
  if (isIgnored(account)) {
    route.kind = Kind::Ignored;
  } else if (account.gstApplies == GstCode::Applies) {
    route.kind = Kind::Taxed;
  } else if (account.gstApplies == GstCode::Never) {
    route.kind = Kind::Free;
  } else if (account.gstApplies == GstCode::GstItself) {
    route.kind = Kind::GstAmount;
  } else if (account.type == AccountType::Sales && settings.exemptSalesRatio != 0) {
    split(settings.exemptSalesRatio);
  } else if (account.type == AccountType::CostOfSales && settings.exemptPurchaseRatio != 0) {
    split(settings.exemptPurchaseRatio);
  } else if (account.privateUseRatio != 0) {
    split(account.privateUseRatio);
  } else {
    route.kind = Kind::ByRow;
  }
  return route;
}

Currency gstTakenOut(Currency amount, const GstAccount& account, char rowLetter,
                     const GstSettings& settings) {
  return GstTakeOut::of(account, settings).from(amount, rowLetter);
}

GstTakeOut GstTakeOut::of(const GstAccount& account, const GstSettings& settings) {
  GstTakeOut out;
  const GstCode own = account.gstApplies;
  if (own == GstCode::Never || own == GstCode::Applies || own == GstCode::GstItself) {
    out.mLetter = own;
  }
  const bool combined = own == GstCode::Combined;
  if (account.type == AccountType::Sales && combined && settings.exemptSalesRatio > 0) {
    out.mLetter = GstCode::Applies;
    out.mTaxable = 1 - settings.exemptSalesRatio;
  }
  if (account.type == AccountType::CostOfSales && combined && settings.exemptPurchaseRatio > 0) {
    out.mLetter = GstCode::Applies;
    out.mTaxable = 1 - settings.exemptPurchaseRatio;
  }
  if (account.privateUseRatio > 0 && !combined) {
    out.mLetter = GstCode::Applies;
    out.mTaxable = 1 - account.privateUseRatio;
  }
  const double rate = settings.gstRate;
  out.mDivisor = (1 + rate) / rate;
  return out;
}

void GstTakeOut::centsPastRange() {
  throw std::overflow_error("Amount too large for a Currency value");
}

}  // namespace lum
