#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/date.h"

namespace lum {

// How an entity's journals are laid out: a small cash business has one
// Amount column before its analysis columns; other businesses have
// payments, receipts and a running balance. Stored as "0" and "3".
enum class PostingMode { SmallCashBusiness = 0, OtherBusiness = 3 };

// The posting mode of a stored set-up value: 3 is other businesses,
// anything else a small cash business.
constexpr PostingMode postingModeOf(int stored) {
  return stored == 3 ? PostingMode::OtherBusiness : PostingMode::SmallCashBusiness;
}

// The last grid column of a journal that is not an analysis column: the
// Amount column (4), or the running balance (6).
constexpr int lastFixedColumn(PostingMode mode) {
  return mode == PostingMode::OtherBusiness ? 6 : 4;
}

// An entity's set-up values, from records 1 to 9 of its Ini- file.
struct SetupValues {
  PostingMode postingMode = PostingMode::SmallCashBusiness;
  std::string periodKind;       // "M" monthly or "Q" quarterly
  std::string clientType;       // "A" accountant or "C" client
  double gstRate = 0;           // a fraction: 0.1 for 10%
  double paygRate = 0;          // a fraction
  double exemptSalesRatio = 0;  // mixed businesses
  double exemptPurchaseRatio = 0;
  std::string invoicing;  // "Y" or "N"
  std::string gstType;    // "C" cash or "A" accruals
};

// What a running LumPost knows of its log-in; every part of the program reads it.
struct LoginValues {
  int operatorNumber = 1;
  int ledgersNumber = 0;
  int groupNumber = 0;
  char operatorClass = 'N';  // 'N' full, 'Y' restricted, 'A' restricted with extended rights
  std::string systemDirectory;
  std::string workArea;
  int workAreaOperator = 1;
  std::string dataDirectory;
  std::string floppyDrive = "A:";
  int entityNumber = 0;
  std::optional<Date> gstDate;
  char periodLetter = 'M';
  std::string reportOption;
  char firstTimeFlag = ' ';  // 'X' while the first entity is described, 'C' after a change
  char setupFlag = 'N';
  std::string helpFile;
  SetupValues setup;
  int invoiceCount = 0;
  int productCount = 0;
  int customerCount = 0;
  bool reportTotalsComputed = false;
};

}  // namespace lum
