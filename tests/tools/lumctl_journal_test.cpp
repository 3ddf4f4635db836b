#include <gtest/gtest.h>

#include "platform/csv.h"
#include "post/login/journal_line_records.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/records.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::lumctl;

TEST(Csv, QuotedFieldsAndLineNumbers) {
  const auto records = parseCsv("a,b\r\n\"x, y\",\"say \"\"hi\"\"\"\n\n\"two\nlines\",z\n");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].fields, (std::vector<std::string>{"x, y", "say \"hi\""}));
  EXPECT_EQ(records[1].line, 2);
  EXPECT_EQ(records[2].line, 4);
  EXPECT_EQ(records[2].fields[0], "two\nlines");
  EXPECT_EQ(csvField("Sales, cash"), "\"Sales, cash\"");
  EXPECT_EQ(csvField("plain"), "plain");
}

// Journal 1 of the one-entity work area: posting mode 0, quarterly, with
// the analysis columns "Sales" and "Fuel".
class LumctlJournal : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlJournal() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
  }
  test::LumctlOutcome run(std::vector<std::string> args) {
    args.insert(args.begin(), "journal");
    return LumctlArea::run(args);
  }
};

TEST_F(LumctlJournal, ImportsRowsAsTypedAndShowsThem) {
  test::writeText(dir / "rows.csv",
                  "date,particulars,ref,gst,Amount,Sales,#2\n"
                  "1.8.26,Takings,1,y,110,110,\n"
                  "2,\"Fuel, diesel\",,Y,40,,40\n");
  auto result = run({"import", "--journal", "1", "--period", "I", (dir / "rows.csv").string()});
  ASSERT_EQ(result.status, kExitRefused);  // row 2 has no reference
  EXPECT_NE(result.err.find("line 3: Transaction is not correct:  Reference is missing"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(area() / "DI010001.dat") && fs::file_size(area() / "DI010001.dat") > 0);

  test::writeText(dir / "rows.csv",
                  "date,particulars,ref,gst,Amount,Sales,#2\n"
                  "1.8.26,Takings,1,y,110,110,\n"
                  "2,\"Fuel, diesel\",2,Y,40,,40\n");
  result = run({"import", "--journal", "1", "--period", "I", (dir / "rows.csv").string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(test::recordOf<TransactionRecord>(area() / "DI010001.dat", 2).date, "02/08/26");
  EXPECT_EQ(test::recordOf<ColumnTotalRecord>(area() / "GI010001.dat", 2).total,
            Currency::fromCents(4000));

  result = run({"show", "--journal", "1", "--period", "I"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out,
            "date,particulars,ref,gst,Amount,Sales,Fuel,row balance\n"
            "01/08/26,Takings,1,Y,110.00,110.00,,0.00\n"
            "02/08/26,\"Fuel, diesel\",2,Y,40.00,,40.00,0.00\n"
            "total,,,,150.00,110.00,40.00,\n");
}

TEST_F(LumctlJournal, RefusedCellsAreToldAndNothingIsSavedUnlessAsked) {
  test::writeText(dir / "rows.csv",
                  "date,particulars,ref,gst,Amount\n"
                  "1/7/26,Out of the period,1,Y,5\n"
                  "99/99/99,Not a date,2,x,abc\n");
  auto result = run({"import", "--journal", "1", "--period", "F", (dir / "rows.csv").string()});
  EXPECT_EQ(result.status, kExitRefused);
  for (const char* told :
       {"line 2: Date entered is not within the GST Period selected.",
        "line 3: \"99/99/99\" is not a date", "line 3: Incorrect Entry - expected Y or N",
        "line 3: \"abc\" is not an amount"}) {
    EXPECT_NE(result.err.find(told), std::string::npos) << told << "\n" << result.err;
  }
  EXPECT_FALSE(fs::exists(area() / "DF010001.dat"));

  EXPECT_EQ(run({"show", "--journal", "1", "--period", "Q"}).status, kExitUsage);
  EXPECT_EQ(run({"show", "--journal", "9", "--period", "F"}).status, kExitRefused);
  EXPECT_EQ(run({"import", "--journal", "1", "--period", "F"}).status, kExitUsage);
}

// A journal exported, imported into another journal and exported again
// gives the same rows: quoted texts, a blank row, a column without a name.
TEST_F(LumctlJournal, AnExportedJournalImportsBackAsItWas) {
  test::writeText(dir / "rows.csv",
                  "date,particulars,ref,gst,Amount,Sales,#2,#3\n"
                  "1.8.26,\"Takings, cash\",1,y,110,110,,\n"
                  ",,,,,,,\n"
                  "3.8.26,\"Say \"\"hi\"\"\",3,Y,40,,30,10\n");
  ASSERT_EQ(run({"import", "--journal", "1", "--period", "I", (dir / "rows.csv").string()}).status,
            kExitSuccess);
  const auto exported = run({"export", "--journal", "1", "--period", "I"});
  ASSERT_EQ(exported.status, kExitSuccess) << exported.err;
  EXPECT_EQ(exported.out,
            "date,particulars,ref,gst,Amount,Sales,Fuel,#3\n"
            "01/08/26,\"Takings, cash\",1,Y,110.00,110.00,,\n"
            ",,,,,,,\n"
            "03/08/26,\"Say \"\"hi\"\"\",3,Y,40.00,,30.00,10.00\n");

  // Journal 2, with the same accounts, takes the export in.
  fs::copy_file(area() / "An010001.dat", area() / "An020001.dat");
  const fs::path file = dir / "journal 1.csv";
  ASSERT_EQ(run({"export", "--journal", "1", "--period", "I", "--out", file.string()}).status,
            kExitSuccess);
  ASSERT_EQ(test::readText(file), exported.out);
  const auto imported = run({"import", "--journal", "2", "--period", "I", file.string()});
  ASSERT_EQ(imported.status, kExitSuccess) << imported.err;
  EXPECT_EQ(run({"export", "--journal", "2", "--period", "I"}).out, exported.out);
  EXPECT_EQ(run({"show", "--journal", "2", "--period", "I"}).out,
            run({"show", "--journal", "1", "--period", "I"}).out);
}

// An account name that import would read as another column is written as #k.
TEST_F(LumctlJournal, ExportNamesAColumnByNumberWhereItsNameWouldMislead) {
  const auto account = [](test::Bytes& bytes, const char* name) {
    bytes.text(name, 23).text("Y", 1).text("E", 1).zeros(8).int16(400);
  };
  test::Bytes accounts;
  for (const char* name : {"Amount", "Fuel", "Fuel", "#1"}) {
    account(accounts, name);
  }
  test::writeBytes(area() / "An010001.dat", accounts);
  test::writeText(dir / "rows.csv",
                  "date,particulars,ref,gst,Amount,#1,#2,#3,#4\n1.8.26,Mixed,1,y,10,1,2,3,4\n");
  ASSERT_EQ(run({"import", "--journal", "1", "--period", "I", (dir / "rows.csv").string()}).status,
            kExitSuccess);
  auto result = run({"export", "--journal", "1", "--period", "I", "--out", "-"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  const std::string row = "01/08/26,Mixed,1,Y,10.00,1.00,2.00,3.00,4.00\n";
  EXPECT_EQ(result.out, "date,particulars,ref,gst,Amount,#1,Fuel,#3,#4\n" + row);

  // Read back, each amount finds its own column again.
  test::writeText(dir / "again.csv", result.out);
  ASSERT_EQ(run({"import", "--journal", "1", "--period", "I", (dir / "again.csv").string()}).status,
            kExitSuccess);
  EXPECT_EQ(run({"export", "--journal", "1", "--period", "I"}).out,
            "date,particulars,ref,gst,Amount,#1,Fuel,#3,#4\n" + row + row);
  EXPECT_EQ(run({"export", "--journal", "5", "--period", "I"}).status, kExitRefused);
}

}  // namespace
}  // namespace lum
