#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "post/ledgers/ledgers_transfer.h"

namespace lum {

class Session;

// What the transactions transfer window (window 7) starts with: the
// log-in's ledgers client, the "Current" ledgers period, new transactions
// of the current period only.
TransferRequest initialTransferRequest(const Session& session);

// The ledgers periods of the log-in's group, "Current" first.
std::vector<std::string> ledgersPeriodChoices(Session& session);

// The client number typed into the window's box: 0 when none is.
int typedLedgersNumber(std::string_view typed);

// "Transferred: 12 entries, 1 journal header, 12 comments."
std::string transferredMessage(const TransferCounts& counts);

}  // namespace lum
