#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/currency.h"
#include "platform/text.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/login_values.h"

namespace lum {

// An analysis column of a journal: its account, from the An and Ax files.
struct AnalysisColumn {
  std::string name;
  std::string accountType = "E";
  std::string gstCode = "C";
  std::int16_t ledgersAccount = 0;
  Currency reserved;  // kept as read
  float basClassification = 0;
  float exemptRatio = 0;

  // The letters as read, upper-cased; a blank one matches no value.
  AccountType type() const { return static_cast<AccountType>(upperLetter(accountType)); }
  GstCode gst() const { return static_cast<GstCode>(upperLetter(gstCode)); }
};

// The budget frame of the journal window: the entity's budget and actual
// sales and cost of sales for the selected period.
struct BudgetFrame {
  Currency budgetedSales;
  Currency budgetedCostOfSales;
  Currency actualSales;
  Currency actualCostOfSales;
};

// A journal of one period in memory: the rows (grid rows 1 to 2,000), the
// amounts by row and grid column (row 0 the column totals, column 0 the row
// balances), the analysis columns, and the counts in use.
class Journal {
 public:
  static constexpr int kMaxRows = kMaxJournalRows;
  static constexpr int kMaxColumn =
      kMaxJournalColumn;  // the highest grid column, and the column count
  explicit Journal(PostingMode postingMode);

  PostingMode postingMode() const { return mPostingMode; }
  // Payments, receipts and a running balance (other businesses).
  bool hasRunningBalance() const { return mPostingMode == PostingMode::OtherBusiness; }
  // 4 (mode 0) or 6 (mode 3): the last column that is not an analysis column.
  int lastFixedColumn() const;
  // The transaction amount column: Amount (mode 0), Credits or Payments (mode 3).
  int amountColumn() const { return 4; }
  // Mode 3 only: Charges or Receipts, and the running Balance.
  int receiptsColumn() const { return 5; }
  int balanceColumn() const { return 6; }
  int analysisColumns() const { return kMaxColumn - lastFixedColumn(); }
  bool isAnalysisColumn(int column) const { return column > lastFixedColumn(); }

  TransactionRecord& row(int r) { return mRows.at(static_cast<std::size_t>(r)); }
  const TransactionRecord& row(int r) const { return mRows.at(static_cast<std::size_t>(r)); }
  Currency& am(int r, int c) { return mAmounts.at(index(r, c)); }
  Currency am(int r, int c) const { return mAmounts.at(index(r, c)); }
  AnalysisColumn& column(int c) { return mColumns.at(static_cast<std::size_t>(c)); }
  const AnalysisColumn& column(int c) const { return mColumns.at(static_cast<std::size_t>(c)); }

  int rowsInUse = 0;
  int lastColumnInUse = 0;
  BudgetFrame budget;
  // Columns inserted (+c) and deleted (-c) since the last save, in order;
  // the other periods' files follow them when the journal is saved.
  std::vector<int> pendingColumnChanges;

  // The balance of a row from its amounts: the analysis columns less the
  // transaction amount (mode 3: plus receipts; the running balance left out).
  Currency rowBalance(int r) const;
  void computeRowBalances();

 private:
  static std::size_t index(int r, int c);

  PostingMode mPostingMode;
  std::vector<TransactionRecord> mRows;
  std::vector<Currency> mAmounts;
  std::array<AnalysisColumn, kMaxColumn + 1> mColumns;
};

}  // namespace lum
