#include "post/journals/bank_statement.h"

#include <gtest/gtest.h>

#include "post/journals/statement_mappings.h"
#include "post/journals/statement_rules.h"
#include "tests/support/test_support.h"

namespace lum {
namespace {

Currency cents(long long value) {
  return Currency::fromCents(value);
}

Date day(int d, int m, int y) {
  return *Date::fromYmd(y, m, d);
}

// A bank that gives one signed amount and no heading, the balance after it.
TEST(BankStatement, SignedAmountsWithoutAHeading) {
  const std::string text =
      "03/08/2026,-45.50,\"CALTEX NEWTOWN, NSW\",+1234.56\r\n"
      "04/08/2026,\"+1,200.00\",TRANSFER FROM SMITH,+2434.56\r\n";
  const auto mapping = guessMapping(text);
  ASSERT_TRUE(mapping);
  EXPECT_EQ(*mapping, (StatementMapping{1, 3, 2, 0, 0, 4}));
  const StatementRead read = readCsvStatement(text, *mapping);
  ASSERT_EQ(read.problem, "");
  ASSERT_EQ(read.lines.size(), 2u);
  EXPECT_EQ(read.lines[0].date, day(3, 8, 2026));
  EXPECT_EQ(read.lines[0].description, "CALTEX NEWTOWN, NSW");
  EXPECT_EQ(read.lines[0].amount, cents(-4550));
  EXPECT_EQ(read.lines[1].amount, cents(120000));
  EXPECT_EQ(read.lines[1].line, 2);
}

// A bank with a heading line and money out and in in columns of their own.
TEST(BankStatement, DebitAndCreditColumnsUnderAHeading) {
  const std::string text =
      "Bank Account,Date,Narrative,Debit Amount,Credit Amount,Balance\n"
      "032-000 123456,03/08/26,EFTPOS WOOLWORTHS,52.10,,1000.00\n"
      "032-000 123456,05/08/26,DEPOSIT CASH,,300.00,1300.00\n";
  const auto mapping = guessMapping(text);
  ASSERT_TRUE(mapping);
  EXPECT_EQ(*mapping, (StatementMapping{2, 3, 0, 4, 5, 6}));
  const StatementRead read = readCsvStatement(text, *mapping);
  ASSERT_EQ(read.problem, "");
  ASSERT_EQ(read.lines.size(), 2u);
  EXPECT_EQ(read.lines[0].date, day(3, 8, 2026));
  EXPECT_EQ(read.lines[0].amount, cents(-5210));
  EXPECT_EQ(read.lines[1].amount, cents(30000));
  EXPECT_EQ(read.lines[1].description, "DEPOSIT CASH");
}

TEST(BankStatement, AmountsAsBanksWriteThem) {
  EXPECT_EQ(statementAmount("$1,234.56"), cents(123456));
  EXPECT_EQ(statementAmount("-$12.00"), cents(-1200));
  EXPECT_EQ(statementAmount("12.00 CR"), cents(1200));
  EXPECT_EQ(statementAmount("12.00 dr"), cents(-1200));
  EXPECT_EQ(statementAmount("(5.00)"), cents(-500));
  EXPECT_EQ(statementAmount("7.50-"), cents(-750));
  for (const char* wrong : {"", "$", "CR", "twelve", "1.2.3"}) {
    EXPECT_FALSE(statementAmount(wrong)) << wrong;
  }
}

TEST(BankStatement, ByteOrderMarkAndWindows1252AreReadAsText) {
  EXPECT_EQ(statementText("\xEF\xBB\xBF"
                          "03/08/2026,1.00,CAF\xC3\x89"),
            "03/08/2026,1.00,CAF\xC3\x89");
  EXPECT_EQ(statementText("03/08/2026,1.00,CAF\xC9"), "03/08/2026,1.00,CAF\xC3\x89");
}

// A file that cannot be read whole gives no line at all, and says where.
TEST(BankStatement, MixedDatesAndBadAmountsAreToldAndNothingIsRead) {
  const StatementMapping mapping{1, 3, 2, 0, 0, 0};
  StatementRead read =
      readCsvStatement("03/08/2026,-1.00,A\n04/08/2026,-2.00,B\n2026-08-05,-3.00,C\n", mapping);
  EXPECT_EQ(read.problem, "line 3: 2026-08-05 is not a date as dd/mm/yyyy, as the lines before");
  EXPECT_TRUE(read.lines.empty());
  read = readCsvStatement("03/08/2026,-1.00,A\n04/08/2026,ten,B\n", mapping);
  EXPECT_EQ(read.problem, "line 2: \"ten\" is not an amount");
  EXPECT_TRUE(read.lines.empty());
  read = readCsvStatement("Date,Amount,Description\n31/02/2026,-1.00,A\n", mapping);
  EXPECT_EQ(read.problem, "line 2: \"31/02/2026\" is not a date");
  read = readCsvStatement("Date,Amount,Description\n", mapping);
  EXPECT_EQ(read.problem, "it holds no transaction");
}

// An OFX 1 download as a bank gives it: SGML headers, then the statement.
constexpr const char* kOfx =
    "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
    "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n"
    "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0<SEVERITY>INFO</STATUS>"
    "<DTSERVER>20260831120000<LANGUAGE>ENG</SONRS></SIGNONMSGSRSV1>"
    "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS>"
    "<STMTRS><CURDEF>AUD<BANKACCTFROM><BANKID>062000<ACCTID>12345678<ACCTTYPE>CHECKING"
    "</BANKACCTFROM><BANKTRANLIST><DTSTART>20260801<DTEND>20260831"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20260803<TRNAMT>-45.50<FITID>2026080301"
    "<NAME>CALTEX NEWTOWN</STMTTRN>"
    "<STMTTRN><TRNTYPE>CHECK<DTPOSTED>20260804<TRNAMT>-120.00<FITID>2026080402"
    "<CHECKNUM>417<MEMO>Cheque 417</STMTTRN>"
    "</BANKTRANLIST><LEDGERBAL><BALAMT>834.50<DTASOF>20260831</LEDGERBAL></STMTRS>"
    "</STMTTRNRS></BANKMSGSRSV1></OFX>\r\n";

TEST(BankStatement, OfxTransactionsAndAFileCutShort) {
  const test::TempDir dir;
  const std::filesystem::path file = dir / "statement.ofx";
  test::writeText(file, kOfx);
  StatementRead read = readOfxStatement(file);
  ASSERT_EQ(read.problem, "");
  ASSERT_EQ(read.lines.size(), 2u);
  EXPECT_EQ(read.lines[0].date, day(3, 8, 2026));
  EXPECT_EQ(read.lines[0].description, "CALTEX NEWTOWN");
  EXPECT_EQ(read.lines[0].amount, cents(-4550));
  EXPECT_EQ(read.lines[1].description, "Cheque 417");
  EXPECT_EQ(read.lines[1].reference, "417");

  const std::string cut(kOfx);
  test::writeText(file, cut.substr(0, cut.find("<STMTTRN><TRNTYPE>CHECK") + 30));
  read = readOfxStatement(file);
  EXPECT_EQ(read.problem, "the file is cut short: it does not end with </OFX>");
  EXPECT_TRUE(read.lines.empty());
}

TEST(StatementRules, TheFirstMatchingRuleFillsTheLine) {
  const StatementRules parsed = parseStatementRules(
      "# text | amount | sign | account | GST | particulars\n"
      "\n"
      "caltex | | - | Fuel | y | Fuel\n"
      "RENT | 1000..3000 | - | Rent | N |\n"
      " | ..50 | + | #3\n");
  ASSERT_EQ(parsed.problem, "");
  ASSERT_EQ(parsed.rules.size(), 3u);
  const auto line = [](const char* description, long long amount) {
    StatementLine l;
    l.description = description;
    l.amount = Currency::fromCents(amount);
    return l;
  };
  EXPECT_EQ(firstMatch(parsed.rules, line("CALTEX NEWTOWN", -4550))->account, "Fuel");
  EXPECT_EQ(firstMatch(parsed.rules, line("CALTEX NEWTOWN", -4550))->gst, "Y");
  EXPECT_EQ(firstMatch(parsed.rules, line("CALTEX REFUND", 6550)), nullptr);  // money in
  EXPECT_EQ(firstMatch(parsed.rules, line("RENT AUGUST", -250000))->account, "Rent");
  EXPECT_EQ(firstMatch(parsed.rules, line("RENT BOND", -400000)), nullptr);  // past the range
  EXPECT_EQ(firstMatch(parsed.rules, line("INTEREST", 1234))->account, "#3");
  // Written back, the rules read the same.
  const StatementRules again = parseStatementRules(statementRulesText(parsed.rules));
  ASSERT_EQ(again.rules.size(), 3u);
  EXPECT_EQ(again.rules[1].from, Currency::fromCents(100000));
  EXPECT_EQ(again.rules[1].to, Currency::fromCents(300000));
  EXPECT_EQ(again.rules[2].to, Currency::fromCents(5000));
  EXPECT_FALSE(again.rules[2].from);
}

TEST(StatementRules, AWrongLineIsToldAndNoRuleIsKept) {
  EXPECT_EQ(parseStatementRules("A | | - | Fuel\nB | | x | Fuel\n").problem,
            "line 2: the sign is + or - or blank, not \"x\"");
  EXPECT_EQ(parseStatementRules("A | lots | | Fuel\n").problem,
            "line 1: the amount is a figure or a range such as 100..200, not \"lots\"");
  EXPECT_EQ(parseStatementRules("A | | | \n").problem, "line 1: the rule names no account");
  EXPECT_EQ(parseStatementRules("A | | | Fuel | G\n").problem,
            "line 1: the GST letter is Y or N or blank, not \"G\"");
  EXPECT_EQ(parseStatementRules("just text\n").problem,
            "line 1: a rule is text | amount | sign | account | GST | particulars");
  EXPECT_TRUE(parseStatementRules("just text\n").rules.empty());
}

// A bank account's columns set once and found again by its name, the
// file's other lines kept.
TEST(StatementMappings, SetUnderANameAndFoundAgain) {
  const std::string kept = "# my banks\nCheque | 1 | 4 | | 2 | 3 |\n";
  const StatementMapping savings{2, 3, 4, 0, 0, 5};
  const std::string added = withMapping(kept, "Savings", savings);
  EXPECT_EQ(added, kept + "Savings | 2 | 3 | 4 | | | 5\n");
  EXPECT_EQ(mappingNames(added), (std::vector<std::string>{"Cheque", "Savings"}));
  EXPECT_EQ(findMapping(added, "savings"), savings);

  const std::string changed = withMapping(added, "CHEQUE", {1, 2, 3, 0, 0, 0});
  EXPECT_EQ(changed, "# my banks\nCHEQUE | 1 | 2 | 3 | | |\nSavings | 2 | 3 | 4 | | | 5\n");
  EXPECT_EQ(findMapping(changed, "Cheque"), (StatementMapping{1, 2, 3, 0, 0, 0}));
  EXPECT_EQ(withMapping("", "Cheque", savings).substr(0, 7), "# name ");

  EXPECT_NE(mappingNameProblem(" "), "");
  EXPECT_NE(mappingNameProblem("A|B"), "");
  EXPECT_NE(mappingProblem({0, 2, 3, 0, 0, 0}), "");  // no date
  EXPECT_NE(mappingProblem({1, 2, 0, 0, 0, 4}), "");  // only a balance
  EXPECT_EQ(mappingProblem({1, 2, 0, 3, 4, 0}), "");
}

}  // namespace
}  // namespace lum
