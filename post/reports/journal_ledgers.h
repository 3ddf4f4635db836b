#pragma once

#include <string>
#include <vector>

#include "platform/currency.h"

namespace lum {

class Session;

// One transaction of an account's ledger; a positive amount is a debit.
struct LedgerLine {
  std::string date;
  std::string details;
  std::string gst;
  std::string reference;
  Currency amount;
};

// The ledger of one analysis column: its account and every row with an
// amount in it.
struct AccountLedger {
  std::string account;
  std::string type;
  std::string gstApplies;
  float privateUseRatio = 0;
  int ledgersAccount = 0;
  std::vector<LedgerLine> lines;
  Currency total;
};

// The ledgers of a journal's analysis columns for the session's period, in
// column order; columns without an amount have none. Empty when the period
// has no transaction file. Throws JournalDamaged when the journal's files
// of the period are damaged.
std::vector<AccountLedger> journalLedgersOf(Session& session, int journal);

}  // namespace lum
