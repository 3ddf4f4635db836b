#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "platform/file_ops.h"
#include "post/ledgers/ledger_book.h"

namespace lum {

// One amount to post: to a ledger account, with what its entry and
// comment say.
struct LedgerPosting {
  int account = 0;
  Currency amount;
  std::string date;  // "dd/mm/yy"
  int reference = 0;
  std::string particulars;
  std::string accountName;  // for an account whose name is blank
};

// The entries, headers and comments a transfer appends to a ledgers
// client's book, and the account chains and balances they change, made
// in memory first and then written in one go.
class LedgerPostings {
 public:
  explicit LedgerPostings(const LedgerBook& book);

  // Appends an entry and its comment at the end of the account's chain,
  // under the journal header to come.
  void post(const LedgerPosting& posting);
  // Appends the journal header of the entries posted since the last one;
  // nothing when there were none.
  void closeHeader(std::string_view narration);

  int entriesAdded() const { return mEntries - mBook->counters().entries; }
  int headersAdded() const { return mHeaders - mBook->counters().headers; }
  int commentsAdded() const { return mComments - mBook->counters().comments; }

  // Writes every change to the files; each file's records are changed
  // only in the fields the transfer owns.
  void write(FileOps& ops, const LedgerFiles& files) const;

 private:
  std::vector<std::byte>& accountBytes(int account);
  std::span<std::byte> entryBytes(int entry);

  const LedgerBook* mBook;
  int mEntries;
  int mHeaders;
  int mComments;
  int mHeaderFirst;                                 // the first entry under the header to come
  std::map<int, std::vector<std::byte>> mAccounts;  // changed, by number
  std::map<int, Currency> mBalances;
  std::map<int, std::vector<std::byte>> mOldEntries;  // existing entries whose next entry changed
  std::vector<std::byte> mNewEntries;
  std::vector<std::byte> mNewHeaders;
  std::vector<std::byte> mNewComments;
};

}  // namespace lum
