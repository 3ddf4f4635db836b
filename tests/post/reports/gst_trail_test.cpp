#include "post/reports/gst_trail.h"

#include <gtest/gtest.h>

#include <random>

#include "post/reports/gst_trail_csv.h"
#include "tests/post/reports/report_fixture.h"

namespace lum {
namespace {

Currency dollars(long long value) {
  return Currency::fromCents(value * 100);
}

class GstTrailTest : public ::testing::Test, protected test::ReportParts {
 protected:
  // A book with every rule in it: accounts of each type, letter, category
  // and private-use ratio; rows with and without a GST letter, amounts of
  // both signs with odd cents, rows with no amount, and exempt ratios.
  void writeBook(unsigned seed) {
    session.login.setup.paygRate = 0.035;
    session.login.setup.exemptSalesRatio = 0.2;
    session.login.setup.exemptPurchaseRatio = 0.15;
    std::mt19937 random(seed);
    const auto pick = [&](auto const& choices) {
      return choices[std::uniform_int_distribution<std::size_t>(0, std::size(choices) - 1)(random)];
    };
    static const char* const kTypes[] = {"S", "C", "E", "I", "F", "A", "L", "P",
                                         "D", "T", "M", "N", "W", "s", " "};
    static const char* const kLetters[] = {"Y", "N", "T", "C", "", "y"};
    static const float kCategories[] = {0, 2, 4, 7, 10, 13, 15, 18};
    static const float kRatios[] = {0, 0, 0, 0.25f, 0.5f};
    static const char* const kRowLetters[] = {"Y", "N", "", "y"};
    constexpr int kJournals = 4;
    setJournals(kJournals);
    for (int j = 1; j <= kJournals; ++j) {
      // An account for each label, then accounts of every kind at random.
      std::vector<Account> accounts = {{"Exports", "N", "S", 2},      {"Interest", "N", "I", 4},
                                       {"Adjustments", "Y", "S", 7},  {"Plant", "", "F"},
                                       {"Computers", "Y", "E", 10},   {"Rent", "N", "C", 13},
                                       {"Private car", "N", "E", 15}, {"GST paid", "T", "E"},
                                       {"Car", "", "E", 0, 0.25f},    {"Sales", "C", "S"},
                                       {"Purchases", "C", "C"},       {"Bank", "Y", "A"}};
      for (int c = 0; c < 20; ++c) {
        accounts.push_back(
            {"Account", pick(kLetters), pick(kTypes), pick(kCategories), pick(kRatios)});
      }
      std::vector<Row> rows;
      for (int t = 0; t < 250; ++t) {
        std::vector<long long> amounts(accounts.size());
        if (t % 17 != 5) {  // every seventeenth row has no amount
          for (long long& cents : amounts) {
            if (random() % 3 == 0) {
              cents = std::uniform_int_distribution<long long>(-500000, 900000)(random);
            }
          }
        }
        rows.push_back({pick(kRowLetters), amounts, "15/08/26", "7", "Takings"});
      }
      writeJournal(j, accounts, rows);
    }
  }

