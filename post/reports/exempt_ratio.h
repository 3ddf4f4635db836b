#pragma once

namespace lum {

// A ratio of an amount read from the files: the set-up's exempt ratios on
// sales and purchases, an account's private-use ratio. One outside 0 to 1,
// or not a number, is damage and counts as 0, as the ledgers transfer
// writes it back; the reports then take the whole amount by its GST letter.
inline double exemptRatio(double value) {
  return value >= 0 && value <= 1 ? value : 0;  // false for not-a-number too
}

}  // namespace lum
