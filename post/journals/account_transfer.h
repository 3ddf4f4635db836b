#pragma once

#include <optional>

#include "post/login/session.h"

namespace lum {

// The account list templates of the data directory a journal may take its
// analysis accounts from.
enum class AccountsTemplate { Bank, PettyCash, Takings, Payments };

// The file name of a template ("Anljnl.dat", ...).
const char* templateFileName(AccountsTemplate choice);

// "Transfer Account Names": gives journal `journal` the accounts of
// journal `fromJournal` (its An and Ax files, both or neither), or, when
// fromJournal is below 1, the chosen template's account list. A journal
// that does not exist, the journal itself, a missing template or no choice
// at all is told and changes nothing. True when the accounts were copied.
bool transferAccountNames(Session& session, int journal, int fromJournal,
                          std::optional<AccountsTemplate> choice);

// The same from the journal details window: the journal selected in the
// journals list, the number in its "Transfer Account Names from Journal
// No" box.
bool transferAccountNamesShown(Session& session, std::optional<AccountsTemplate> choice);

// "Clear Account GST Exempt Ratios": after asking, the exempt ratio of
// every account (1 to 100) of the journal selected in the journals list
// becomes 0; the BAS classifications stay. True when cleared.
bool clearExemptRatios(Session& session);

}  // namespace lum
