#include "post/reports/gst_figures.h"

#include <fmt/core.h>
#include <gtest/gtest.h>

#include <limits>

#include "tests/post/reports/report_fixture.h"

namespace lum {
namespace {

Currency cents(long long value) {
  return Currency::fromCents(value);
}
Currency dollars(long long value) {
  return Currency::fromCents(value * 100);
}

GstAccount account(char type, char gstApplies, double category = 0, double privateUse = 0) {
  return {static_cast<AccountType>(type), static_cast<GstCode>(gstApplies), category, privateUse};
}

class GstClassifierTest : public ::testing::Test {
 protected:
  void classify(Currency amount, const GstAccount& to, bool rowSaysGst = false) {
    GstClassifier(settings, row, bas).classify(amount, to, rowSaysGst);
  }
  GstSettings settings;
  GstRow row{};
  BasAmounts bas{};
};

TEST_F(GstClassifierTest, ATaxedSaleCarriesOneEleventhGst) {
  classify(dollars(110), account('S', 'Y'));
  EXPECT_EQ(row[kTaxedIncome], dollars(110));
  EXPECT_EQ(row[kIncomeGst], dollars(10));
  EXPECT_EQ(totalIncome(row), dollars(100));
  const BasSummary summary = computeBas(row, bas);
  EXPECT_EQ(summary.labels[1], dollars(110));
  EXPECT_EQ(summary.labels[9], dollars(10));
  EXPECT_EQ(summary.netGstLiability, dollars(10));
}

// Total sales and total purchases are whole dollars of what was taken and
// paid, not eleven times the whole dollars of the GST in it.
TEST_F(GstClassifierTest, G1AndG12AreTheWholeDollarsOfTheTotals) {
  classify(cents(15389), account('S', 'Y'));  // 13.99 GST
  classify(cents(4260), account('I', 'N'));
  classify(cents(21999), account('E', 'Y'));  // 19.9991 credits
  classify(cents(1075), account('E', 'N'));
  ASSERT_EQ(row[kIncomeGst], cents(1399));
  const BasAmounts g = computeBas(row, bas).labels;
  EXPECT_EQ(g[1], dollars(196));  // 153.89 + 42.60
  EXPECT_EQ(g[5], dollars(42));
  EXPECT_EQ(g[6], dollars(154));
  EXPECT_EQ(g[8], dollars(154));
  EXPECT_EQ(g[9], dollars(14));
  EXPECT_EQ(g[12], dollars(230));  // 219.99 + 10.75
  EXPECT_EQ(g[16], dollars(10));
  EXPECT_EQ(g[17], dollars(220));
  EXPECT_EQ(g[20], dollars(20));
}

TEST_F(GstClassifierTest, TheExemptRatioOnSalesSplitsOnlyWithoutAGstLetter) {
  settings.exemptSalesRatio = 0.25;
  classify(dollars(110), account('S', 'C'));
  EXPECT_EQ(row[kFreeIncome], cents(2750));
  EXPECT_EQ(row[kTaxedIncome], cents(8250));
  EXPECT_EQ(row[kIncomeGst], cents(750));

  row = {};
  classify(dollars(110), account('S', 'Y'));
  EXPECT_EQ(row[kFreeIncome], Currency());
  EXPECT_EQ(row[kTaxedIncome], dollars(110));
}

TEST_F(GstClassifierTest, AGstColumnMovesItsPurchaseFromFreeToTaxed) {
  classify(dollars(110), account('E', 'N'));
  classify(dollars(10), account('E', 'T'));
  EXPECT_EQ(row[kFreePayments], Currency());
  EXPECT_EQ(row[kTaxedPayments], dollars(110));
  EXPECT_EQ(row[kGstCredits], dollars(10));
}

TEST_F(GstClassifierTest, BalanceSheetAccountsNeverReachTheReport) {
  for (const char type : std::string_view("TALMPDNW")) {
    classify(dollars(110), account(type, 'Y', 10));
    classify(dollars(110), account(type, 'T', 7), true);
  }
  EXPECT_TRUE(allZero(row));
  EXPECT_EQ(bas, BasAmounts{});
}

TEST_F(GstClassifierTest, TheTransactionsLetterAndPrivateUseDecideTheRest) {
  classify(dollars(110), account('E', ' '), true);
  EXPECT_EQ(row[kTaxedPayments], dollars(110));
  classify(dollars(50), account('E', ' '), false);
  EXPECT_EQ(row[kFreePayments], dollars(50));
  row = {};
  classify(dollars(200), account('E', ' ', 0, 0.5), false);  // half private, whatever the letter
  EXPECT_EQ(row[kFreePayments], dollars(100));
  EXPECT_EQ(row[kTaxedPayments], dollars(100));
}

TEST_F(GstClassifierTest, BasLabelsFollowTheCategoriesAndFixedAssets) {
  classify(dollars(1100), account('F', 'Y', 3));  // fixed assets feed G10 whatever the category
  classify(dollars(330), account('E', 'Y', 18));  // 18 feeds nothing
  classify(dollars(40), account('I', 'N', 2));
  classify(dollars(25), account('E', 'N', 13));
  EXPECT_EQ(bas[10], dollars(1100));
  EXPECT_EQ(bas[2], dollars(40));
  EXPECT_EQ(bas[13], dollars(25));
  const BasSummary summary = computeBas(row, bas);
  const BasAmounts& g = summary.labels;
  EXPECT_EQ(g[18], Currency());
  EXPECT_EQ(g[19], g[17]);
  // G12: the payments with GST (1,100 + 330) and without (25).
  EXPECT_EQ(g[12], dollars(1430 + 25));
  EXPECT_EQ(g[11], g[12] - dollars(1100));
  EXPECT_EQ(g[16], dollars(25));
  EXPECT_EQ(g[14], dollars(0));
  EXPECT_EQ(g[20], dollars((25 + 11 * 130 - 25) / 11));
  EXPECT_EQ(g[5], dollars(40));
  EXPECT_EQ(g[3], dollars(0));
}

// The share the profit and loss and the ledgers transfer take out.
TEST(GstTakenOut, TheAccountsLetterThenTheRowsWithTheTaxableShareOnly) {
  GstSettings settings;
  const Currency sale = dollars(110);
  EXPECT_EQ(gstTakenOut(sale, account('S', 'Y'), 'N', settings), dollars(10));
  EXPECT_EQ(gstTakenOut(sale, account('S', 'N'), 'Y', settings), Currency());
  EXPECT_EQ(gstTakenOut(cents(1234), account('E', 'T'), 'N', settings), cents(1234));
  EXPECT_EQ(gstTakenOut(sale, account('E', 'C'), 'Y', settings), dollars(10));
  EXPECT_EQ(gstTakenOut(sale, account('E', 'C'), 'N', settings), Currency());
  settings.exemptSalesRatio = 0.25;  // a combined sales account: GST on three quarters
  EXPECT_EQ(gstTakenOut(sale, account('S', 'C'), 'N', settings), cents(750));
  EXPECT_EQ(gstTakenOut(sale, account('S', 'Y'), 'N', settings), dollars(10));
  // A private-use ratio applies to an account that is not combined.
  EXPECT_EQ(gstTakenOut(sale, account('E', 'N', 0, 0.5), 'N', settings), cents(500));
  EXPECT_EQ(gstTakenOut(sale, account('E', 'C', 0, 0.5), 'N', settings), Currency());
  settings.gstRate = -1;  // damaged: no figure fits
  EXPECT_THROW(gstTakenOut(sale, account('S', 'Y'), 'N', settings), std::overflow_error);
}

// At a GST rate of 100% a cent's GST is exactly half a cent: halves go
// away from zero on both sides, and a figure too large for cents to
// matter is taken whole.
TEST(GstTakenOut, HalfCentsGoAwayFromZero) {
  GstSettings settings;
  settings.gstRate = 1;
  const GstAccount taxed = account('E', 'Y');
  EXPECT_EQ(gstTakenOut(cents(1), taxed, 'N', settings), cents(1));
  EXPECT_EQ(gstTakenOut(cents(-1), taxed, 'N', settings), cents(-1));
  EXPECT_EQ(gstTakenOut(cents(3), taxed, 'N', settings), cents(2));
  EXPECT_EQ(gstTakenOut(cents(-3), taxed, 'N', settings), cents(-2));
  EXPECT_EQ(gstTakenOut(cents(-4), taxed, 'N', settings), cents(-2));
  EXPECT_EQ(gstTakenOut(dollars(100'000'000'000'000), taxed, 'N', settings),
            dollars(50'000'000'000'000));
}

TEST(GstSettingsTest, ExemptRatiosOutsideZeroToOneCountAsNone) {
  SetupValues setup;
  setup.exemptSalesRatio = 1.5;
  setup.exemptPurchaseRatio = std::numeric_limits<double>::quiet_NaN();
  GstSettings settings = GstSettings::of(setup);
  EXPECT_EQ(settings.exemptSalesRatio, 0);
  EXPECT_EQ(settings.exemptPurchaseRatio, 0);
  setup.exemptSalesRatio = 1;
  setup.exemptPurchaseRatio = -0.25;
  settings = GstSettings::of(setup);
  EXPECT_EQ(settings.exemptSalesRatio, 1);
  EXPECT_EQ(settings.exemptPurchaseRatio, 0);
}

class GstGathering : public ::testing::Test, protected test::ReportParts {};

TEST_F(GstGathering, EachJournalIsGatheredFromItsFilesWithProgressToHalfWay) {
  setJournals(3);
  session.login.setup.paygRate = 0.02;
  writeJournal(1, {{"Sales", "Y", "S"}, {"Bank", "Y", "A"}}, {{"Y", {11000, 5000}}});
  writeJournal(2, {{"Fuel", "", "E"}}, {{"Y", {2200}}, {"N", {300}}});
  // Journal 3 has no file for the quarter: nothing, and no line.
  std::vector<std::pair<int, int>> steps;
  const GstFigures figures =
      gatherGstFigures(session, [&](int done, int total) { steps.emplace_back(done, total); });
  EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 6}, {2, 6}, {3, 6}}));
  ASSERT_EQ(figures.journals.size(), 3u);
  EXPECT_EQ(figures.journals[0][kTaxedIncome], dollars(110));
  EXPECT_EQ(figures.journals[0][kPayg], dollars(2));  // 2% of the income without GST
  EXPECT_EQ(figures.journals[1][kTaxedPayments], dollars(22));
  EXPECT_EQ(figures.journals[1][kFreePayments], dollars(3));
  EXPECT_TRUE(allZero(figures.journals[2]));
  EXPECT_EQ(totalsOf(figures)[kGstCredits], dollars(2));
}

