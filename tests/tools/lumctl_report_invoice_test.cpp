// lumctl report invoice | invoices | unpaid | overdue | statements |
// customers | products, over the invoicing files of the reports' tests.

#include <gtest/gtest.h>

#include "tests/post/reports/invoicing_fixture.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

class LumctlInvoiceReport : public ::testing::Test, protected test::InvoicingParts {
 protected:
  LumctlInvoiceReport() { writeSales(); }

  test::LumctlOutcome run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", prog().string(), "--group", "1", "report"});
    return test::lumctl(args);
  }
  // The report written to a file, as text.
  std::string report(std::vector<std::string> args, const char* format = "json") {
    const auto out = dir / "out";
    args.insert(args.end(), {"--format", format, "--out", out.string()});
    const auto result = run(args);
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    return test::readText(out);
  }
};

TEST_F(LumctlInvoiceReport, TheUnpaidListAsJson) {
  EXPECT_EQ(report({"unpaid", "--date", "31/08/05"}), R"({
  "as_at": "2005-08-31",
  "invoices": [
    {
      "invoice": 1,
      "client": "Jones Building",
      "date": "2005-08-05",
      "due": "2005-09-04",
      "total": "286.0000",
      "paid_date": "",
      "paid": "100.0000",
      "discount": "6.0000",
      "written_off": "0.0000",
      "balance": "180.0000"
    },
    {
      "invoice": 2,
      "client": "Brown & Co",
      "date": "2005-08-31",
      "due": "",
      "total": "55.0000",
      "paid_date": "",
      "paid": "0.0000",
      "discount": "0.0000",
      "written_off": "0.0000",
      "balance": "55.0000"
    },
    {
      "invoice": 3,
      "client": "Jones Building",
      "date": "2005-08-01",
      "due": "2005-08-15",
      "total": "220.0000",
      "paid_date": "2005-09-05",
      "paid": "220.0000",
      "discount": "0.0000",
      "written_off": "0.0000",
      "balance": "0.0000"
    }
  ],
  "totals": {
    "total": "561.0000",
    "paid": "320.0000",
    "discount": "6.0000",
    "written_off": "0.0000",
    "balance": "235.0000"
  }
}
)");
}

TEST_F(LumctlInvoiceReport, OneCustomersStatementAsJson) {
  EXPECT_EQ(report({"statements", "--customers", "2", "--date", "31.8.05"}), R"({
  "as_at": "2005-08-31",
  "statements": [
    {
      "customer": 2,
      "name": "Brown & Co",
      "invoices": [
        {
          "invoice": 2,
          "date": "2005-08-31",
          "charge": "55.0000",
          "paid": "0.0000",
          "credits": "0.0000",
          "balance": "55.0000"
        }
      ],
      "totals": {
        "charge": "55.0000",
        "paid": "0.0000",
        "credits": "0.0000",
        "balance": "55.0000"
      }
    }
  ]
}
)");
  // A range reaching past the customers is limited to them.
  const std::string all = report({"statements", "--customers", "-5-40000", "--date", "31/08/05"});
  EXPECT_NE(all.find("\"name\": \"Jones Building\""), std::string::npos);
  EXPECT_NE(all.find("\"name\": \"Brown & Co\""), std::string::npos);
}

TEST_F(LumctlInvoiceReport, TheTaxCreditNoteAsJsonAndPdf) {
  const std::string json = report({"invoice", "--invoice", "5"});
  EXPECT_NE(json.find("\"title\": \"Tax Credit Note\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"abn\": \"12 345 678 901\""), std::string::npos);
  EXPECT_NE(json.find("\"total\": \"-22.0000\""), std::string::npos);
  EXPECT_EQ(report({"invoice", "--invoice", "1"}, "pdf").substr(0, 5), "%PDF-");
}

// With the metrics of real fonts, forty lines still fit one page.
TEST_F(LumctlInvoiceReport, FortyLinesPrintOnOnePage) {
  std::vector<int> details;
  for (int d = 1; d <= kInvoiceLines; ++d) {
    line(d, {d, "Copper elbow joint 15mm, silver soldered, pressure tested", 1, 1000, "y", 1100});
    details.push_back(d);
  }
  sale(9, {1, "20/08/05", "20/09/05", "25/08/05", 44000, 4000, 40000, 1000, 3000, details});
  setCounter(EntityCounter::Invoices, 9, "Invoices");
  const std::string text = report({"invoice", "--invoice", "9"}, "text");
  EXPECT_NE(text.find(" L Total GST included in this invoice\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("\n2 "), std::string::npos) << text;
}

TEST_F(LumctlInvoiceReport, CustomersAndProductsAsJson) {
  const std::string customers = report({"customers", "--date", "31/08/05"});
  EXPECT_NE(customers.find("\"customer\": 2"), std::string::npos) << customers;
  EXPECT_NE(customers.find("\"town\": \"Penrith\""), std::string::npos);
  const std::string products = report({"products", "--date", "31/08/05"});
  EXPECT_NE(products.find(R"("product": 7,
      "description": "Labour per hour",
      "unit_price": "80.0000",
      "gst": "y")"),
            std::string::npos)
      << products;
}

TEST_F(LumctlInvoiceReport, RefusalsSayWhy) {
  const auto out = (dir / "refused").string();
  auto result = run({"unpaid", "--format", "json", "--out", out});
  EXPECT_EQ(result.status, kExitUsage);
  EXPECT_EQ(result.err, "lumctl: report unpaid needs --date dd/mm/yy\n");
  result = run({"unpaid", "--date", "31/02/05", "--format", "json", "--out", out});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("Date entered is not admissible"), std::string::npos) << result.err;
  result = run({"statements", "--customers", "40000", "--date", "31/08/05", "--format", "json",
                "--out", out});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err, "lumctl: no customer 40000 (the customers are numbered 1 to 2)\n");
  // Nobody owing is no failure: no pages, and it is said.
  const auto none = (dir / "none").string();
  result = run({"statements", "--date", "31/07/05", "--format", "text", "--out", none});
  EXPECT_EQ(result.status, kExitSuccess);
  EXPECT_EQ(result.err, "lumctl: No customer has invoices unpaid as at 31/07/05.\n");
  EXPECT_EQ(test::readText(none), "");
  result = run({"invoice", "--invoice", "6", "--format", "text", "--out", out});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err, "lumctl: there is no invoice 6 in use\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace lum
