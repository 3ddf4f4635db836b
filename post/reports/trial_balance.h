#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"

namespace lum {

class Session;

// A trial balance line: an account whose column total is not 0; a positive
// total is a debit, a negative one a credit.
struct TrialBalanceLine {
  std::string account;
  Currency total;
};

struct TrialBalance {
  // The analysis accounts, then the journal's contra.
  std::vector<TrialBalanceLine> lines;
  Currency debitTotal;
  Currency creditTotal;  // the sum of the credits, 0 or below
};

// The trial balance of a journal for the session's period: its column
// totals, and the contra line that balances them, the journal's own bank
// or cash account (see contraLineName), when they do not balance by
// themselves. Throws JournalDamaged when the journal's files of the period
// are damaged.
TrialBalance trialBalanceOf(Session& session, int journal);

// "Contra - " and the journal's name, with "(A/C n)" when the journal has
// a contra account number in the ledgers.
std::string contraLineName(std::string_view journalName, int contraAccount);

}  // namespace lum
