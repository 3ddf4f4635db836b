#include "post/ledgers/account_numbers.h"

#include <fmt/core.h>

#include "platform/record_file.h"
#include "post/journals/journal_damage.h"
#include "post/journals/journal_files.h"
#include "post/ledgers/ledger_records.h"
#include "post/login/journal_records.h"
#include "post/login/session.h"

namespace lum {

AccountNumberTable AccountNumberTable::read(FileOps& ops, const std::filesystem::path& file) {
  AccountNumberTable table;
  const std::vector<std::byte> bytes = ops.readFile(file);
  for (std::size_t at = 0; at + AccountNumberRecord::kSize <= bytes.size();
       at += AccountNumberRecord::kSize) {
    table.mNumbers.push_back(
        AccountNumberRecord::decode(std::span(bytes).subspan(at, AccountNumberRecord::kSize))
            .account);
  }
  return table;
}

std::int16_t AccountNumberTable::renumber(std::int16_t account) const {
  if (account < 1 || static_cast<std::size_t>(account) > mNumbers.size()) {
    return account;
  }
  return mNumbers[static_cast<std::size_t>(account) - 1];
}

bool upgradeAccountNumbers(Session& session, const LedgerFiles& files, int chartKind) {
  FileOps& ops = session.ops();
  std::filesystem::path tableFile = files.ownNumberTable();
  if (!ops.exists(tableFile)) {
    tableFile = files.chartNumberTable(chartKind);
  }
  if (tableFile.empty() || !ops.exists(tableFile)) {
    session.prompter().message(
        tableFile.empty()
            ? fmt::format("The ledgers client's chart of accounts (kind {}) has no table of new "
                          "account numbers.  The account numbers are not updated.",
                          chartKind)
            : fmt::format("The table of new account numbers {} does not exist.  The account "
                          "numbers are not updated.",
                          tableFile.filename().string()),
        Icon::Exclamation);
    return false;
  }
  const AccountNumberTable table = AccountNumberTable::read(ops, tableFile);
  RecordFile& journals = session.file("Jnl");
  const int count = countJournals(session).count;
  for (int j = 1; j <= count; ++j) {
    auto header = journals.get<JournalHeaderRecord>(j);
    if (const std::int16_t renumbered = table.renumber(header.contraAccount);
        renumbered != header.contraAccount) {
      header.contraAccount = renumbered;
      journals.put(j, header);
    }
    const std::filesystem::path accountsFile = JournalFiles(session, j).path("An");
    if (!ops.exists(accountsFile)) {
      continue;
    }
    RecordFile accounts(ops, accountsFile, AnalysisAccountRecord::kSize);
    for (std::int64_t k = 1; k <= accounts.recordCount(); ++k) {
      auto account = accounts.get<AnalysisAccountRecord>(k);
      if (const std::int16_t renumbered = table.renumber(account.ledgersAccount);
          renumbered != account.ledgersAccount) {
        account.ledgersAccount = renumbered;
        accounts.put(k, account);
      }
    }
    accounts.close();
  }
  session.prompter().message("Account Numbers have been updated to Version 3");
  return true;
}

}  // namespace lum
