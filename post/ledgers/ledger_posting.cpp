#include "post/ledgers/ledger_posting.h"

#include <algorithm>
#include <cstring>

#include "platform/record_file.h"
#include "platform/text.h"

namespace lum {
namespace {

// A number field of a record's bytes, at its offset.
template <class Value>
void patch(std::span<std::byte> bytes, std::size_t at, Value value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

std::int32_t peekInt32(std::span<const std::byte> bytes, std::size_t at) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

const std::size_t kNextEntryAt = fieldOffset<LedgerEntryRecord>("next_entry");
const std::size_t kFirstEntryAt = fieldOffset<LedgerAccountRecord>("first_entry");
const std::size_t kLastEntryAt = fieldOffset<LedgerAccountRecord>("last_entry");
const std::size_t kNameAt = fieldOffset<LedgerAccountRecord>("name");
const std::size_t kBalanceAt = fieldOffset<LedgerAccountRecord>("balance");
constexpr std::size_t kNameWidth = 48;
constexpr std::size_t kAnalysisNameWidth = 23;  // an analysis account's name
constexpr std::size_t kParticularsWidth = 46;   // a journal row's particulars

void append(std::vector<std::byte>& to, const std::vector<std::byte>& record) {
  to.insert(to.end(), record.begin(), record.end());
}

}  // namespace

LedgerPostings::LedgerPostings(const LedgerBook& book)
    : mBook(&book),
      mEntries(book.counters().entries),
      mHeaders(book.counters().headers),
      mComments(book.counters().comments),
      mHeaderFirst(book.counters().entries + 1) {}

std::vector<std::byte>& LedgerPostings::accountBytes(int account) {
  auto found = mAccounts.find(account);
  if (found == mAccounts.end()) {
    found = mAccounts.emplace(account, mBook->accountBytes(account)).first;
    mBalances[account] = mBook->account(account).balance;
  }
  return found->second;
}

std::span<std::byte> LedgerPostings::entryBytes(int entry) {
  const int before = mBook->counters().entries;
  if (entry > before) {
    return std::span(mNewEntries)
        .subspan(static_cast<std::size_t>(entry - before - 1) * LedgerEntryRecord::kSize,
                 LedgerEntryRecord::kSize);
  }
  auto found = mOldEntries.find(entry);
  if (found == mOldEntries.end()) {
    const auto bytes = mBook->entryBytes(entry);
    found = mOldEntries.emplace(entry, std::vector<std::byte>(bytes.begin(), bytes.end())).first;
  }
  return found->second;
}

void LedgerPostings::post(const LedgerPosting& posting) {
  const int entry = mEntries + 1;
  std::vector<std::byte>& account = accountBytes(posting.account);
  const std::int32_t last = peekInt32(account, kLastEntryAt);
  if (last > 0) {
    patch(entryBytes(last), kNextEntryAt, std::int32_t{entry});
  } else {
    patch(account, kFirstEntryAt, std::int32_t{entry});
  }
  patch(account, kLastEntryAt, std::int32_t{entry});
  const auto name = std::span(account).subspan(kNameAt, kNameWidth);
  if (std::all_of(name.begin(), name.end(),
                  [](std::byte b) { return b == std::byte{' '} || b == std::byte{0}; })) {
    FieldWriter text(kNameWidth);
    text.text("name", leftCharacters(posting.accountName, kAnalysisNameWidth), kNameWidth);
    const std::vector<std::byte> bytes = text.take();
    std::copy(bytes.begin(), bytes.end(), account.begin() + static_cast<std::ptrdiff_t>(kNameAt));
  }
  mBalances[posting.account] += posting.amount;

  LedgerEntryRecord record;
  record.date = posting.date;
  record.account = posting.account;
  record.reference = posting.reference;
  record.amount = posting.amount;
  record.comment = mComments + 1;
  record.header = mHeaders + 1;
  append(mNewEntries, record.encode());
  mEntries = entry;
  append(
      mNewComments,
      LedgerCommentRecord{leftCharacters(posting.particulars, kParticularsWidth), entry}.encode());
  ++mComments;
}

void LedgerPostings::closeHeader(std::string_view narration) {
  if (mEntries < mHeaderFirst) {
    return;
  }
  append(mNewHeaders,
         LedgerJournalRecord{"GJ", std::string(narration), mHeaderFirst, mEntries}.encode());
  ++mHeaders;
  mHeaderFirst = mEntries + 1;
}

void LedgerPostings::write(FileOps& ops, const LedgerFiles& files) const {
  const LedgerCountersRecord& before = mBook->counters();
  RecordFile entries(ops, files.entries(), LedgerEntryRecord::kSize);
  for (const auto& [number, bytes] : mOldEntries) {
    entries.write(number, bytes);
  }
  if (!mNewEntries.empty()) {
    entries.writeRecords(before.entries + 1, mNewEntries);
  }
  entries.close();
  if (!mNewHeaders.empty()) {
    RecordFile headers(ops, files.headers(), LedgerJournalRecord::kSize);
    headers.writeRecords(before.headers + 1, mNewHeaders);
    headers.close();
  }
  if (!mNewComments.empty()) {
    RecordFile comments(ops, files.comments(), LedgerCommentRecord::kSize);
    comments.writeRecords(before.comments + 1, mNewComments);
    comments.close();
  }
  RecordFile accounts(ops, files.accounts(), LedgerAccountRecord::kSize);
  for (const auto& [number, bytes] : mAccounts) {
    std::vector<std::byte> record = bytes;
    patch(std::span(record), kBalanceAt, mBalances.at(number).raw());
    accounts.write(number, record);
  }
  accounts.close();
  std::vector<std::byte> counters(mBook->countersBytes().begin(), mBook->countersBytes().end());
  // The three counts, twice: the only fields of the counters a transfer owns.
  std::size_t at = 0;
  for (const std::int32_t count : {mEntries, mHeaders, mComments, mEntries, mHeaders, mComments}) {
    patch(std::span(counters), at, count);
    at += sizeof count;
  }
  RecordFile counterFile(ops, files.counters(), LedgerCountersRecord::kSize);
  counterFile.write(1, counters);
  counterFile.close();
}

}  // namespace lum
