#pragma once

#include <string>

#include "platform/currency.h"
#include "post/render/page_values.h"

namespace lum {

// An amount as a page writes it: grouped digits, "-" for zero, "$" before
// the digits of DollarSignWhole and "(" before a negative amount, whose ")"
// is drawn after the amount's right edge. An unknown style writes "-".
struct AmountText {
  std::string text;
  bool negative = false;
};
AmountText amountText(Currency amount, AmountStyle style);

}  // namespace lum
