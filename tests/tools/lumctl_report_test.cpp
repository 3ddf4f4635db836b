#include <gtest/gtest.h>

#include "tests/post/login/work_area_files.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::lumctl;

// The one-entity work area (quarterly, posting mode 0): journal 1 with the
// analysis columns "Sales" and "Fuel", both GST-applies "Y".
class LumctlReport : public ::testing::Test {
 protected:
  LumctlReport() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
  }
  fs::path area() const { return dir / "prog" / "Ent-1" / "Op-1"; }
  test::LumctlOutcome run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", (dir / "prog").string(), "--group", "1"});
    return lumctl(args);
  }

  test::TempDir dir;
};

TEST_F(LumctlReport, GstFiguresAsJson) {
  test::writeText(dir / "rows.csv",
                  "date,particulars,ref,gst,Amount,Sales,Fuel\n"
                  "1.8.26,Takings,1,y,110,110,\n"
                  "2,Diesel,2,Y,44,,44\n");
  auto result =
      run({"journal", "import", "--journal", "1", "--period", "I", (dir / "rows.csv").string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;

  const fs::path out = dir / "gst.json";
  result = run({"report", "gst", "--period", "I", "--format", "json", "--out", out.string()});
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
  test::writeText(dir / "rows.csv",
                  "date,particulars,ref,gst,Amount,Sales,Fuel\n"
                  "1.8.26,Takings,1,y,110,110,\n"
                  "2,Diesel,2,Y,-44,,-44\n");
  ASSERT_EQ(
      run({"journal", "import", "--journal", "1", "--period", "I", (dir / "rows.csv").string()})
          .status,
      kExitSuccess);
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

}  // namespace
}  // namespace lum
