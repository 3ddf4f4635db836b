#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/file_ops.h"
#include "post/ledgers/ledger_files.h"

namespace lum {

class Session;

// A table of the ledgers program that renumbers ledger accounts: record k
// holds the number account k has now.
class AccountNumberTable {
 public:
  static AccountNumberTable read(FileOps& ops, const std::filesystem::path& file);
  // The new number of an account; an account the table has no record for
  // (0, or past its end) keeps its number.
  std::int16_t renumber(std::int16_t account) const;

 private:
  std::vector<std::int16_t> mNumbers;  // by old number, from 1
};

// Renumbers the ledger accounts of the entity's journals (their contra
// accounts and analysis accounts) through the client's own table, else
// the standard table of its chart kind, and tells it. False, told and
// with nothing changed, when there is no table to renumber by.
bool upgradeAccountNumbers(Session& session, const LedgerFiles& files, int chartKind);

}  // namespace lum
