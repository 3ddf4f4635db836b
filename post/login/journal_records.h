#pragma once

// Record layouts of the journal list and of each journal's analysis
// columns, which the set-up of entities and journals creates.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/currency.h"
#include "platform/fields.h"

namespace lum {

// Jnl-EEEE.dat, record number = journal number.
struct JournalHeaderRecord {
  static constexpr std::size_t kSize = 59;

  std::string name;
  std::string type;  // "I" income, "E" expense, "C" combined
  std::int16_t contraAccount = 0;
  std::string dateTransferred;  // "dd/mm/yy", blank when never transferred

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("name", r.name, 48);
    f.text("type", r.type, 1);
    f.int16("contra_account", r.contraAccount);
    f.text("date_transferred", r.dateTransferred, 8);
  }
  static JournalHeaderRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<JournalHeaderRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// An analysis account's type letter, as stored. A letter outside the list
// (a damaged record, a blank) is kept as it is and matches none of them.
enum class AccountType : char {
  Sales = 'S',
  OtherExpenses = 'E',
  FixedAssets = 'F',
  Proprietorship = 'P',
  OtherIncome = 'I',
  Taxes = 'T',
  CurrentLiabilities = 'L',
  Drawings = 'D',
  CostOfSales = 'C',
  CurrentAssets = 'A',
  LongTermLiabilities = 'M',
  Contributions = 'N',
  Wages = 'W',
};

// Whether GST applies to an analysis account's amounts: always, never,
// the amount is the GST itself, or combined (the row's letter and the
// exempt ratios decide).
enum class GstCode : char { Applies = 'Y', Never = 'N', GstItself = 'T', Combined = 'C' };

// AnJJEEEE.dat, record k = analysis column k of journal JJ.
struct AnalysisAccountRecord {
  static constexpr std::size_t kSize = 35;

  std::string name;
  std::string gstCode;      // "Y", "N", "C" combined, "T" net GST
  std::string accountType;  // "S" sales, "E" other expenses, "C" cost of sales, ...
  Currency reserved;        // kept as it was read
  std::int16_t ledgersAccount = 0;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("name", r.name, 23);
    f.text("gst_code", r.gstCode, 1);
    f.text("account_type", r.accountType, 1);
    f.currency("reserved", r.reserved);
    f.int16("ledgers_account", r.ledgersAccount);
  }
  static AnalysisAccountRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<AnalysisAccountRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// AxJJEEEE.dat, record k = analysis column k of journal JJ.
struct AnalysisExtraRecord {
  static constexpr std::size_t kSize = 8;

  float basClassification = 0;  // the BAS label the account feeds
  float exemptRatio = 0;        // 0 to 1

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.float32("bas_classification", r.basClassification);
    f.float32("exempt_ratio", r.exemptRatio);
  }
  static AnalysisExtraRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<AnalysisExtraRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<JournalHeaderRecord>() == JournalHeaderRecord::kSize);
static_assert(fieldsSize<AnalysisAccountRecord>() == AnalysisAccountRecord::kSize);
static_assert(fieldsSize<AnalysisExtraRecord>() == AnalysisExtraRecord::kSize);

}  // namespace lum
