#pragma once

// Record layouts of the ledgers program's files that the transfer reads and
// writes. The ledgers program owns these files: the transfer changes only
// the fields it posts (see the k...At offsets) in the bytes as it read
// them, so every other field stays exactly as the ledgers program left it.
// Each file is kept per ledgers client N:
//   ..\CntMan\Ent-G\Mascnt.dat     the clients, record N (read only)
//   ..\GLed\Ent-G\[folder\]Ltc-N.Dat  ledger accounts, record = account
//   Led-N.Dat  entries, Ljn-N.Dat  journal headers, Lcm-N.Dat  comments,
//   Lct-N.Dat  counters (record 1)

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/fields.h"

namespace lum {

// Mascnt.dat, record N = ledgers client N.
struct LedgerClientRecord {
  static constexpr std::size_t kSize = 435;

  std::string name;
  std::string secondNameLine;
  // The ledgers program's own fields, kept as read.
  std::array<std::byte, 285> otherFields{};
  std::int16_t chartKind = 0;  // 1 to 8: which standard chart the client's accounts follow
  std::array<std::byte, 52> lastFields{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("name", r.name, 48);
    f.text("second_name_line", r.secondNameLine, 48);
    f.bytes("other_fields", r.otherFields);
    f.int16("chart_kind", r.chartKind);
    f.bytes("last_fields", r.lastFields);
  }
  static LedgerClientRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<LedgerClientRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Ltc-N.Dat, record k = ledger account k (1 to 999).
struct LedgerAccountRecord {
  static constexpr std::size_t kSize = 240;
  static constexpr int kAccounts = 999;

  std::string text1;
  std::string name;
  std::string text3;
  Currency balance;
  std::array<std::byte, 72> values{};
  std::int32_t firstEntry = 0;  // 0: the account has no entries
  std::int32_t lastEntry = 0;   // the end of the account's chain of entries
  std::array<std::byte, 8> tail{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("text_1", r.text1, 48);
    f.text("name", r.name, 48);
    f.text("text_3", r.text3, 48);
    f.currency("balance", r.balance);
    f.bytes("values", r.values);
    f.int32("first_entry", r.firstEntry);
    f.int32("last_entry", r.lastEntry);
    f.bytes("tail", r.tail);
  }
  static LedgerAccountRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<LedgerAccountRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Led-N.Dat, record e = ledger entry e.
struct LedgerEntryRecord {
  static constexpr std::size_t kSize = 60;

  std::string date;  // "dd/mm/yy"
  std::int32_t account = 0;
  std::int32_t zero1 = 0;
  std::int32_t reference = 0;  // the transaction's reference as a number
  std::array<std::byte, 8> carried{};
  Currency amount;
  std::int32_t comment = 0;  // its comment record
  std::int32_t zero2 = 0;
  std::int32_t nextEntry = 0;  // the account's next entry; 0 after the last
  std::int32_t header = 0;     // the journal header it belongs to
  std::array<std::byte, 8> tail{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("date", r.date, 8);
    f.int32("account", r.account);
    f.int32("zero_1", r.zero1);
    f.int32("reference", r.reference);
    f.bytes("carried", r.carried);
    f.currency("amount", r.amount);
    f.int32("comment", r.comment);
    f.int32("zero_2", r.zero2);
    f.int32("next_entry", r.nextEntry);
    f.int32("header", r.header);
    f.bytes("tail", r.tail);
  }
  static LedgerEntryRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<LedgerEntryRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Ljn-N.Dat, record h = journal header h: the entries first to last were
// posted together.
struct LedgerJournalRecord {
  static constexpr std::size_t kSize = 170;

  std::string kind;  // "GJ": a general journal
  std::string narration;
  std::int32_t firstEntry = 0;
  std::int32_t lastEntry = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("kind", r.kind, 2);
    f.text("narration", r.narration, 160);
    f.int32("first_entry", r.firstEntry);
    f.int32("last_entry", r.lastEntry);
  }
  static LedgerJournalRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<LedgerJournalRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Lcm-N.Dat, record c = the comment of one entry.
struct LedgerCommentRecord {
  static constexpr std::size_t kSize = 52;

  std::string text;
  std::int32_t entry = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("text", r.text, 48);
    f.int32("entry", r.entry);
  }
  static LedgerCommentRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<LedgerCommentRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Lct-N.Dat, record 1: how many records of the other files are in use.
struct LedgerCountersRecord {
  static constexpr std::size_t kSize = 57;
  static constexpr std::int32_t kDataVersion = 32;

  std::int32_t entries = 0;
  std::int32_t headers = 0;
  std::int32_t comments = 0;
  // The same three again, which the ledgers program keeps in step.
  std::int32_t entriesAgain = 0;
  std::int32_t headersAgain = 0;
  std::int32_t commentsAgain = 0;
  std::string flag;
  std::array<std::int32_t, 3> values{};
  std::string text;
  std::int32_t value4 = 0;
  std::int32_t version = 0;  // of the ledgers data: 32
  std::int32_t value5 = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.int32("entries", r.entries);
    f.int32("headers", r.headers);
    f.int32("comments", r.comments);
    f.int32("entries_again", r.entriesAgain);
    f.int32("headers_again", r.headersAgain);
    f.int32("comments_again", r.commentsAgain);
    f.text("flag", r.flag, 1);
    f.int32("value_1", r.values[0]);
    f.int32("value_2", r.values[1]);
    f.int32("value_3", r.values[2]);
    f.text("text", r.text, 8);
    f.int32("value_4", r.value4);
    f.int32("version", r.version);
    f.int32("value_5", r.value5);
  }
  static LedgerCountersRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<LedgerCountersRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// The account-number tables (RollAcP.dat, Rol-N.dat, ...), record k = the
// number that ledger account k has now.
struct AccountNumberRecord {
  static constexpr std::size_t kSize = 2;

  std::int16_t account = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.int16("account", r.account);
  }
  static AccountNumberRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<AccountNumberRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<LedgerClientRecord>() == LedgerClientRecord::kSize);
static_assert(fieldsSize<LedgerAccountRecord>() == LedgerAccountRecord::kSize);
static_assert(fieldsSize<LedgerEntryRecord>() == LedgerEntryRecord::kSize);
static_assert(fieldsSize<LedgerJournalRecord>() == LedgerJournalRecord::kSize);
static_assert(fieldsSize<LedgerCommentRecord>() == LedgerCommentRecord::kSize);
static_assert(fieldsSize<LedgerCountersRecord>() == LedgerCountersRecord::kSize);

}  // namespace lum
