#include "post/login/operator_class.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/scripted_prompter.h"
#include "tests/post/login/session_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

class OperatorClassTest : public ::testing::Test, protected test::RegistryParts {
 protected:
  OperatorClassTest() {
    fs::create_directories(dir / "prog");
    fs::create_directories(system());
    naming.systemDirectory = "..\\System\\Ent-1";
    naming.operatorNumber = 3;
  }

  fs::path system() const { return dir / "System" / "Ent-1"; }

  // Oper.dat with operators 1 to 3; operator 3 has the given kind.
  void writeOperators(std::int16_t kind) {
    test::Bytes oper;
    for (const std::int16_t k : {std::int16_t{0}, std::int16_t{0}, kind}) {
      oper.text("Name", 24).text("", 24).int16(0).text("", 12).int16(k).zeros(24);
    }
    test::writeBytes(system() / "Oper.dat", oper);
  }

  void writeProfile(std::int16_t record402) {
    test::writeBytes(system() / "OpP-0003.dat", test::Bytes().zeros(2 * 401).int16(record402));
  }
};

TEST_F(OperatorClassTest, TheKindAndTheProfileGiveTheClass) {
  writeOperators(0);
  EXPECT_EQ(readOperatorClass(registry, naming, 3), 'N');
  writeOperators(99);
  EXPECT_EQ(readOperatorClass(registry, naming, 3), 'Y');  // no profile at all
  writeProfile(2);
  registry.closeAll();
  EXPECT_EQ(readOperatorClass(registry, naming, 3), 'Y');
  writeProfile(1);
  registry.closeAll();
  EXPECT_EQ(readOperatorClass(registry, naming, 3), 'A');
  EXPECT_TRUE(registry.isOpen("OperProf"));  // kept for peeking
  EXPECT_FALSE(registry.isOpen("Oper"));
  EXPECT_EQ(readOperatorClass(registry, naming, 9), 'N');  // past the end: a blank record
}

TEST_F(OperatorClassTest, AMissingOperatorFileIsAnErrorAndIsNotCreated) {
  EXPECT_THROW(readOperatorClass(registry, naming, 3), FileError);
  EXPECT_FALSE(fs::exists(system() / "Oper.dat"));
  naming.systemDirectory = "..\\System\\Ent-8";
  EXPECT_THROW(readOperatorClass(registry, naming, 3), FileError);
}

}  // namespace
}  // namespace lum
