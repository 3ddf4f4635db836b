#include <gtest/gtest.h>

#include <sstream>

#include "tests/post/login/work_area_files.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::lumctl;

// Whether a line of the text holds the pieces, in order, apart.
bool hasLineWith(const std::string& text, const std::vector<std::string>& pieces) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::size_t at = 0;
    bool all = true;
    for (const std::string& piece : pieces) {
      at = line.find(piece, at);
      if (at == std::string::npos) {
        all = false;
        break;
      }
      at += piece.size() + 1;
    }
    if (all) {
      return true;
    }
  }
  return false;
}

// The one-entity work area (quarterly, posting mode 0): journal 1 with the
// analysis columns "Sales" and "Fuel", both GST-applies "Y".
class LumctlReport : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlReport() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
  }
  // Imports rows, under the heading of journal 1's columns, into the September quarter.
  void importRows(int journal, const std::string& rows,
                  const char* heading = "date,particulars,ref,gst,Amount,Sales,Fuel\n") {
    test::writeText(dir / "rows.csv", heading + rows);
    const auto imported = run({"journal", "import", "--journal", std::to_string(journal),
                               "--period", "I", (dir / "rows.csv").string()});
    ASSERT_EQ(imported.status, kExitSuccess) << imported.err;
  }
};

TEST_F(LumctlReport, GstFiguresAsJson) {
  importRows(1, "1.8.26,Takings,1,y,110,110,\n2,Diesel,2,Y,44,,44\n");

  const fs::path out = dir / "gst.json";
  auto result = run({"report", "gst", "--period", "I", "--format", "json", "--out", out.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(test::readText(out), R"({
  "journals": [
    {
      "journal": 1,
      "name": "Takings Book",
      "columns": [
        "110.0000",
        "10.0000",
        "44.0000",
        "4.0000",
        "0.0000",
        "0.0000",
        "0.0000"
      ]
    }
  ],
  "totals": [
    "110.0000",
    "10.0000",
    "44.0000",
    "4.0000",
    "0.0000",
    "0.0000",
    "0.0000"
  ],
  "bas": {
    "G1": "110.0000",
    "G2": "0.0000",
    "G3": "0.0000",
    "G4": "0.0000",
    "G5": "0.0000",
    "G6": "110.0000",
    "G7": "0.0000",
    "G8": "110.0000",
    "G9": "10.0000",
    "G10": "0.0000",
    "G11": "44.0000",
    "G12": "44.0000",
    "G13": "0.0000",
    "G14": "0.0000",
    "G15": "0.0000",
    "G16": "0.0000",
    "G17": "44.0000",
    "G18": "0.0000",
    "G19": "44.0000",
    "G20": "4.0000"
  },
  "net_gst_liability": "6.0000"
}
)");

  // The pages themselves, as the viewer shows them.
  result = run({"report", "gst", "--period", "I", "--format", "text", "--out", "-"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_NE(result.out.find(" L GST Report\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(" L Takings Book\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(" R 110.00\n"), std::string::npos) << result.out;
  // As a person reads them: the journal's line with its figures in the columns' order.
  result = run({"report", "gst", "--period", "I", "--format", "plain", "--out", "-"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out.substr(0, 15), "=== page 1 ===\n");
  EXPECT_TRUE(hasLineWith(result.out, {"GST Report"})) << result.out;
  EXPECT_TRUE(hasLineWith(result.out, {"1", "Takings Book", "110.00", "10.00", "44.00", "4.00"}))
      << result.out;
  EXPECT_TRUE(hasLineWith(result.out, {"Income", "GST", "Payment", "Credit", "Income", "PAYG"}))
      << result.out;
  const fs::path pdf = dir / "gst.pdf";
  result = run({"report", "gst", "--period", "I", "--format", "pdf", "--out", pdf.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(test::readText(pdf).substr(0, 5), "%PDF-");

  // The June quarter has no files: no journal lines, all zero.
  result = run({"report", "gst", "--period", "F", "--format", "json", "--out", out.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_NE(test::readText(out).find("\"journals\": []"), std::string::npos);

  result = run({"report", "gst", "--period", "Z", "--format", "json", "--out", out.string()});
  EXPECT_EQ(result.status, kExitUsage);
  EXPECT_NE(result.err.find("Z is not a period of this quarterly entity"), std::string::npos);
}

TEST_F(LumctlReport, AccountReportsAsJson) {
  importRows(1, "1.8.26,Takings,1,y,110,110,\n2,Diesel,2,Y,-44,,-44\n");
  const fs::path out = dir / "report.json";
  auto result =
      run({"report", "trial-balance", "--period", "I", "--format", "json", "--out", out.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(test::readText(out), R"json({
  "journal": 1,
  "name": "Takings Book",
  "lines": [
    {
      "Account": "Sales",
      "Debit": "110.0000"
    },
    {
      "Account": "Fuel",
      "Credit": "44.0000"
    },
    {
      "Account": "Contra - Takings Book (A/C 621)",
      "Credit": "66.0000"
    }
  ],
  "Totals": {
    "Debit": "110.0000",
    "Credit": "110.0000"
  }
}
)json");
  // The printed page has the same contra line.
  result = run({"report", "trial-balance", "--period", "I", "--format", "text", "--out", "-"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_NE(result.out.find(" L Contra - Takings Book (A/C 621)\n"), std::string::npos)
      << result.out;
  result = run({"report", "trial-balance", "--period", "I", "--format", "plain", "--out", "-"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_TRUE(hasLineWith(result.out, {"Contra - Takings Book (A/C 621)", "66.00"})) << result.out;

  result = run({"report", "ledgers", "--journal", "1", "--period", "I", "--format", "json", "--out",
                out.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_NE(test::readText(out).find(R"("Details": "Diesel",
          "GST": "Y",
          "Ref": "2",
          "Credit": "44.0000")"),
            std::string::npos)
      << test::readText(out);

  // The takings book is an income journal: its figures are turned, and the
  // statement prints income and profit turned back, without the GST.
  result = run({"report", "profit-and-loss", "--period", "I", "--title", "For the quarter",
                "--format", "json", "--out", out.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  const std::string statement = test::readText(out);
  EXPECT_NE(statement.find(R"("period": "For the quarter")"), std::string::npos) << statement;
  EXPECT_NE(statement.find(R"("total_gross_sales": "100.0000")"), std::string::npos) << statement;
  EXPECT_NE(statement.find(R"("net_profit": "60.0000")"), std::string::npos) << statement;

  result = run({"report", "ledgers", "--journal", "7", "--format", "json", "--out", out.string()});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("the entity has no journal 7"), std::string::npos);
}

// The rows behind a BAS label: each with what it added, the cents the whole
// dollars leave out, and what the report did not count.
TEST_F(LumctlReport, GstTrailOfALabel) {
  importRows(1, "1.8.26,Takings,1,y,110.5,110.5,\n2.8.26,Note,2,N,0,,\n");

  auto result =
      run({"report", "gst", "--period", "I", "--trail", "G1", "--format", "json", "--out", "-"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, R"({
  "label": "G1",
  "figure": "110.0000",
  "cents_left_out": "-0.5000",
  "rows": [
    {
      "journal": 1,
      "row": 1,
      "date": "01/08/26",
      "particulars": "Takings",
      "ref": "1",
      "account": "Sales",
      "amount": "110.5000",
      "route": "taxed",
      "share": null,
      "added": {
        "1": "110.5000",
        "2": "10.0455",
        "G1": "110.5000"
      }
    }
  ],
  "not_counted": [
    {
      "journal": 1,
      "row": 2,
      "date": "02/08/26",
      "particulars": "Note",
      "ref": "2",
      "account": "",
      "amount": "0.0000",
      "reason": "No amount in an analysis column"
    }
  ]
}
)");

  const fs::path out = dir / "all.csv";
  result =
      run({"report", "gst", "--period", "I", "--trail", "--format", "csv", "--out", out.string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(test::readText(out),
            "journal,row,date,particulars,ref,account,amount,route,share,1,2,3,4,5,6,7,BAS,reason\n"
            "1,1,01/08/26,Takings,1,Sales,110.5000,taxed,,110.5000,10.0455,,,,,,,\n"
            "1,2,02/08/26,Note,2,,,,,,,,,,,,,No amount in an analysis column\n");

  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"gst", "--trail", "G21", "--format", "json"},
        {"gst", "--trail", "C1", "--format", "pdf"},
        {"gst", "--format", "csv"},
        {"trial-balance", "--trail", "--format", "json"}}) {
    std::vector<std::string> args = {"report", "--period", "I", "--out", "-"};
    args.insert(args.begin() + 1, wrong.begin(), wrong.end());
    result = run(args);
    EXPECT_EQ(result.status, kExitUsage) << wrong[1];
    EXPECT_EQ(result.out, "");
  }
}

// A damaged journal: told on stderr with its file, exit 1 and nothing
// written; with --keep-going the figures of the other journals as well.
TEST_F(LumctlReport, ADamagedJournalIsToldAndLeftOut) {
  importRows(1, "1.8.26,Takings,1,y,110,110,\n2,Diesel,2,Y,44,,44\n");
  importRows(2, "1.8.26,Rent,3,N,50,50\n2,Rent,4,N,50,50\n",
             "date,particulars,ref,gst,Amount,#1\n");
  fs::resize_file(area() / "DI020001.dat", 62 + 10);
  const std::string told =
      "lumctl: The journal Payments Book (journal 2) is damaged: its file DI020001.dat holds 1 "
      "row and part of row 2, but 2 are in use. It is left out of the report.\n";

  const fs::path out = dir / "gst.json";
  auto result = run({"report", "gst", "--period", "I", "--format", "json", "--out", out.string()});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err, told);
  EXPECT_FALSE(fs::exists(out));
  result = run({"report", "gst", "--period", "I", "--format", "json", "--out", "-"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.out, "");

  result = run({"report", "gst", "--period", "I", "--format", "json", "--out", out.string(),
                "--keep-going"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err, told);
  const std::string figures = test::readText(out);
  EXPECT_NE(figures.find(R"("name": "Takings Book")"), std::string::npos) << figures;
  EXPECT_EQ(figures.find("Payments Book"), std::string::npos) << figures;
  EXPECT_NE(figures.find(R"("G1": "110.0000")"), std::string::npos) << figures;

  result =
      run({"report", "gst", "--period", "I", "--format", "text", "--out", "-", "--keep-going"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.out.find(" L Takings Book\n"), std::string::npos) << result.out;

  for (const char* report : {"trial-balance", "ledgers", "profit-and-loss"}) {
    result = run({"report", report, "--journal", "2", "--period", "I", "--format", "json", "--out",
                  "-", "--title", "Q"});
    EXPECT_EQ(result.status, kExitRefused) << report;
    EXPECT_EQ(result.err, told) << report;
    EXPECT_EQ(result.out, "") << report;
  }
  result = run({"report", "profit-and-loss", "--period", "I", "--title", "Q", "--format", "json",
                "--out", "-", "--keep-going"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.out.find(R"("total_gross_sales": "100.0000")"), std::string::npos) << result.out;
}

// A journal count past the journal list is told and cut to it, at once.
TEST_F(LumctlReport, AJournalCountPastTheJournalList) {
  test::writeBytes(area() / "Lcn-0001.dat", test::Bytes().text("Journals", 24).int16(32760));
  const std::string told =
      "lumctl: The journal count is damaged: its file Lcn-0001.dat counts 32,760 journals, but "
      "Jnl-0001.dat holds 2. Only those 2 are read.\n";
  auto result = run({"report", "gst", "--period", "I", "--format", "json", "--out", "-"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err, told);
  result =
      run({"report", "gst", "--period", "I", "--format", "json", "--out", "-", "--keep-going"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.out.find(R"("journals": [])"), std::string::npos) << result.out;

  result = run({"report", "ledgers", "--journal", "7", "--format", "json", "--out", "-"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err, told + "lumctl: the entity has no journal 7 (it has 2)\n");
}

}  // namespace
}  // namespace lum
