#include "post/journals/journal.h"

#include <stdexcept>
#include <string>

namespace lum {

Journal::Journal(PostingMode postingMode)
    : mPostingMode(postingMode),
      mRows(kMaxRows + 1),
      mAmounts(static_cast<std::size_t>(kMaxRows + 1) * (kMaxColumn + 1)) {}

int Journal::lastFixedColumn() const {
  return lum::lastFixedColumn(mPostingMode);
}

std::size_t Journal::index(int r, int c) {
  if (r < 0 || r > kMaxRows || c < 0 || c > kMaxColumn) {
    throw std::out_of_range("No cell at row " + std::to_string(r) + ", column " +
                            std::to_string(c));
  }
  return static_cast<std::size_t>(r) * (kMaxColumn + 1) + static_cast<std::size_t>(c);
}

Currency Journal::rowBalance(int r) const {
  Currency balance;
  for (int c = amountColumn(); c <= kMaxColumn; ++c) {
    if (hasRunningBalance() && c == balanceColumn()) {
      continue;
    }
    balance += c == amountColumn() ? -am(r, c) : am(r, c);
  }
  return balance;
}

void Journal::computeRowBalances() {
  for (int r = 1; r <= kMaxRows; ++r) {
    am(r, 0) = r <= rowsInUse ? rowBalance(r) : Currency();
  }
}

}  // namespace lum
