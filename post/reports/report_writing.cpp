#include "post/reports/report_writing.h"

#include <fmt/core.h>

#include "platform/text.h"
#include "post/reports/report_text.h"

namespace lum {
namespace {

constexpr int kRightEdge = 195;
constexpr auto kCents = AmountStyle::DollarsAndCents;
constexpr auto kWhole = AmountStyle::WholeDollars;

// A line's six GST columns, its total income and its PAYG.
void writeGstFigures(PageWriter page, const GstRow& row) {
  constexpr int kColumnsAt[] = {55, 75, 95, 115, 135, 155};
  for (std::size_t k = 0; k < 6; ++k) {
    page.amount(kColumnsAt[k], row[k], kCents);
  }
  page.amount(175, totalIncome(row), kCents);
  page.amount(kRightEdge, row[kPayg], kCents);
}

// The BAS labels G1 to G20 in two columns, under the totals.
void writeBasSummary(PageWriter page, int l, const BasSummary& bas) {
  const BasAmounts& g = bas.labels;
  page.newLine();
  page.newLine();
  page.size(14);
  page.text(l + 9, "BAS Statement Summary", Align::Left);
  page.newLine();
  page.size(10);
  page.regular();
  page.newLine();
  for (std::size_t label = 1; label <= 9; ++label) {
    page.text(l + 9, basLabelTitle(label), Align::Left);
    page.amount(95, g[label], kWhole);
    page.text(l + 100, basLabelTitle(label + 9), Align::Left);
    page.amount(kRightEdge, g[label + 9], kWhole);
    page.newLine();
  }
  page.text(l + 100, basLabelTitle(19), Align::Left);
  page.amount(kRightEdge, g[19], kWhole);
  page.newLine();
  page.rule(l + 9, 95);
  page.bold();
  page.text(l + 9, "       Net GST Liability", Align::Left);
  page.amount(95, bas.netGstLiability, kWhole);
  page.regular();
  page.text(l + 100, basLabelTitle(20), Align::Left);
  page.amount(kRightEdge, g[20], kWhole);
}

}  // namespace

void writeGstReport(const ReportWriting& out, const GstFigures& figures,
                    const std::vector<std::string>& names, bool basSummary) {
  PageWriter page = out.page;
  const int l = out.left;
  out.beginReportPage();
  for (std::size_t j = 0; j < figures.journals.size(); ++j) {
    const GstRow& row = figures.journals[j];
    if (allZero(row)) {
      continue;
    }
    page.newLine();
    page.text(l + 7, std::to_string(j + 1), Align::Right);
    page.text(l + 9, j < names.size() ? trim(names[j]) : std::string_view(), Align::Left);
    writeGstFigures(page, row);
  }
  const GstRow totals = totalsOf(figures);
  page.newLine();
  page.bold();
  page.rule(l, kRightEdge);
  page.newLine();
  page.text(l + 9, "Totals", Align::Left);
  writeGstFigures(page, totals);
  if (basSummary) {
    writeBasSummary(page, l, computeBas(totals, figures.accumulated));
  }
  page.endPage();
}

void writeGstHeadingColumns(const ReportWriting& out, const GstSettings& settings) {
  PageWriter page = out.page;
  page.size(8);
  page.regular();
  page.text(out.left,
            "GST Exempt Ratio on Sales: " + numberToText(settings.exemptSalesRatio) +
                " - GST Exempt Ratio on Purchases: " + numberToText(settings.exemptPurchaseRatio),
            Align::Left);
  page.newLine();
  page.newLine();
  page.bold();
  page.text(115, "------------------------------------------------------Subject to GST",
            Align::Right);
  page.text(155, "Not Subject to GST", Align::Right);
  page.text(kRightEdge, numberToText(settings.paygRate * 100) + "%", Align::Right);
  page.newLine();
  const std::pair<const char*, int> titles[] = {
      {"Income", 55},  {"GST", 75},      {"Payment", 95},     {"Credit", 115},
      {"Income", 135}, {"Payment", 155}, {"Tot Income", 175}, {"PAYG", kRightEdge}};
  for (const auto& [title, x] : titles) {
    page.text(x, title, Align::Right);
  }
  page.newLine();
  page.size(8);
  page.regular();
}

void writeTrialBalance(const ReportWriting& out, const TrialBalance& balance) {
  PageWriter page = out.page;
  const int l = out.left;
  out.beginReportPage();
  for (const TrialBalanceLine& line : balance.lines) {
    page.newLine();
    page.text(l + 5, line.account, Align::Left);
    if (line.total > Currency()) {
      page.amount(l + 150, line.total, kCents);
    } else {
      page.amount(l + 180, line.total.abs(), kCents);
    }
  }
  page.newLine();
  page.bold();
  page.rule(l + 5, l + 180);
  page.text(l + 5, "Totals", Align::Left);
  page.amount(l + 150, balance.debitTotal, kCents);
  page.amount(l + 180, balance.creditTotal.abs(), kCents);
  page.endPage();
}

void writeTrialBalanceHeadingColumns(const ReportWriting& out) {
  PageWriter page = out.page;
  const int l = out.left;
  page.text(l + 5, "Account", Align::Left);
  page.text(l + 150, "Debit", Align::Right);
  page.text(l + 180, "Credit", Align::Right);
  page.regular();
}

namespace {

// An account's heading lines and the column titles of its lines.
void writeLedgerHeading(PageWriter page, int l, const AccountLedger& ledger) {
  page.newLine();
  page.newLine();
  page.bold();
  page.text(l + 5, ledger.account, Align::Left);
  page.newLine();
  page.regular();
  page.text(l + 5,
            fmt::format("Account Type: {} - GST Class: {} - GST Exempt Ratio: {} - Ledgers A/C "
                        "No:{}",
                        ledger.type, ledger.gstApplies, numberToText(ledger.privateUseRatio),
                        numberToText(ledger.ledgersAccount)),
            Align::Left);
  page.newLine();
  page.newLine();
  page.bold();
  page.text(l + 5, "Date", Align::Left);
  page.text(l + 18, "Details", Align::Left);
  page.text(l + 120, "GST", Align::Right);
  page.text(l + 130, "Ref", Align::Right);
  page.text(l + 150, "Debit", Align::Right);
  page.text(l + 180, "Credit", Align::Right);
  page.regular();
}

}  // namespace

void writeJournalLedgers(const ReportWriting& out, const std::vector<AccountLedger>& ledgers) {
  PageWriter page = out.page;
  const int l = out.left;
  // Debits in the first amount column, credits in the second.
  const auto debitOrCredit = [&](Currency amount) {
    page.amount(amount >= Currency() ? l + 150 : l + 180, amount.abs(), kCents);
  };
  out.beginReportPage();
  for (const AccountLedger& ledger : ledgers) {
    writeLedgerHeading(page, l, ledger);
    for (const LedgerLine& line : ledger.lines) {
      page.newLine();
      page.text(l + 5, line.date, Align::Left);
      page.text(l + 18, line.details, Align::Left);
      page.text(l + 120, line.gst, Align::Right);
      page.text(l + 130, line.reference, Align::Right);
      debitOrCredit(line.amount);
    }
    page.newLine();
    page.bold();
    page.rule(l + 5, l + 180);
    page.text(l + 5, "Total", Align::Left);
    debitOrCredit(ledger.total);
  }
  page.endPage();
}

namespace {

// The profit and loss statement's page, a section at a time: names at the
// left, the accounts of a section with a total at the inner column, every
// total and single account at the right edge, in whole dollars and with
// income turned positive.
class ProfitAndLossPage {
 public:
  ProfitAndLossPage(PageWriter page, const ProfitAndLoss& statement)
      : mPage(page), mStatement(statement) {}

