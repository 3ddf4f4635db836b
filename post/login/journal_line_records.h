#pragma once

// Record layouts of a journal's period files (transactions, their amounts,
// the column totals) and of the entity's budget.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "platform/currency.h"
#include "platform/fields.h"

namespace lum {

// DPJJEEEE.dat, record r = grid row r of period P.
struct TransactionRecord {
  static constexpr std::size_t kSize = 62;

  std::string date;  // "dd/mm/yy"
  std::string particulars;
  std::string reference;         // "i" and a number: an invoice
  std::string gst;               // "Y", "N" or blank
  std::int16_t transferred = 0;  // 1 once posted to the ledgers

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.text("date", r.date, 8);
    f.text("particulars", r.particulars, 46);
    f.text("reference", r.reference, 5);
    f.text("gst", r.gst, 1);
    f.int16("transferred", r.transferred);
  }
  static TransactionRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<TransactionRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// The bounds of a journal in memory, which counts read from files are cut to.
constexpr int kMaxJournalRows = 2000;
constexpr int kMaxJournalColumn = 100;
// Journal numbers are two digits in the names of their files.
constexpr int kMaxJournals = 99;

// APJJEEEE.dat, record r = the amounts of grid row r by grid column; in
// record 1, elements 1 and 2 hold the rows and the last column in use.
struct AmountsRecord {
  static constexpr std::size_t kSize = 808;
  static constexpr std::size_t kElements = 101;

  std::array<Currency, kElements> amounts{};

  // Record 1's counts, whole numbers held as amounts, cut to the bounds.
  int rowsInUse() const { return countAt(1, kMaxJournalRows); }
  int lastColumnInUse() const { return countAt(2, kMaxJournalColumn); }
  int countAt(std::size_t element, int limit) const {
    return static_cast<int>(
        std::clamp<std::int64_t>(amounts[element].raw() / Currency::kScale, 0, limit));
  }

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.currencies("amounts", r.amounts);
  }
  static AmountsRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<AmountsRecord>(bytes);
  }
  // Element e straight from a record's bytes, for the loops over every
  // amount of a file, which decoding whole records would slow.
  static std::int64_t rawAt(std::span<const std::byte> bytes, int e);
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

inline std::int64_t AmountsRecord::rawAt(std::span<const std::byte> bytes, int e) {
  static_assert(fieldOffset<AmountsRecord>("amounts") == 0);
  std::int64_t raw = 0;
  std::memcpy(&raw, bytes.data() + sizeof(raw) * static_cast<std::size_t>(e), sizeof(raw));
  return raw;
}

// GPJJEEEE.dat, record k = the total of analysis column k over the period.
struct ColumnTotalRecord {
  static constexpr std::size_t kSize = 8;

  Currency total;

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.currency("total", r.total);
  }
  static ColumnTotalRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<ColumnTotalRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

// Bdg-EEEE.dat record 1: index 1 to 12 is month 1 (July) to 12 (June) of
// the financial year; index 0 is not used.
struct BudgetRecord {
  static constexpr std::size_t kSize = 416;
  static constexpr std::size_t kMonths = 13;

  std::array<Currency, kMonths> budgetedSales{};
  std::array<Currency, kMonths> budgetedCostOfSales{};
  std::array<Currency, kMonths> actualSales{};
  std::array<Currency, kMonths> actualCostOfSales{};

  template <class Self, class Fields>
  static constexpr void fields(Self& r, Fields& f) {
    f.currencies("budgeted_sales", r.budgetedSales);
    f.currencies("budgeted_cost_of_sales", r.budgetedCostOfSales);
    f.currencies("actual_sales", r.actualSales);
    f.currencies("actual_cost_of_sales", r.actualCostOfSales);
  }
  static BudgetRecord decode(std::span<const std::byte> bytes) {
    return decodeFields<BudgetRecord>(bytes);
  }
  std::vector<std::byte> encode() const { return encodeFields(*this); }
};

static_assert(fieldsSize<TransactionRecord>() == TransactionRecord::kSize);
static_assert(fieldsSize<AmountsRecord>() == AmountsRecord::kSize);
static_assert(fieldsSize<ColumnTotalRecord>() == ColumnTotalRecord::kSize);
static_assert(fieldsSize<BudgetRecord>() == BudgetRecord::kSize);

}  // namespace lum
