#pragma once

#include <string>
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
  std::vector<TrialBalanceLine> lines;
  Currency debitTotal;
  Currency creditTotal;  // the sum of the credits, 0 or below
};

// The trial balance of a journal for the session's period, from its column
// totals.
TrialBalance trialBalanceOf(Session& session, int journal);

}  // namespace lum
