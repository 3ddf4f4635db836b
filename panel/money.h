#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/currency.h"

namespace lum {

// "0.00": whole cents (halves away from zero), a leading "-" when below
// zero, no thousands separators and no currency symbol.
std::string formatMoney(Currency amount);

// A typed amount: blanks around it, an optional sign, digits (commas
// between them are thousands separators), an optional point and decimals;
// decimals past the fourth are rounded, halves away from zero. Nothing when
// the text is not an amount or is too large.
std::optional<Currency> parseMoney(std::string_view text);

// The text of an amount box when it loses the focus: the number with two
// decimals, cut (not rounded) after the second, right-aligned in nine
// characters ("12.5" gives "    12.50", "3.456" gives "     3.45", an empty
// box "      .00"). Nothing when the text is not a number.
std::optional<std::string> formatCurrencyBox(std::string_view text);

}  // namespace lum
