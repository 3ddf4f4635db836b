#include "utils/utils_session.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"
#include "tests/utils/utils_fixture.h"
#include "utils/utils_records.h"

namespace lum {
namespace {

using test::Bytes;
using test::UtilsParts;
using test::writeBytes;

TEST(UtilsCommandLine, EmptyLineIsOperatorOneOfGroupZero) {
  const auto empty = parseUtilsCommandLine("");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->operatorNumber, 1);
  EXPECT_EQ(empty->groupNumber, 0);

  const auto full = parseUtilsCommandLine("3 0 2 1");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->operatorNumber, 3);
  EXPECT_EQ(full->ledgersNumber, 2);
  EXPECT_EQ(full->groupNumber, 1);

  EXPECT_FALSE(parseUtilsCommandLine("0 0 2 1"));
  EXPECT_FALSE(parseUtilsCommandLine("3 0 2 -1"));
}

TEST(UtilsSession, StartWithoutCommandLineCreatesTheFoldersAsClassO) {
  UtilsParts parts(UtilsCommandLine{});
  parts.session.start();
  EXPECT_EQ(parts.session.operatorClass(), OperatorClass::GroupZero);
  EXPECT_FALSE(parts.session.isRestricted());
  EXPECT_EQ(parts.session.folders().workArea, ".\\Ent-0\\Op-1");
  EXPECT_EQ(parts.session.folders().storeFolder, ".\\Ent-0\\zip\\");
  EXPECT_EQ(parts.session.helpFile(), "OrvCashBooks.chm");
  for (const char* folder : {"zip", "Email", "zip/PYear", "Op-1"}) {
    EXPECT_TRUE(std::filesystem::is_directory(parts.prog() / "Ent-0" / folder)) << folder;
  }
  EXPECT_TRUE(parts.prompter.texts().empty());
}

TEST(UtilsSession, OperatorClassFromTheSuitesFiles) {
  UtilsParts parts;
  const auto oper = parts.dir / "System" / "Ent-1" / "Oper.dat";
  const auto level = [](std::int16_t value) {
    return Bytes().text("Op", 24).text("", 24).int16(0).text("", 12).int16(value).zeros(24);
  };
  std::vector<std::byte> bytes(88 * 2);
  const std::vector<std::byte> restricted = level(99).bytes();
  bytes.insert(bytes.end(), restricted.begin(), restricted.end());  // record 3
  writeBytes(oper, bytes);
  parts.session.start();
  EXPECT_EQ(parts.session.operatorClass(), OperatorClass::Restricted);
  EXPECT_TRUE(parts.session.isRestricted());

  std::vector<std::byte> profile(2 * 402);
  profile[2 * 401] = std::byte{1};
  writeBytes(parts.dir / "System" / "Ent-1" / "OpP-0003.dat", profile);
  parts.session.start();
  EXPECT_EQ(parts.session.operatorClass(), OperatorClass::ExtendedRights);

  bytes.resize(88 * 2);
  const std::vector<std::byte> plain = level(5).bytes();
  bytes.insert(bytes.end(), plain.begin(), plain.end());
  writeBytes(oper, bytes);
  parts.session.start();
  EXPECT_EQ(parts.session.operatorClass(), OperatorClass::Full);
}

TEST(UtilsSession, SavedFoldersPositionsAndUnknownFiles) {
  UtilsParts parts;
  writeBytes(parts.area() / "ZipPath.Cfg",
             Bytes().text(".\\Store", 64).text(".\\Mail\\", 64).text("", 64));
  parts.session.start();
  EXPECT_EQ(parts.session.folders().currentYearFolder, ".\\Store\\");
  EXPECT_EQ(parts.session.folders().storeFolder, ".\\Store\\");
  EXPECT_EQ(parts.session.folders().emailFolder, ".\\Mail\\");
  EXPECT_EQ(parts.session.folders().previousYearFolder, ".\\Ent-1\\zip\\pyear\\");

  EXPECT_FALSE(parts.session.savedPosition(UtilsWindow::Store));
  parts.session.savePosition(UtilsWindow::Store, 1500, 600);
  const auto position = parts.session.savedPosition(UtilsWindow::Store);
  ASSERT_TRUE(position);
  EXPECT_EQ(position->first, 1500);
  EXPECT_EQ(position->second, 600);
  const auto bytes = test::readBytes(parts.area() / "ScrLoc.Dat");
  ASSERT_EQ(bytes.size(), 16u);               // record 2: top then left
  EXPECT_EQ(bytes[8 + 2], std::byte{0x16});   // 600.0f = 0x44160000
  EXPECT_EQ(bytes[12 + 3], std::byte{0x44});  // 1500.0f = 0x44BB8000

  EXPECT_FALSE(parts.session.open("Butce"));
  EXPECT_EQ(parts.prompter.texts(), std::vector<std::string>{"The file Butce cannot be found"});
}

}  // namespace
}  // namespace lum
