#pragma once

#include <functional>

#include "post/ledgers/ledgers_transfer.h"

namespace lum {

class Session;

// How the window shows a transfer going on.
struct TransferShow {
  std::function<void()> progressOpen;
  TransferProgress progress;
  std::function<void()> progressClose;  // also when the transfer fails
};

// The window's OK: a client number typed becomes the log-in's ledgers
// number, the transfer runs with its progress shown, and what it appended
// is told. False when it stopped, so that the window stays open.
bool acceptTransfer(Session& session, const TransferRequest& request, const TransferShow& show);

// Makes acceptTransfer the OK of window 7, over what the window shows
// when it is accepted.
void installTransferWindow(Session& session, std::function<TransferRequest()> chosen,
                           TransferShow show);

}  // namespace lum