TEST_F(GstGathering, PostingModeThreeTurnsIncomeAndItsLabels) {
  session.login.setup.postingMode = PostingMode::OtherBusiness;
  session.login.setup.paygRate = 0.1;
  setJournals(1);
  // In mode 3 income is entered as a negative figure.
  writeJournal(1, {{"Sales", "Y", "S", 7}, {"Exports", "N", "S", 2}}, {{"", {-11000, -5000}}});
  const GstFigures figures = gatherGstFigures(session);
  const GstRow& row = figures.journals[0];
  EXPECT_EQ(row[kTaxedIncome], dollars(110));
  EXPECT_EQ(row[kIncomeGst], dollars(10));
  EXPECT_EQ(row[kFreeIncome], dollars(50));
  EXPECT_EQ(row[kPayg], dollars(15));  // on 100 + 50, after the signs turned
  EXPECT_EQ(figures.accumulated[7], dollars(110));
  EXPECT_EQ(figures.accumulated[2], dollars(50));
}

TEST_F(GstGathering, DamagedFilesGiveSaneFigures) {
  setJournals(2);
  // The accounts file is shorter than the columns in use; ratios outside 0
  // to 1 and an absurd category.
  writeJournal(1, {{"Fuel", "", "E", 1e9f, 7}, {"Oil", "", "C", 0, -1}},
               {{"Y", {1000, 1000, 1100}}});
  const GstFigures figures = gatherGstFigures(session);
  const GstRow& row = figures.journals[0];
  // Ratios of 7 and -1 count as none, as the ledgers transfer writes them
  // back; the third column has no account.
  EXPECT_EQ(row[kFreePayments], Currency());
  EXPECT_EQ(row[kTaxedPayments], dollars(31));
  EXPECT_EQ(figures.accumulated, BasAmounts{});
  EXPECT_FALSE(figures.damage.any());
}

}  // namespace
}  // namespace lum