  void sales();
  void costOfSales();
  void otherIncome();
  void expenses();
  void netProfit();
  void otherTransactions();

 private:
  static constexpr int kNames = 10;
  static constexpr int kInner = 175;

  void accountLine(std::string_view name, Currency amount, int x);
  void singleAccount(const AccountTotal& account, bool income);
  void ruledTotal(std::string_view name, Currency amount);
  void section(std::string_view heading, const std::vector<AccountTotal>& accounts, bool income,
               std::string_view totalName);

  PageWriter mPage;
  const ProfitAndLoss& mStatement;
};

void ProfitAndLossPage::accountLine(std::string_view name, Currency amount, int x) {
  mPage.newLine();
  mPage.text(kNames, name, Align::Left);
  mPage.amount(x, amount, kWhole);
}

void ProfitAndLossPage::singleAccount(const AccountTotal& account, bool income) {
  mPage.bold();
  mPage.newLine();
  mPage.text(kNames, account.name, Align::Left);
  mPage.amount(kRightEdge, income ? -account.amount : account.amount, kWhole);
  mPage.regular();
}

// A bold line with its amount at the right edge, under a rule.
void ProfitAndLossPage::ruledTotal(std::string_view name, Currency amount) {
  mPage.bold();
  mPage.newLine();
  mPage.rule(187, kRightEdge);
  mPage.text(kNames, name, Align::Left);
  mPage.amount(kRightEdge, amount, kWhole);
  mPage.regular();
}

// A heading, the accounts at the inner column, and their total.
void ProfitAndLossPage::section(std::string_view heading, const std::vector<AccountTotal>& accounts,
                                bool income, std::string_view totalName) {
  mPage.newLine();
  mPage.bold();
  mPage.text(kNames, heading, Align::Left);
  mPage.regular();
  for (const AccountTotal& account : accounts) {
    accountLine(account.name, income ? -account.amount : account.amount, kInner);
  }
  mPage.newLine();
  mPage.bold();
  mPage.rule(167, kInner);
  mPage.text(kNames, totalName, Align::Left);
  const Currency total = ProfitAndLoss::sum(accounts);
  mPage.amount(kRightEdge, income ? -total : total, kWhole);
  mPage.regular();
}

// Several sales accounts stand at the right edge, totalled under a rule.
void ProfitAndLossPage::sales() {
  const auto& sales = mStatement.sales;
  if (sales.size() == 1) {
    singleAccount(sales.front(), true);
  } else if (sales.size() > 1) {
    mPage.newLine();
    mPage.bold();
    mPage.text(kNames, "Gross Sales", Align::Left);
    mPage.regular();
    for (const AccountTotal& account : sales) {
      accountLine(account.name, -account.amount, kRightEdge);
    }
    mPage.newLine();
    mPage.bold();
    mPage.rule(187, kRightEdge);
    mPage.text(kNames, "Total Gross Sales", Align::Left);
    mPage.amount(kRightEdge, -ProfitAndLoss::sum(sales), kWhole);
    mPage.regular();
  }
}

void ProfitAndLossPage::costOfSales() {
  const auto& costs = mStatement.costOfSales;
  if (costs.size() < 2) {
    for (const AccountTotal& account : costs) {
      accountLine("Less " + account.name, account.amount, kRightEdge);
    }
  } else {
    section("Less Cost of Sales", costs, false, "Total Cost of Sales");
  }
  if (!costs.empty()) {
    ruledTotal("Gross Profit", mStatement.grossProfit());
  }
}

void ProfitAndLossPage::otherIncome() {
  const auto& income = mStatement.otherIncome;
  const bool noSales = mStatement.sales.empty();
  if (income.size() == 1) {
    singleAccount(income.front(), true);
  } else if (income.size() > 1) {
    section(noSales ? "Gross Income" : "Other Income", income, true,
            noSales ? "Total Gross Income" : "Total Other Income");
  }
}

void ProfitAndLossPage::expenses() {
  const auto& expenses = mStatement.expenses;
  if (expenses.size() < 2) {
    for (const AccountTotal& account : expenses) {
      accountLine("Less " + account.name, account.amount, kRightEdge);
    }
  } else {
    mPage.newLine();
    section("Less Expenditure", expenses, false, "Total Expenses");
  }
}

void ProfitAndLossPage::netProfit() {
  ruledTotal("Net Profit", mStatement.netProfit());
}

// The other transactions, debits at the inner column and credits at the edge.
void ProfitAndLossPage::otherTransactions() {
  mPage.newLine();
  mPage.newLine();
  mPage.bold();
  mPage.size(12);
  mPage.text(kNames, "Other Transactions:", Align::Left);
  mPage.newLine();
  mPage.size(8);
  mPage.text(kInner, "Debit", Align::Right);
  mPage.text(kRightEdge, "Credit", Align::Right);
  mPage.newLine();
  mPage.regular();
  for (const AccountTotal& account : mStatement.other) {
    accountLine(account.name, account.amount.abs(),
                account.amount >= Currency() ? kInner : kRightEdge);
  }
}

}  // namespace

void writeProfitAndLoss(const ReportWriting& out, const ProfitAndLoss& statement) {
  PageWriter page = out.page;
  ProfitAndLossPage statementPage(page, statement);
  out.beginReportPage();
  page.newLine();
  page.newLine();
  statementPage.sales();
  statementPage.costOfSales();
  statementPage.otherIncome();
  statementPage.expenses();
  statementPage.netProfit();
  page.endPage();

  out.beginReportPage();
  statementPage.otherTransactions();
  page.endPage();
}

}  // namespace lum
