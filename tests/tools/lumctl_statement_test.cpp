// lumctl journal import-statement: a bank's CSV into a journal through the
// entity's rules.
#include <gtest/gtest.h>

#include "tests/post/login/work_area_files.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// The one-entity work area (quarterly, posting mode 0, the September quarter
// "I"): journal 1, a takings book, with the accounts Sales and Fuel.
class LumctlStatement : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlStatement() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
    test::writeText(area() / "Rules-0001.dat",
                    "# text | amount | sign | account | GST | particulars\r\n"
                    "CALTEX | | - | Fuel | Y |\r\n"
                    "TAKINGS | | + | Sales | Y | Takings\r\n");
  }
  test::LumctlOutcome import(const std::string& statement, std::vector<std::string> more = {}) {
    test::writeText(dir / "statement.csv", statement);
    std::vector<std::string> args = {"journal",
                                     "import-statement",
                                     "--journal",
                                     "1",
                                     "--period",
                                     "I",
                                     (dir / "statement.csv").string()};
    args.insert(args.end(), more.begin(), more.end());
    return run(args);
  }
  std::string journal() { return run({"journal", "show", "--journal", "1", "--period", "I"}).out; }
};

constexpr const char* kStatement =
    "03/08/2026,-45.50,\"CALTEX NEWTOWN\",1000.00\n"
    "04/08/2026,110.00,CASH TAKINGS,1110.00\n"
    "05/08/2026,-10.00,MYSTERY,1100.00\n";

constexpr const char* kRowsAdded =
    "line,date,particulars,ref,gst,amount,account,rule\n"
    "1,03/08/26,CALTEX NEWTOWN,B1,Y,-45.50,Fuel,2\n"
    "2,04/08/26,Takings,B2,Y,110.00,Sales,3\n"
    "3,05/08/26,MYSTERY,B3,,-10.00,,unmatched\n";

TEST_F(LumctlStatement, RulesFillTheRowsAndAStatementTwiceAddsNothing) {
  const std::string before = journal();
  auto result = import(kStatement, {"--dry-run"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, kRowsAdded);
  EXPECT_EQ(journal(), before);

  result = import(kStatement);
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, kRowsAdded);
  EXPECT_EQ(result.err,
            "lumctl: 1 line matches no rule: its analysis is left to do in the journal window\n");
  EXPECT_EQ(journal(),
            "date,particulars,ref,gst,Amount,Sales,Fuel,row balance\n"
            "03/08/26,CALTEX NEWTOWN,B1,Y,-45.50,,-45.50,0.00\n"
            "04/08/26,Takings,B2,Y,110.00,110.00,,0.00\n"
            "05/08/26,MYSTERY,B3,,-10.00,,,10.00\n"
            "total,,,,54.50,110.00,-45.50,\n");

  result = import(kStatement);
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, "line,date,particulars,ref,gst,amount,account,rule\n");
}

TEST_F(LumctlStatement, ARefusedLineSavesNothing) {
  const std::string before = journal();
  auto result = import("03/08/2026,-45.50,CALTEX,1000.00\n03/11/2026,-1.00,CALTEX,999.00\n");
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_NE(result.err.find("statement.csv line 2: Date entered is not within the GST Period"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(journal(), before);

  result = import("03/08/2026,-1.00,A\n2026-08-04,-1.00,B\n");
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err,
            "lumctl: " + (dir / "statement.csv").string() +
                " line 2: 2026-08-04 is not a date as dd/mm/yyyy, as the lines before\n");
  EXPECT_EQ(journal(), before);
}

// A bank account's columns kept by name; money out and in in columns of their own.
TEST_F(LumctlStatement, AMappingKeptForABankAccount) {
  test::writeText(area() / "Banks-0001.dat",
                  "# name | date | description | amount | debit | credit | balance\n"
                  "Cheque | 1 | 4 | | 2 | 3 |\n");
  const std::string statement = "03/08/26,45.50,,CALTEX\n04/08/26,,110.00,TAKINGS\n";
  auto result = import(statement, {"--mapping", "cheque", "--dry-run"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out,
            "line,date,particulars,ref,gst,amount,account,rule\n"
            "1,03/08/26,CALTEX,B1,Y,-45.50,Fuel,2\n"
            "2,04/08/26,Takings,B2,Y,110.00,Sales,3\n");
  result = import(statement, {"--mapping", "Savings", "--dry-run"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err, "lumctl: Banks-0001.dat has no mapping \"Savings\"\n");
}

// An OFX download: the payee or memo, and a cheque's number as the reference.
TEST_F(LumctlStatement, AnOfxDownload) {
  test::writeText(dir / "august.ofx",
                  "OFXHEADER:100\nDATA:OFXSGML\nVERSION:102\nSECURITY:NONE\nENCODING:USASCII\n"
                  "CHARSET:1252\nCOMPRESSION:NONE\nOLDFILEUID:NONE\nNEWFILEUID:NONE\n\n"
                  "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS>"
                  "<STMTRS><CURDEF>AUD<BANKACCTFROM><BANKID>062000<ACCTID>1<ACCTTYPE>CHECKING"
                  "</BANKACCTFROM><BANKTRANLIST><DTSTART>20260801<DTEND>20260831"
                  "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20260803<TRNAMT>-45.50<FITID>1"
                  "<NAME>CALTEX NEWTOWN</STMTTRN>"
                  "<STMTTRN><TRNTYPE>CHECK<DTPOSTED>20260804<TRNAMT>-120.00<FITID>2"
                  "<CHECKNUM>417<MEMO>Cheque 417</STMTTRN>"
                  "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");
  auto result = run({"journal", "import-statement", "--journal", "1", "--period", "I",
                     (dir / "august.ofx").string(), "--dry-run"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out,
            "line,date,particulars,ref,gst,amount,account,rule\n"
            "1,03/08/26,CALTEX NEWTOWN,B1,Y,-45.50,Fuel,2\n"
            "2,04/08/26,Cheque 417,417,,-120.00,,unmatched\n");
}

}  // namespace
}  // namespace lum
