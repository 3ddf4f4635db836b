#include "post/ledgers/transfer_accept.h"

#include "platform/scope_guard.h"
#include "post/ledgers/transfer_choices.h"
#include "post/login/session.h"

namespace lum {

bool acceptTransfer(Session& session, const TransferRequest& request, const TransferShow& show) {
  // A blank box is told by the transfer; it does not forget the client
  // the log-in was given.
  if (request.ledgers != 0) {
    session.login.ledgersNumber = request.ledgers;
  }
  std::optional<TransferCounts> counts;
  {
    // The progress box opens with the first journal, after the questions,
    // and is gone before the outcome is told.
    bool shown = false;
    const ScopeGuard closeProgress([&show, &shown] {
      if (shown && show.progressClose) {
        show.progressClose();
      }
    });
    counts = transferToLedgers(session, request, [&show, &shown](int done, int total) {
      if (!shown && show.progressOpen) {
        show.progressOpen();
      }
      shown = true;
      if (show.progress) {
        show.progress(done, total);
      }
    });
  }
  if (!counts) {
    return false;
  }
  session.prompter().message(transferredMessage(*counts), Icon::Information,
                             "Transactions Transfer");
  return true;
}

void installTransferWindow(Session& session, std::function<TransferRequest()> chosen,
                           TransferShow show) {
  WindowActions actions;
  actions.accept = [&session, chosen = std::move(chosen), show = std::move(show)] {
    return acceptTransfer(session, chosen(), show);
  };
  session.setWindowActions(kTransfer, std::move(actions));
}

}  // namespace lum
