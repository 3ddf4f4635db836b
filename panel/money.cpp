#include "panel/money.h"

#include <fmt/core.h>

#include <cstdint>
#include <cstdlib>

#include "platform/text.h"

namespace lum {
namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// A decimal number split into its parts, digits only, as typed.
struct Decimal {
  bool negative = false;
  std::string whole;
  std::string fraction;
};

std::optional<Decimal> parseDecimal(std::string_view text) {
  text = trim(text);
  Decimal number;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    number.negative = text[i++] == '-';
  }
  for (; i < text.size() && text[i] != '.'; ++i) {
    const bool separator =
        text[i] == ',' && !number.whole.empty() && i + 1 < text.size() && isDigit(text[i + 1]);
    if (separator) {
      continue;
    }
    if (!isDigit(text[i])) {
      return std::nullopt;
    }
    number.whole += text[i];
  }
  if (i < text.size()) {
    for (++i; i < text.size(); ++i) {
      if (!isDigit(text[i])) {
        return std::nullopt;
      }
      number.fraction += text[i];
    }
  }
  if (number.whole.empty() && number.fraction.empty()) {
    return std::nullopt;
  }
  return number;
}

std::string withoutLeadingZeros(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

}  // namespace

std::string formatMoney(Currency amount) {
  return decimalText(amount, 2);
}

std::optional<Currency> parseMoney(std::string_view text) {
  const auto number = parseDecimal(text);
  // Fifteen digits would overflow below 922 trillion; fourteen always fit.
  if (!number || withoutLeadingZeros(number->whole).size() > 14) {
    return std::nullopt;
  }
  std::string fraction = number->fraction;
  const bool roundUp = fraction.size() > 4 && fraction[4] >= '5';
  fraction.resize(4, '0');
  const std::int64_t raw = std::stoll(withoutLeadingZeros(number->whole)) * Currency::kScale +
                           std::stoll(fraction) + (roundUp ? 1 : 0);
  return Currency::fromRaw(number->negative ? -raw : raw);
}

std::optional<std::string> formatCurrencyBox(std::string_view text) {
  if (trim(text).empty()) {
    return std::string("      .00");
  }
  const auto number = parseDecimal(text);
  if (!number) {
    return std::nullopt;
  }
  // The number in its shortest form, then two decimals, cut after the second.
  const std::string whole = withoutLeadingZeros(number->whole);
  std::string cents = number->fraction.substr(0, 2);
  cents.resize(2, '0');
  const bool zero = whole == "0" && cents == "00";
  return fmt::format("{:>9}", (number->negative && !zero ? "-" : "") + whole + "." + cents);
}

}  // namespace lum
