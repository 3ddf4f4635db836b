#include "post/reports/report_writing.h"

#include <fmt/core.h>

#include "platform/text.h"
#include "post/render/yazan.h"
#include "post/reports/report_text.h"

namespace lum {
namespace {

const Currency kAlignLeft = Currency::fromRaw(1 * Currency::kScale);
const Currency kAlignRight = Currency::fromRaw(2 * Currency::kScale);
constexpr int kDollarsAndCents = 1;
constexpr int kWholeDollars = 2;
constexpr int kRightEdge = 195;

Currency magnitude(Currency amount) {
  return amount < Currency() ? -amount : amount;
}

}  // namespace

void ReportWriting::leftAt(std::string_view text, int x) const {
  yazan.Yazz(text, x, kAlignLeft);
}

void ReportWriting::rightAt(std::string_view text, int x) const {
  yazan.Yazz(text, x, kAlignRight);
}

void writeGstReport(const ReportWriting& out, const GstFigures& figures,
                    const std::vector<std::string>& names, bool basSummary) {
  Yazan& y = out.yazan;
  const int l = out.left;
  constexpr int kColumnsAt[] = {55, 75, 95, 115, 135, 155};
  const auto figuresLine = [&](const GstRow& row) {
    for (std::size_t k = 0; k < 6; ++k) {
      y.Para(kColumnsAt[k], row[k], kDollarsAndCents);
    }
    y.Para(175, totalIncome(row), kDollarsAndCents);
    y.Para(kRightEdge, row[kPayg], kDollarsAndCents);
  };

  out.beginReportPage();
  for (std::size_t j = 0; j < figures.journals.size(); ++j) {
    const GstRow& row = figures.journals[j];
    if (allZero(row)) {
      continue;
    }
    y.Sati();
    out.rightAt(std::to_string(j + 1), l + 7);
    out.leftAt(j < names.size() ? trim(names[j]) : std::string_view(), l + 9);
    figuresLine(row);
  }
  const GstRow totals = totalsOf(figures);
  y.Sati();
  y.Cift();
  y.Ccek(l, kRightEdge);
  y.Sati();
  out.leftAt("Totals", l + 9);
  figuresLine(totals);

  if (basSummary) {
    const BasSummary bas = computeBas(totals, figures.accumulated);
    const BasAmounts& g = bas.labels;
    y.Sati();
    y.Sati();
    y.Olcu(14);
    out.leftAt("BAS Statement Summary", l + 9);
    y.Sati();
    y.Olcu(10);
    y.Tek();
    y.Sati();
    const std::pair<const char*, const char*> labels[] = {
        {"G1 - Total Suppies", "G10- Capital Acquisitions"},
        {"G2 - Exports", "G11- Other Acquisitions"},
        {"G3 - Other GST free Supplies", "G12- Total Acquisitions"},
        {"G4 - Input Taxed Icome", "G13- Acquisitons for Input Taxed Supplies"},
        {"G5 - Total GST free Supplies", "G14- Acquisitions with no GST"},
        {"G6 - Total Gross Taxable Supplies", "G15- Private Use Acquisitions"},
        {"G7 - Adjustments to Supplies", "G16- Total Non Credible Acquisitions"},
        {"G8 - Total Net Taxable Supplies", "G17- Gross Total Credible Acquisitions"},
        {"G9 - GST Liability on Supplies", "G18- Adjustments to Acquisitions"}};
    for (std::size_t i = 0; i < std::size(labels); ++i) {
      out.leftAt(labels[i].first, l + 9);
      y.Para(95, g[i + 1], kWholeDollars);
      out.leftAt(labels[i].second, l + 100);
      y.Para(kRightEdge, g[i + 10], kWholeDollars);
      y.Sati();
    }
    out.leftAt("G19- Net Credible Acquisitions", l + 100);
    y.Para(kRightEdge, g[19], kWholeDollars);
    y.Sati();
    y.Ccek(l + 9, 95);
    y.Cift();
    out.leftAt("       Net GST Liability", l + 9);
    y.Para(95, bas.netGstLiability, kWholeDollars);
    y.Tek();
    out.leftAt("G20- GST Credit on Acquisitions", l + 100);
    y.Para(kRightEdge, g[20], kWholeDollars);
  }
  y.SBit();
}

void writeGstHeadingColumns(const ReportWriting& out, const GstSettings& settings) {
  Yazan& y = out.yazan;
  y.Olcu(8);
  y.Tek();
  out.leftAt("GST Exempt Ratio on Sales: " + numberToText(settings.exemptSalesRatio) +
                 " - GST Exempt Ratio on Purchases: " + numberToText(settings.exemptPurchaseRatio),
             out.left);
  y.Sati();
  y.Sati();
  y.Cift();
  out.rightAt("------------------------------------------------------Subject to GST", 115);
  out.rightAt("Not Subject to GST", 155);
  out.rightAt(numberToText(settings.paygRate * 100) + "%", kRightEdge);
  y.Sati();
  const std::pair<const char*, int> titles[] = {
      {"Income", 55},  {"GST", 75},      {"Payment", 95},     {"Credit", 115},
      {"Income", 135}, {"Payment", 155}, {"Tot Income", 175}, {"PAYG", kRightEdge}};
  for (const auto& [title, x] : titles) {
    out.rightAt(title, x);
  }
  y.Sati();
  y.Olcu(8);
  y.Tek();
}

void writeTrialBalance(const ReportWriting& out, const TrialBalance& balance) {
  Yazan& y = out.yazan;
  const int l = out.left;
  out.beginReportPage();
  for (const TrialBalanceLine& line : balance.lines) {
    y.Sati();
    out.leftAt(line.account, l + 5);
    if (line.total > Currency()) {
      y.Para(l + 150, line.total, kDollarsAndCents);
    } else {
      y.Para(l + 180, magnitude(line.total), kDollarsAndCents);
    }
  }
  y.Sati();
  y.Cift();
  y.Ccek(l + 5, l + 180);
  out.leftAt("Totals", l + 5);
  y.Para(l + 150, balance.debitTotal, kDollarsAndCents);
  y.Para(l + 180, magnitude(balance.creditTotal), kDollarsAndCents);
  y.SBit();
}

void writeTrialBalanceHeadingColumns(const ReportWriting& out) {
  const int l = out.left;
  out.leftAt("Account", l + 5);
  out.rightAt("Debit", l + 150);
  out.rightAt("Credit", l + 180);
  out.yazan.Tek();
}

void writeJournalLedgers(const ReportWriting& out, const std::vector<AccountLedger>& ledgers) {
  Yazan& y = out.yazan;
  const int l = out.left;
  out.beginReportPage();
  for (const AccountLedger& ledger : ledgers) {
    y.Sati();
    y.Sati();
    y.Cift();
    out.leftAt(ledger.account, l + 5);
    y.Sati();
    y.Tek();
    out.leftAt(fmt::format("Account Type: {} - GST Class: {} - GST Exempt Ratio: {} - Ledgers A/C "
                           "No:{}",
                           ledger.type, ledger.gstApplies, numberToText(ledger.privateUseRatio),
                           numberToText(ledger.ledgersAccount)),
               l + 5);
    y.Sati();
    y.Sati();
    y.Cift();
    out.leftAt("Date", l + 5);
    out.leftAt("Details", l + 18);
    out.rightAt("GST", l + 120);
    out.rightAt("Ref", l + 130);
    out.rightAt("Debit", l + 150);
    out.rightAt("Credit", l + 180);
    y.Tek();
    for (const LedgerLine& line : ledger.lines) {
      y.Sati();
      out.leftAt(line.date, l + 5);
      out.leftAt(line.details, l + 18);
      out.rightAt(line.gst, l + 120);
      out.rightAt(line.reference, l + 130);
      y.Para(line.amount >= Currency() ? l + 150 : l + 180, magnitude(line.amount),
             kDollarsAndCents);
    }
    y.Sati();
    y.Cift();
    y.Ccek(l + 5, l + 180);
    out.leftAt("Total", l + 5);
    y.Para(ledger.total >= Currency() ? l + 150 : l + 180, magnitude(ledger.total),
           kDollarsAndCents);
  }
  y.SBit();
}

void writeProfitAndLoss(const ReportWriting& out, const ProfitAndLoss& statement) {
  Yazan& y = out.yazan;
  constexpr int kNames = 10;
  constexpr int kInner = 175;  // the accounts of a section with a total
  const auto line = [&](std::string_view name, Currency amount, int x) {
    y.Sati();
    out.leftAt(name, kNames);
    y.Para(x, amount, kWholeDollars);
  };
  // A bold line with its amount at the right edge, after a rule above it.
  const auto ruledTotal = [&](std::string_view name, Currency amount) {
    y.Cift();
    y.Sati();
    y.Ccek(187, kRightEdge);
    out.leftAt(name, kNames);
    y.Para(kRightEdge, amount, kWholeDollars);
    y.Tek();
  };
  // A heading, the accounts at the inner column, and their total.
  const auto section = [&](std::string_view heading, const std::vector<AccountTotal>& accounts,
                           bool income, std::string_view totalName) {
    y.Sati();
    y.Cift();
    out.leftAt(heading, kNames);
    y.Tek();
    for (const AccountTotal& account : accounts) {
      line(account.name, income ? -account.amount : account.amount, kInner);
    }
    y.Sati();
    y.Cift();
    y.Ccek(167, kInner);
    out.leftAt(totalName, kNames);
    const Currency total = ProfitAndLoss::sum(accounts);
    y.Para(kRightEdge, income ? -total : total, kWholeDollars);
    y.Tek();
  };
  const auto single = [&](const AccountTotal& account, bool income) {
    y.Cift();
    y.Sati();
    out.leftAt(account.name, kNames);
    y.Para(kRightEdge, income ? -account.amount : account.amount, kWholeDollars);
    y.Tek();
  };

  out.beginReportPage();
  y.Sati();
  y.Sati();
  const bool noSales = statement.sales.empty();
  if (statement.sales.size() > 1) {
    y.Sati();
    y.Cift();
    out.leftAt("Gross Sales", kNames);
    y.Tek();
    for (const AccountTotal& account : statement.sales) {
      line(account.name, -account.amount, kRightEdge);
    }
    y.Sati();
    y.Cift();
    y.Ccek(187, kRightEdge);
    out.leftAt("Total Gross Sales", kNames);
    y.Para(kRightEdge, -ProfitAndLoss::sum(statement.sales), kWholeDollars);
    y.Tek();
  } else if (statement.sales.size() == 1) {
    single(statement.sales.front(), true);
  }

  if (statement.costOfSales.size() < 2) {
    for (const AccountTotal& account : statement.costOfSales) {
      line("Less " + account.name, account.amount, kRightEdge);
    }
  } else {
    section("Less Cost of Sales", statement.costOfSales, false, "Total Cost of Sales");
  }
  if (!statement.costOfSales.empty()) {
    ruledTotal("Gross Profit", statement.grossProfit());
  }

  if (statement.otherIncome.size() == 1) {
    single(statement.otherIncome.front(), true);
  } else if (statement.otherIncome.size() > 1) {
    section(noSales ? "Gross Income" : "Other Income", statement.otherIncome, true,
            noSales ? "Total Gross Income" : "Total Other Income");
  }

  if (statement.expenses.size() < 2) {
    for (const AccountTotal& account : statement.expenses) {
      line("Less " + account.name, account.amount, kRightEdge);
    }
  } else {
    y.Sati();
    section("Less Expenditure", statement.expenses, false, "Total Expenses");
  }
  ruledTotal("Net Profit", statement.netProfit());
  y.SBit();

  out.beginReportPage();
  y.Sati();
  y.Sati();
  y.Cift();
  y.Olcu(12);
  out.leftAt("Other Transactions:", kNames);
  y.Sati();
  y.Olcu(8);
  out.rightAt("Debit", kInner);
  out.rightAt("Credit", kRightEdge);
  y.Sati();
  y.Tek();
  for (const AccountTotal& account : statement.other) {
    line(account.name, magnitude(account.amount),
         account.amount >= Currency() ? kInner : kRightEdge);
  }
  y.SBit();
}

}  // namespace lum
