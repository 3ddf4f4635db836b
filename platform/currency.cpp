#include "platform/currency.h"

#include <fmt/core.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace lum {

void Currency::overflow() {
  throw std::overflow_error("Amount too large for a Currency value");
}

std::optional<Currency> Currency::fromDouble(double amount) {
  const double scaled = std::round(amount * kScale);  // std::round takes halves away from zero
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (!std::isfinite(scaled) || scaled >= 9223372036854775808.0 ||
      scaled < -9223372036854775808.0) {
    return std::nullopt;
  }
  return Currency(static_cast<std::int64_t>(scaled));
}

Currency Currency::truncatedToCents() const {
  return Currency(mRaw - mRaw % 100);
}

Currency Currency::truncatedToDollars() const {
  return Currency(mRaw - mRaw % kScale);
}

Currency Currency::scaledPrecisely(double factor) const {
  // The product in long double keeps every digit of amounts up to 2^64.
  const long double scaled = std::round(static_cast<long double>(mRaw) * factor);
  if (!std::isfinite(scaled) || scaled >= 9223372036854775808.0L ||
      scaled < -9223372036854775808.0L) {
    overflow();
  }
  return Currency(static_cast<std::int64_t>(scaled));
}

Currency Currency::operator-() const {
  if (mRaw == std::numeric_limits<std::int64_t>::min()) {
    overflow();
  }
  return Currency(-mRaw);
}

std::string decimalText(Currency amount, int decimals) {
  static constexpr std::uint64_t kPowers[] = {1, 10, 100, 1000, 10000};
  decimals = decimals < 0 ? 0 : decimals > 4 ? 4 : decimals;
  const std::uint64_t unit = kPowers[4 - decimals];
  const std::int64_t raw = amount.raw();
  const std::uint64_t magnitude =
      raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
  const std::uint64_t units = (magnitude + unit / 2) / unit;  // halves away from zero
  const std::uint64_t perWhole = kPowers[decimals];
  const char* sign = raw < 0 && units != 0 ? "-" : "";
  if (decimals == 0) {
    return fmt::format("{}{}", sign, units);
  }
  return fmt::format("{}{}.{:0{}}", sign, units / perWhole, units % perWhole, decimals);
}

}  // namespace lum
