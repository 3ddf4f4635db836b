#pragma once

#include <functional>
#include <optional>
#include <string>

#include "post/ledgers/ledger_files.h"

namespace lum {

class Session;

// What the transactions transfer window asks for.
struct TransferRequest {
  int ledgers = 0;  // the ledgers client number; 0 when none was entered
  std::string folder{LedgerFiles::kCurrent};
  bool allTransactions = false;  // also the rows transferred before
  bool allPeriods = false;       // every period of the scheme, not only the selected one
};

// What a transfer appended to the ledgers files.
struct TransferCounts {
  int entries = 0;
  int headers = 0;
  int comments = 0;
};

// Told after each journal: journals done of the total.
using TransferProgress = std::function<void(int done, int total)>;

// Posts the amounts of the entity's journals to the ledgers client's files:
// each amount with its GST taken out (as the profit and loss statement
// takes it) to the ledger account of its analysis account, each journal's
// GST and contra per period, under one journal header per journal and
// period; marks the rows posted and stamps each journal with its last
// transfer date. Asks and tells through the session's prompter. The change
// to both the work area and the ledgers files is one transaction: it
// happens whole or not at all. The counts appended; nothing when the
// transfer stopped (told) with nothing changed.
std::optional<TransferCounts> transferToLedgers(Session& session, const TransferRequest& request,
                                                const TransferProgress& progress = {});

// The month a period letter of the scheme ends with: 'A' "January" to 'L'
// "December"; empty for any other letter.
std::string monthOfPeriod(char periodLetter);

}  // namespace lum
