#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace lum {

// x to the nearest whole number, halves away from zero, as std::round
// gives it, for |x| below 2^52: there the cut and the rest are exact, so
// no library call is needed. For the loops over every amount of a report.
inline std::int64_t roundedHalfAway(double x) {
  const auto whole = static_cast<std::int64_t>(x);
  const double rest = x - static_cast<double>(whole);
  return whole + static_cast<std::int64_t>(rest >= 0.5) - static_cast<std::int64_t>(rest <= -0.5);
}

// An amount of money as the data files hold it: a 64-bit count of
// ten-thousandths of a dollar. Arithmetic is exact; overflow throws
// std::overflow_error instead of wrapping. Rounding is always named.
class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;
  static constexpr Currency fromRaw(std::int64_t tenThousandths) {
    return Currency(tenThousandths);
  }
  static constexpr Currency fromCents(std::int64_t cents) { return Currency(cents * 100); }
  // The nearest Currency, halves away from zero; nothing for a value that
  // is not a number or lies outside the Currency range.
  static std::optional<Currency> fromDouble(double amount);

  constexpr std::int64_t raw() const { return mRaw; }
  double toDouble() const { return static_cast<double>(mRaw) / kScale; }
  constexpr bool isZero() const { return mRaw == 0; }

  // Whole cents, halves away from zero: 0.005 gives 0.01, -0.005 gives -0.01.
  Currency roundedToCents() const {
    // Cannot overflow: the largest whole-cent values lie 7 and 8
    // ten-thousandths inside the range, so no value at or past them rounds
    // outwards.
    const std::int64_t rest = mRaw % 100;  // takes the sign of mRaw
    const std::int64_t step = rest >= 50 ? 100 : rest <= -50 ? -100 : 0;
    return Currency(mRaw - rest + step);
  }
  // Whole cents, the rest cut off towards zero: 3.456 gives 3.45.
  Currency truncatedToCents() const;
  // Whole dollars, the rest cut off towards zero: -3.99 gives -3.
  Currency truncatedToDollars() const;
  // The amount times a factor, to the nearest ten-thousandth (halves away
  // from zero); throws std::overflow_error when that does not fit.
  Currency scaledBy(double factor) const {
    // Amounts below 2^50 ten-thousandths (a hundred billion dollars) times
    // a factor up to 1 keep every digit in a double; the cut-off part of
    // the product is exact, so halves go away from zero without a library
    // call. This runs for every amount of a report.
    constexpr std::int64_t kExactInDouble = std::int64_t{1} << 50;
    if (mRaw > -kExactInDouble && mRaw < kExactInDouble && factor >= -1 && factor <= 1) {
      return Currency(roundedHalfAway(static_cast<double>(mRaw) * factor));
    }
    return scaledPrecisely(factor);
  }

  // Without its sign; throws std::overflow_error for the one amount that
  // has no positive counterpart.
  Currency abs() const { return mRaw < 0 ? -*this : *this; }
  Currency operator-() const;
  Currency operator+(Currency other) const {
    std::int64_t sum;
    if (__builtin_add_overflow(mRaw, other.mRaw, &sum)) {
      overflow();
    }
    return Currency(sum);
  }
  Currency operator-(Currency other) const {
    std::int64_t difference;
    if (__builtin_sub_overflow(mRaw, other.mRaw, &difference)) {
      overflow();
    }
    return Currency(difference);
  }
  Currency operator*(std::int64_t factor) const {
    std::int64_t product;
    if (__builtin_mul_overflow(mRaw, factor, &product)) {
      overflow();
    }
    return Currency(product);
  }
  Currency& operator+=(Currency other) { return *this = *this + other; }
  Currency& operator-=(Currency other) { return *this = *this - other; }
  constexpr auto operator<=>(const Currency&) const = default;

 private:
  constexpr explicit Currency(std::int64_t raw) : mRaw(raw) {}
  [[noreturn]] static void overflow();
  Currency scaledPrecisely(double factor) const;

  std::int64_t mRaw = 0;
};

// The amount as a plain decimal text with 0 to 4 decimals, "-" before a
// negative one and no grouping: decimalText(x, 4) is "110.0000", decimalText(x, 2)
// "-12.50". Fewer than four decimals round halves away from zero.
std::string decimalText(Currency amount, int decimals);

}  // namespace lum
