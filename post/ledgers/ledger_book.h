#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "post/ledgers/ledger_files.h"
#include "post/ledgers/ledger_records.h"

namespace lum {

// What a reader of the ledgers files says when a client has none in the
// folder, and when they are of another version of the ledgers program.
inline constexpr const char* kNoLedgersFiles = "Ledgers files do not exist in specified drive";
inline constexpr const char* kWrongLedgersVersion =
    "The Ledgers Data is not the correct Version.  Start Ledgers Program with the selected client "
    "and the data will automatically converted to correct version.";

// A ledgers file that cannot be trusted: counts past the end of the files,
// a record cut short, an account's chain of entries that leaves the file,
// loops or stops short. what() is the message: "The ledgers file
// Led-1.Dat is damaged: ...".
class LedgerDamaged : public std::runtime_error {
 public:
  LedgerDamaged(const std::filesystem::path& file, const std::string& problem);
};

// The counters, accounts and entries of a ledgers client, read whole and
// checked, with the bytes as read so that a change can keep every field it
// does not own.
class LedgerBook {
 public:
  // Reads the counters, accounts and entries in use. Throws LedgerDamaged
  // (see above), FileError when a file cannot be read.
  static LedgerBook read(FileOps& ops, const LedgerFiles& files);
  // The counters record alone (the data version is checked before the rest
  // is read). Throws LedgerDamaged when it is cut short.
  static std::vector<std::byte> readCounters(FileOps& ops, const LedgerFiles& files);

  const LedgerCountersRecord& counters() const { return mCounters; }
  std::span<const std::byte> countersBytes() const { return mCountersBytes; }
  // Accounts whose records are in the file; one past them reads blank.
  int accountRecords() const { return static_cast<int>(mAccounts.size() / kAccountSize); }
  LedgerAccountRecord account(int number) const;
  // The record's bytes; a blank record past the end of the file.
  std::vector<std::byte> accountBytes(int number) const;
  int entryCount() const { return static_cast<int>(mEntries.size() / kEntrySize); }
  LedgerEntryRecord entry(int number) const;
  std::span<const std::byte> entryBytes(int number) const;
  // The entries of an account in chain order, first to last (checked when
  // the book was read).
  std::vector<int> chain(int account) const;

 private:
  static constexpr std::size_t kAccountSize = LedgerAccountRecord::kSize;
  static constexpr std::size_t kEntrySize = LedgerEntryRecord::kSize;

  void checkChains(const LedgerFiles& files) const;
  int nextEntry(int number) const;

  LedgerCountersRecord mCounters;
  std::vector<std::byte> mCountersBytes;
  std::vector<std::byte> mAccounts;
  std::vector<std::byte> mEntries;  // the entries in use
};

// The bytes of records 1 to count of a ledgers file (what counts in use
// names); LedgerDamaged when the file holds fewer, or count is negative.
std::vector<std::byte> readLedgerBytes(FileOps& ops, const std::filesystem::path& file,
                                       std::size_t recordSize, std::int64_t count,
                                       const char* what);

// The same, decoded.
template <class Record>
std::vector<Record> readLedgerRecords(FileOps& ops, const std::filesystem::path& file,
                                      std::int64_t count, const char* what) {
  const std::vector<std::byte> bytes = readLedgerBytes(ops, file, Record::kSize, count, what);
  std::vector<Record> records;
  records.reserve(static_cast<std::size_t>(count));
  for (std::size_t at = 0; at < bytes.size(); at += Record::kSize) {
    records.push_back(Record::decode(std::span(bytes).subspan(at, Record::kSize)));
  }
  return records;
}

}  // namespace lum
