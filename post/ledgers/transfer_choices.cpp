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
  const auto count = [](int n, std::string_view one, std::string_view many) {
    return fmt::format("{} {}", n, n == 1 ? one : many);
  };
  return fmt::format("Transferred: {}, {}, {}.", count(counts.entries, "entry", "entries"),
                     count(counts.headers, "journal header", "journal headers"),
                     count(counts.comments, "comment", "comments"));
}

}  // namespace lum
