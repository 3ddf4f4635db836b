#include "post/ledgers/ledger_book.h"

#include <fmt/core.h>

#include <cstring>
#include <tuple>

#include "platform/errors.h"

namespace lum {

namespace {

std::int64_t recordsIn(FileOps& ops, const std::filesystem::path& file, std::size_t size) {
  if (!ops.exists(file)) {
    return 0;
  }
  const FileHandle handle = ops.open(file, OpenMode::ReadOnly);
  return static_cast<std::int64_t>(ops.size(handle) / size);
}

}  // namespace

LedgerDamaged::LedgerDamaged(const std::filesystem::path& file, const std::string& problem)
    : std::runtime_error(
          fmt::format("The ledgers file {} is damaged: {}.", file.filename().string(), problem)) {}

std::vector<std::byte> readLedgerBytes(FileOps& ops, const std::filesystem::path& file,
                                       std::size_t recordSize, std::int64_t count,
                                       const char* what) {
  if (count < 0) {
    throw LedgerDamaged(file, fmt::format("the counters say {} {} are in use", count, what));
  }
  // The file's size is looked at before any room is made for the records:
  // a damaged count may ask for far more than the file holds.
  const FileHandle handle = ops.exists(file) ? ops.open(file, OpenMode::ReadOnly) : FileHandle();
  const std::int64_t held =
      handle.isOpen() ? static_cast<std::int64_t>(ops.size(handle) / recordSize) : 0;
  if (held < count) {
    throw LedgerDamaged(file, fmt::format("it holds {} {}, but {} are in use", held, what, count));
  }
  std::vector<std::byte> bytes(static_cast<std::size_t>(count) * recordSize);
  if (count > 0 && ops.readAt(handle, 0, bytes) < bytes.size()) {
    throw LedgerDamaged(file, fmt::format("it holds fewer {} than its size says", what));
  }
  return bytes;
}

std::vector<std::byte> LedgerBook::readCounters(FileOps& ops, const LedgerFiles& files) {
  const std::filesystem::path file = files.counters();
  std::vector<std::byte> bytes(LedgerCountersRecord::kSize);
  const FileHandle handle = ops.open(file, OpenMode::ReadOnly);
  if (ops.readAt(handle, 0, bytes) < bytes.size()) {
    throw LedgerDamaged(file, "its counters record is cut short");
  }
  return bytes;
}

LedgerBook LedgerBook::read(FileOps& ops, const LedgerFiles& files) {
  LedgerBook book;
  book.mCountersBytes = readCounters(ops, files);
  book.mCounters = LedgerCountersRecord::decode(book.mCountersBytes);
  const LedgerCountersRecord& counters = book.mCounters;

  const std::filesystem::path accounts = files.accounts();
  if (ops.exists(accounts)) {
    book.mAccounts = ops.readFile(accounts);
  }
  if (book.mAccounts.size() % kAccountSize != 0) {
    throw LedgerDamaged(accounts, fmt::format("its record {} is cut short",
                                              book.mAccounts.size() / kAccountSize + 1));
  }
  book.mEntries = readLedgerBytes(ops, files.entries(), kEntrySize, counters.entries, "entries");
  // The headers and comments are only appended to: their counts must lie
  // within their files, whose records the transfer does not read.
  for (const auto& [file, size, count, what] :
       {std::tuple{files.headers(), LedgerJournalRecord::kSize, counters.headers, "headers"},
        std::tuple{files.comments(), LedgerCommentRecord::kSize, counters.comments, "comments"}}) {
    const std::int64_t held = recordsIn(ops, file, size);
    if (count < 0 || count > held) {
      throw LedgerDamaged(file,
                          fmt::format("it holds {} {}, but {} are in use", held, what, count));
    }
  }
  book.checkChains(files);
  return book;
}

LedgerAccountRecord LedgerBook::account(int number) const {
  return LedgerAccountRecord::decode(accountBytes(number));
}

std::vector<std::byte> LedgerBook::accountBytes(int number) const {
  if (number < 1 || number > accountRecords()) {
    return LedgerAccountRecord{}.encode();
  }
  const auto at = mAccounts.begin() + static_cast<std::ptrdiff_t>((number - 1) * kAccountSize);
  return {at, at + static_cast<std::ptrdiff_t>(kAccountSize)};
}

LedgerEntryRecord LedgerBook::entry(int number) const {
  return LedgerEntryRecord::decode(entryBytes(number));
}

std::span<const std::byte> LedgerBook::entryBytes(int number) const {
  if (number < 1 || number > entryCount()) {
    throw FormatError(fmt::format("There is no ledger entry {}", number));
  }
  return std::span(mEntries).subspan(static_cast<std::size_t>(number - 1) * kEntrySize, kEntrySize);
}

int LedgerBook::nextEntry(int number) const {
  const std::size_t kAt = fieldOffset<LedgerEntryRecord>("next_entry");
  std::int32_t next = 0;
  std::memcpy(&next, entryBytes(number).subspan(kAt, sizeof next).data(), sizeof next);
  return next;
}

std::vector<int> LedgerBook::chain(int account) const {
  const LedgerAccountRecord record = this->account(account);
  std::vector<int> entries;
  if (record.firstEntry == 0) {
    return entries;
  }
  for (int e = record.firstEntry;; e = nextEntry(e)) {
    entries.push_back(e);
    if (e == record.lastEntry) {
      return entries;
    }
  }
}

void LedgerBook::checkChains(const LedgerFiles& files) const {
  const int entries = entryCount();
  // Each entry belongs to one account: one seen twice is a loop, or two
  // chains run together.
  std::vector<int> owner(static_cast<std::size_t>(entries) + 1, 0);
  const auto damaged = [&](int account, const std::string& problem) {
    return LedgerDamaged(files.accounts(), fmt::format("account {} {}", account, problem));
  };
  for (int a = 1; a <= accountRecords(); ++a) {
    const LedgerAccountRecord record = account(a);
    const int first = record.firstEntry;
    const int last = record.lastEntry;
    if ((first == 0) != (last == 0)) {
      throw damaged(a, fmt::format("has first entry {} but last entry {}", first, last));
    }
    for (const int end : {first, last}) {
      if (end < 0 || end > entries) {
        throw damaged(a,
                      fmt::format("points to entry {}, past the {} entries in use", end, entries));
      }
    }
    for (int e = first; e != 0;) {
      if (owner[static_cast<std::size_t>(e)] != 0) {
        throw damaged(a, fmt::format("comes back to entry {} of account {}: its entries loop", e,
                                     owner[static_cast<std::size_t>(e)]));
      }
      owner[static_cast<std::size_t>(e)] = a;
      if (e == last) {
        break;
      }
      const int next = nextEntry(e);
      if (next < 1 || next > entries) {
        throw damaged(a, fmt::format("has entry {} pointing to entry {}, not to one of the {} "
                                     "entries in use, before its last entry {}",
                                     e, next, entries, last));
      }
      e = next;
    }
  }
}

}  // namespace lum
