#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

using test::Bytes;
using test::lumctl;
using Outcome = test::LumctlOutcome;

// Operator 1 of group 1 with entity 1 in the work area.
class LumctlStore : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlStore() {
    fs::create_directories(area());
    fs::create_directories(dir / "System" / "Ent-1");
    test::writeBytes(dir / "System" / "Ent-1" / "Oper.dat", std::vector<std::byte>(88 * 2));
    entity("Harbour Cafe");
    test::writeText(area() / "Jnl-0001.dat", "journals");
  }
  void entity(const std::string& name) {
    test::writeBytes(area() / "Entcoun.dat",
                     Bytes().text("", 24).int16(1).text("", 24).int16(1).text("", 24).int16(0));
    test::writeBytes(area() / "Ent.dat", Bytes().text(name, 32).text("", 32).zeros(242));
  }
};

TEST_F(LumctlStore, StoreListAndBringBack) {
  Outcome out = run({"store"});
  EXPECT_EQ(out.status, kExitSuccess) << out.err;
  EXPECT_EQ(out.out, "1\n");
  entity("Second Shop");
  EXPECT_EQ(run({"store", "--slot", "next"}).out, "2\n");
  entity("Harbour Cafe Renamed");
  EXPECT_EQ(run({"store", "--slot", "1"}).out, "1\n");

  out = run({"stored"});
  EXPECT_EQ(out.status, kExitSuccess);
  const std::string today = out.out.substr(out.out.rfind('\t') + 1);
  EXPECT_EQ(today.size(), 9u);  // "dd/mm/yy\n"
  EXPECT_EQ(out.out, "1\tHarbour Cafe Renamed\t" + today + "2\tSecond Shop\t" + today);

  test::writeText(area() / "Jnl-0001.dat", "changed");
  test::writeText(area() / "Jnl-0002.dat", "not stored");
  out = run({"bring-back", "--slot", "2"});
  EXPECT_EQ(out.status, kExitSuccess) << out.err;
  EXPECT_EQ(out.out, "Ent.dat\nEntcoun.dat\nJnl-0001.dat\n");
  EXPECT_TRUE(fs::exists(area() / "Jnl-0002.dat"));
  out = run({"bring-back", "--slot", "2", "--clear"});
  EXPECT_EQ(out.status, kExitSuccess) << out.err;
  EXPECT_FALSE(fs::exists(area() / "Jnl-0002.dat"));

  out = run({"bring-back", "--slot", "3"});
  EXPECT_EQ(out.status, kExitRefused);
  EXPECT_EQ(out.err, "lumctl: Selected files do not exit!\n");
  EXPECT_EQ(run({"store", "--slot", "zero"}).status, kExitUsage);
  out = run({"stored", "--previous-year"});
  EXPECT_EQ(out.status, kExitSuccess);
  EXPECT_EQ(out.out, "");
}

TEST_F(LumctlStore, DumpsTheDataManagersFiles) {
  const fs::path store = dir / "store";
  fs::create_directories(store);
  test::writeBytes(store / "EnList.Dat", Bytes().text("Harbour Cafe         20/08/26", 64));
  test::writeBytes(store / "ZipPath.Cfg", Bytes().text(".\\zip\\", 64).text("", 64));
  test::writeBytes(store / "MailDets.dat", Bytes()
                                               .text("smtp.example.com", 64)
                                               .text("25", 21)
                                               .text("", 48)
                                               .text("", 48)
                                               .text("Jo", 48)
                                               .text("jo@example.com", 48)
                                               .text("Acc", 48)
                                               .text("acc@example.com", 48)
                                               .int16(1));
  EXPECT_EQ(lumctl({"dump", (store / "EnList.Dat").string()}).out,
            "{\"rec\":1,\"text\":\"Harbour Cafe         20/08/26\"}\n");
  EXPECT_EQ(lumctl({"dump", (store / "ZipPath.Cfg").string()}).out,
            "{\"rec\":1,\"folder\":\".\\\\zip\\\\\"}\n{\"rec\":2,\"folder\":\"\"}\n");
  EXPECT_EQ(lumctl({"dump", (store / "MailDets.dat").string()}).out,
            "{\"rec\":1,\"server\":\"smtp.example.com\",\"port\":\"25\",\"user_name\":\"\","
            "\"password\":\"\",\"sender_name\":\"Jo\",\"sender_address\":\"jo@example.com\","
            "\"recipient_name\":\"Acc\",\"recipient_address\":\"acc@example.com\","
            "\"send_directly\":1}\n");
}

}  // namespace
}  // namespace lum