  // Each figure's trail adds up to it: to the cent for the report's columns
  // and the labels the amounts feed as they are, the rest short of the
  // cents their whole dollars leave out.
  void expectTrailsAddUp() {
    const GstFigures plain = gatherGstFigures(session);
    GstTrail trail;
    const GstFigures figures = gatherGstFigures(session, {}, &trail);
    ASSERT_EQ(figures.journals, plain.journals) << "the trail changes no figure";
    ASSERT_EQ(figures.accumulated, plain.accumulated);
    ASSERT_GT(trail.lines.size(), 1000u);
    for (const TrailFigure figure : trailFigures()) {
      const FigureTrail found = figureTrail(trail, figures, figure);
      Currency sum;
      for (const FigureTrail::Share& share : found.shares) {
        sum += share.amount;
      }
      EXPECT_EQ(sum + found.centsLeftOut, found.value) << figure.name();
      const int n = figure.number;
      const bool asAdded = figure.kind == TrailFigure::Kind::Column || n == 2 || n == 4 || n == 7 ||
                           n == 10 || n == 13 || n == 15 || n == 18;
      if (asAdded) {
        EXPECT_EQ(found.centsLeftOut, Currency()) << figure.name();
      } else {
        EXPECT_LT(found.centsLeftOut.abs(), dollars(3)) << figure.name();
      }
      if (n == 1 || n == 12) {  // the whole dollars of the amounts, GST included
        EXPECT_LT(found.centsLeftOut.abs(), dollars(1)) << figure.name();
      }
      if (figure.kind == TrailFigure::Kind::Column || n <= 2) {
        EXPECT_FALSE(found.shares.empty()) << figure.name();
      }
    }
  }
};

TEST_F(GstTrailTest, EveryFigureAddsUpInASmallCashBusinessBook) {
  writeBook(1);
  expectTrailsAddUp();
}

TEST_F(GstTrailTest, EveryFigureAddsUpInAnOtherBusinessBook) {
  session.login.setup.postingMode = PostingMode::OtherBusiness;
  writeBook(2);
  expectTrailsAddUp();
}

TEST_F(GstTrailTest, EachAmountSaysHowItWasTakenAndWhatWasLeftOut) {
  session.login.setup.paygRate = 0.02;
  setJournals(2);
  writeJournal(1,
               {{"Sales", "C", "S", 7},
                {"Bank", "Y", "A"},
                {"Car", "", "E", 0, 0.25f},
                {"GST Paid", "T", "E"}},
               {{"Y", {11000, 11000}, "03/08/26", "12", "Takings"},
                {"N", {0, 0, 4400, 0}, "04/08/26", "13", "Fuel"},
                {"Y", {0, 0, 0, 500}, "05/08/26", "14", "GST"},
                {"Y", {}, "06/08/26", "15", "Note"}});
  // Journal 2's amounts file holds fewer rows than it says are in use.
  writeJournal(2, {{"Fuel", "Y", "E"}}, {{"Y", {2200}}});
  const auto amounts = area() / "AI020001.dat";
  std::vector<std::byte> bytes = test::readBytes(amounts);
  const test::Bytes header = test::Bytes().raw8(0).raw8(40 * 10000);
  std::copy(header.bytes().begin(), header.bytes().end(), bytes.begin());
  test::writeBytes(amounts, bytes);

  GstTrail trail;
  const GstFigures figures = gatherGstFigures(session, {}, &trail);
  ASSERT_EQ(trail.lines.size(), 4u);  // sales, car, GST, PAYG

  const GstTrailLine& sale = trail.lines[0];
  EXPECT_EQ(trail.rowOf(sale).particulars, "Takings");
  EXPECT_EQ(trail.rowOf(sale).row, 1);
  EXPECT_EQ(trail.accountOf(trail.rowOf(sale), sale.column), "Sales");
  EXPECT_EQ(sale.route, TrailRoute::TaxedByRow);
  EXPECT_EQ(sale.added(kTaxedIncome), dollars(110));
  EXPECT_EQ(sale.added(kIncomeGst), dollars(10));
  EXPECT_EQ(sale.addedToLabel(7), dollars(110));
  EXPECT_EQ(shareOf(sale, TrailFigure::label(9)), dollars(20));  // G8 is G6 and G7

  const GstTrailLine& car = trail.lines[1];
  EXPECT_EQ(car.route, TrailRoute::Split);
  EXPECT_EQ(car.share, 0.25F);
  EXPECT_EQ(car.added(kFreePayments), dollars(11));
  EXPECT_EQ(car.added(kTaxedPayments), dollars(33));
  EXPECT_EQ(car.added(kGstCredits), dollars(3));

  const GstTrailLine& gst = trail.lines[2];
  EXPECT_EQ(gst.route, TrailRoute::GstAmount);
  EXPECT_EQ(gst.added(kTaxedPayments), dollars(55));
  EXPECT_EQ(gst.added(kFreePayments), dollars(-55));

  const GstTrailLine& payg = trail.lines[3];
  EXPECT_EQ(payg.route, TrailRoute::Payg);
  EXPECT_EQ(trail.rowOf(payg).row, 0);
  EXPECT_EQ(payg.amount, dollars(100));
  EXPECT_EQ(payg.added(kPayg), dollars(2));
  EXPECT_EQ(figureTrail(trail, figures, TrailFigure::column(7)).value, dollars(2));

  ASSERT_EQ(trail.notCounted.size(), 3u);
  EXPECT_EQ(trail.reasonOf(trail.notCounted[0]),
            "Current Assets accounts stay out of the GST report");
  EXPECT_EQ(trail.accountOf(trail.rowOf(trail.notCounted[0]), trail.notCounted[0].column), "Bank");
  EXPECT_EQ(trail.reasonOf(trail.notCounted[1]), "No amount in an analysis column");
  EXPECT_EQ(trail.rowOf(trail.notCounted[1]).row, 4);
  EXPECT_EQ(trail.rowOf(trail.notCounted[2]).journal, 2);
  EXPECT_EQ(trail.reasonOf(trail.notCounted[2]), figures.damage.journals.at(0).message());
}

TEST_F(GstTrailTest, TheCsvOfALabelEndsInItsFigure) {
  setJournals(1);
  writeJournal(1, {{"Sales", "Y", "S"}, {"Bank", "Y", "A"}},
               {{"Y", {11050, 11050}, "03/08/26", "12", "Takings, cash"}});
  GstTrail trail;
  const GstFigures figures = gatherGstFigures(session, {}, &trail);
  EXPECT_EQ(trailCsv(trail, figureTrail(trail, figures, TrailFigure::label(1))),
            "journal,row,date,particulars,ref,account,amount,route,share,1,2,3,4,5,6,7,BAS,G1,"
            "reason\n"
            "1,1,03/08/26,\"Takings, cash\",12,Sales,110.5000,taxed,,110.5000,10.0455,,,,,,,"
            "110.5000,\n"
            ",,,,,,,cents left out,,,,,,,,,,-0.5000,\n"
            ",,,,,,,total,,,,,,,,,,110.0000,\n"
            "1,1,03/08/26,\"Takings, cash\",12,Bank,110.5000,,,,,,,,,,,,Current Assets accounts "
            "stay out of the GST report\n");
}

TEST(TrailFigureTest, NamesAColumnOrALabel) {
  EXPECT_EQ(TrailFigure::parse("g1"), TrailFigure::label(1));
  EXPECT_EQ(TrailFigure::parse("G20"), TrailFigure::label(20));
  EXPECT_EQ(TrailFigure::parse("C7"), TrailFigure::column(7));
  for (const char* wrong : {"G0", "G21", "C8", "G01", "G1x", "X1", "G", ""}) {
    EXPECT_FALSE(TrailFigure::parse(wrong)) << wrong;
  }
  EXPECT_EQ(TrailFigure::label(12).title(), "G12- Total Acquisitions");
}

}  // namespace
}  // namespace lum
