#include "post/login/login_files.h"

#include <gtest/gtest.h>

#include "platform/scripted_prompter.h"
#include "post/login/login_records.h"
#include "tests/post/login/session_fixture.h"
#include "tests/post/login/work_area_files.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

TEST(LoginFiles, TheReportOptionIsTheValueOfTheFirstLine) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(reportOptionOf(Lines{"Report= account  ", "x=y"}), "ACCOUNT");
  EXPECT_EQ(reportOptionOf(Lines{"a=b=c"}), "B=C");
  EXPECT_EQ(reportOptionOf(Lines{"ACCOUNT"}), "");
  EXPECT_EQ(reportOptionOf(Lines{}), "");
  EXPECT_EQ(reportOptionOf(std::nullopt), "");
}

class LoginFileSetTest : public ::testing::Test, protected test::RegistryParts {
 protected:
  LoginFileSetTest() {
    fs::create_directories(area());
    naming.dataDirectory = naming.workArea = ".\\Ent-1\\Op-3";
    naming.entityNumber = 2;
    naming.operatorNumber = 3;

    test::writeSetup(
        area(), {" 3", " quarterly ", "client", "10", "4.5", "0.25", "", "yes", "Accruals"}, 2);
    test::Bytes counters;
    for (const int value : {4, 3, 17, 40, 6, 9}) {
      counters.text("", 24).int16(static_cast<std::int16_t>(value));
    }
    test::writeBytes(area() / "Lcn-0002.dat", counters);
    test::writeText(area() / "lum.ini", "Reports=Account\r\n");
  }

  fs::path area() const { return dir / "prog" / "Ent-1" / "Op-3"; }

  LoginValues login;
};

TEST_F(LoginFileSetTest, ReadsSetUpValuesAndCountsAndKeepsTheSetOpen) {
  test::writeText(dir / "prog" / "LUM.INI", "Reports=\r\n");
  openLoginFileSet(registry, naming, login);

  EXPECT_EQ(login.reportOption, "ACCOUNT");
  EXPECT_EQ(login.setup.postingMode, PostingMode::OtherBusiness);
  EXPECT_EQ(login.setup.periodKind, "Q");
  EXPECT_EQ(login.setup.clientType, "C");
  EXPECT_EQ(login.setup.gstRate, 10.0);
  EXPECT_EQ(login.setup.paygRate, 4.5);
  EXPECT_EQ(login.setup.exemptSalesRatio, 0.25);
  EXPECT_EQ(login.setup.exemptPurchaseRatio, 0.0);
  EXPECT_EQ(login.setup.invoicing, "Y");
  EXPECT_EQ(login.setup.gstType, "A");
  EXPECT_EQ(login.invoiceCount, 17);
  EXPECT_EQ(login.productCount, 6);
  EXPECT_EQ(login.customerCount, 9);

  for (const char* name : {"FontList", "counters", "Jnl", "ScrLoc", "Butce", "Log", "RepPar"}) {
    EXPECT_TRUE(registry.isOpen(name)) << name;
  }
  EXPECT_FALSE(registry.isOpen("Ini"));
  EXPECT_TRUE(fs::exists(area() / "Bdg-0002.dat"));
  EXPECT_TRUE(fs::exists(dir / "RpP-3.Dat"));
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(LoginFileSetTest, WithoutLumIniInTheProgramDirectoryTheOptionStaysEmpty) {
  openLoginFileSet(registry, naming, login);
  EXPECT_EQ(login.reportOption, "");
}

TEST_F(LoginFileSetTest, ANewEntityHasBlankSetUpValues) {
  naming.entityNumber = 5;
  openLoginFileSet(registry, naming, login);
  EXPECT_EQ(login.setup.postingMode, PostingMode::SmallCashBusiness);
  EXPECT_EQ(login.setup.periodKind, "");
  EXPECT_EQ(login.invoiceCount, 0);
}

}  // namespace
}  // namespace lum
