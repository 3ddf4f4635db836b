#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "post/login/journal_line_records.h"
#include "tests/post/login/work_area_files.h"
#include "tests/support/records.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::lumctl;

// Journal 1 of the one-entity work area (posting mode 0, quarterly) with a
// September quarter of two rows: 03/08/05 "Fuel" and 04/08/05 "Sales".
class LumctlJournalTools : public ::testing::Test {
 protected:
  LumctlJournalTools() {
    test::writeOneEntityWorkArea(area());
    test::writeSalesAndFuelAccounts(area());
    test::writeBytes(area() / "DI010001.dat", test::Bytes()
                                                  .text("03/08/05", 8)
                                                  .text("Fuel", 46)
                                                  .text("1", 5)
                                                  .text("Y", 1)
                                                  .int16(0)
                                                  .text("04/08/05", 8)
                                                  .text("Sales", 46)
                                                  .text("2", 5)
                                                  .text("Y", 1)
                                                  .int16(0));
    test::Bytes amounts;
    const std::vector<std::vector<long long>> rows = {{0, 2, 6, 0, 110, 0, 110},
                                                      {0, 0, 0, 0, -55, -55, 0}};
    for (const auto& row : rows) {
      for (std::size_t e = 0; e < 101; ++e) {
        amounts.raw8((e < row.size() ? row[e] : 0) * 10000);
      }
    }
    test::writeBytes(area() / "AI010001.dat", amounts);
    test::writeBytes(area() / "GI010001.dat", test::Bytes().raw8(-550000).raw8(1100000));
  }
  fs::path area() const { return dir / "prog" / "Ent-1" / "Op-1"; }
  test::LumctlOutcome run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--root", (dir / "prog").string(), "--group", "1"});
    return lumctl(args);
  }
  std::map<std::string, std::vector<std::byte>> files() const {
    std::map<std::string, std::vector<std::byte>> all;
    for (const auto& entry : fs::directory_iterator(area())) {
      if (entry.is_regular_file() && entry.path().filename() != "LumPost.lck") {
        all[entry.path().filename().string()] = test::readBytes(entry.path());
      }
    }
    return all;
  }

  test::TempDir dir;
};

TEST_F(LumctlJournalTools, JournalCountsArePrintedSetAndBounded) {
  auto result = run({"journal", "counts", "--journal", "1", "--period", "Sep"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, "rows 2\ncolumns 6\n");

  const auto before = files();
  for (const auto& [option, value] :
       {std::pair{"--rows", "-5"}, std::pair{"--rows", "70000"}, std::pair{"--cols", "101"}}) {
    result = run({"journal", "counts", "--journal", "1", "--period", "I", option, value});
    EXPECT_EQ(result.status, kExitRefused) << option << value;
    EXPECT_NE(result.err.find("nothing was changed"), std::string::npos) << result.err;
  }
  EXPECT_EQ(files(), before);

  result = run({"journal", "counts", "--journal", "1", "--period", "I", "--rows", "1"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, "rows 1\ncolumns 6\n");
  EXPECT_EQ(test::recordOf<AmountsRecord>(area() / "AI010001.dat", 1).rowsInUse(), 1);
}

TEST_F(LumctlJournalTools, DeletingRowsAsksUnlessToldYes) {
  const auto before = files();
  auto result =
      run({"journal", "delete-rows", "--journal", "1", "--period", "I", "--before", "4/8/05"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err,
            "lumctl: All Rows prior to 04/08/05 will be deleted & compacted.  Are you sure? "
            "(answer with --yes; nothing was changed)\n");
  EXPECT_EQ(files(), before);

  result = run(
      {"journal", "delete-rows", "--journal", "1", "--period", "I", "--before", "4/8/05", "--yes"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, "1\n");
  result = run({"journal", "show", "--journal", "1", "--period", "I"});
  EXPECT_NE(result.out.find("\n04/08/05,Sales,2,Y,"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("Fuel,1"), std::string::npos) << result.out;
}

TEST_F(LumctlJournalTools, AccountsComeFromAnotherJournalOrATemplate) {
  auto result = run({"accounts", "transfer", "--journal", "2", "--from", "1"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(test::readBytes(area() / "An020001.dat"), test::readBytes(area() / "An010001.dat"));

  result = run({"accounts", "transfer", "--journal", "2", "--template", "bank"});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err,
            "lumctl: The account names template Anljnl.dat cannot be found.  Nothing was "
            "transferred.\n");
  result = run({"accounts", "transfer", "--journal", "2"});
  EXPECT_EQ(result.status, kExitUsage);
}

TEST_F(LumctlJournalTools, TheBudgetIsSetShownAndRecalculated) {
  nlohmann::json budget;
  for (int month = 0; month < 12; ++month) {
    budget["months"].push_back(nlohmann::json::object());
  }
  budget["months"][2] = {{"month", "September"}, {"sales", "1,000.50"}, {"cost_of_sales", 250}};
  test::writeText(dir / "budget.json", budget.dump());
  auto result = run({"budget", "set", (dir / "budget.json").string()});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;

  budget["months"][3] = {{"sales", "abc"}};
  test::writeText(dir / "bad.json", budget.dump());
  const auto before = files();
  result = run({"budget", "set", (dir / "bad.json").string()});
  EXPECT_EQ(result.status, kExitRefused);
  EXPECT_EQ(result.err,
            "lumctl: The sales of October, \"abc\", is not an amount.  Nothing was stored.\n");
  budget["months"][3] = {{"actual_sales", "5"}};
  test::writeText(dir / "bad.json", budget.dump());
  EXPECT_EQ(run({"budget", "set", (dir / "bad.json").string()}).status, kExitRefused);
  EXPECT_EQ(files(), before);

  ASSERT_EQ(run({"budget", "recalculate"}).status, kExitSuccess);
  result = run({"budget", "show"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  const auto shown = nlohmann::json::parse(result.out);
  ASSERT_EQ(shown["months"].size(), 12u);
  EXPECT_EQ(shown["months"][2], (nlohmann::json{{"month", "September"},
                                                {"sales", "1000.5000"},
                                                {"cost_of_sales", "250.0000"},
                                                {"actual_sales", "-55.0000"},
                                                {"actual_cost_of_sales", "0.0000"}}));
  EXPECT_EQ(shown["total"]["sales"], "1000.5000");
  EXPECT_EQ(shown["total"]["actual_sales"], "-55.0000");
}

}  // namespace
}  // namespace lum
