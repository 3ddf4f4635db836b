#include "post/render/amount_text.h"

#include <fmt/core.h>

#include <cstdint>

namespace lum {
namespace {

std::string groupedDigits(std::uint64_t whole) {
  const std::string digits = std::to_string(whole);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) {
      out += ',';
    }
    out += digits[i];
  }
  return out;
}

}  // namespace

AmountText amountText(Currency amount, AmountStyle style) {
  AmountText out{"-", false};
  const bool withCents = style == AmountStyle::DollarsAndCents;
  if (withCents || style == AmountStyle::DollarSignWhole || style == AmountStyle::WholeDollars) {
    const std::int64_t unit = withCents ? 100 : Currency::kScale;
    const std::int64_t raw = amount.raw();
    const std::uint64_t magnitude =
        raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    // Halves away from zero, to whole cents or whole dollars.
    const std::uint64_t units =
        (magnitude + static_cast<std::uint64_t>(unit) / 2) / static_cast<std::uint64_t>(unit);
    if (units != 0) {
      out.negative = raw < 0;
      out.text = withCents ? fmt::format("{}.{:02}", groupedDigits(units / 100), units % 100)
                           : groupedDigits(units);
    }
  }
  if (style == AmountStyle::DollarSignWhole) {
    out.text = "$" + out.text;
  }
  if (out.negative) {
    out.text = "(" + out.text;
  }
  return out;
}

}  // namespace lum
