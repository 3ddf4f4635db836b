#include "post/ledgers/transfer_choices.h"

#include <fmt/core.h>

#include "platform/text.h"
#include "post/login/session.h"

namespace lum {

TransferRequest initialTransferRequest(const Session& session) {
  TransferRequest request;
  request.ledgers = session.login.ledgersNumber;
  return request;
}

std::vector<std::string> ledgersPeriodChoices(Session& session) {
  return LedgerFiles::periodFolders(session.ops(), session.paths(), session.login.groupNumber);
}

int typedLedgersNumber(std::string_view typed) {
  const double number = leadingNumber(typed);
  return number >= 1 && number <= 9999 ? static_cast<int>(number) : 0;
}

std::string transferredMessage(const TransferCounts& counts) {
  return fmt::format("Transferred: {} entries, {} journal headers, {} comments.", counts.entries,
                     counts.headers, counts.comments);
}

}  // namespace lum
