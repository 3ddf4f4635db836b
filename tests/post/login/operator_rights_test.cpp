#include "post/login/operator_rights.h"

#include <gtest/gtest.h>

namespace lum {
namespace {

std::vector<std::string> disabled(const CommandStates& states) {
  std::vector<std::string> names;
  for (const auto& [name, on] : states) {
    if (!on) {
      names.push_back(name);
    }
  }
  return names;
}

TEST(OperatorRights, AFullOperatorOnTheJournalsList) {
  EXPECT_EQ(disabled(operatorRights({'N', false, true, 0})),
            (std::vector<std::string>{"Cler", "Configer", "ReSot"}));
  // Without the utilities program there is no storage.
  EXPECT_FALSE(operatorRights({'N', false, false, 0}).at("Command9"));
}

TEST(OperatorRights, RestrictedOperators) {
  const auto y = operatorRights({'Y', false, true, 0});
  for (const char* name : {"Command2", "Command3", "Command4", "Command6", "Command9", "Command10",
                           "Utils", "CloseYM", "DelPerM", "Label3"}) {
    EXPECT_FALSE(y.at(name)) << name;
  }
  EXPECT_TRUE(y.at("Command5"));
  EXPECT_TRUE(y.at("Entiy"));

  const auto a = operatorRights({'A', false, false, 0});
  for (const char* name :
       {"Command6", "Command9", "Utils", "ReSot", "FontSel", "PeekM", "ClearRatio"}) {
    EXPECT_TRUE(a.at(name)) << name;
  }
  for (const char* name :
       {"Cler", "ExtoFpy", "ImFlpy", "WFrmFlpy", "WFrmHard", "Restorlar", "Update4", "FixRowCollar",
        "ConvSinglelar", "Command2", "Command10", "CloseYM"}) {
    EXPECT_FALSE(a.at(name)) << name;
  }
}

TEST(OperatorRights, FloppyAndTheCurrentWindow) {
  const auto floppy = operatorRights({'N', true, true, 0});
  EXPECT_FALSE(floppy.at("Entiy"));
  EXPECT_TRUE(floppy.at("Configer"));

  const auto grid = operatorRights({'N', false, true, 1});
  EXPECT_TRUE(grid.at("Cler"));
  EXPECT_TRUE(grid.at("ReSot"));
  EXPECT_TRUE(grid.at("Utils"));
  for (const char* name : {"Combo1", "Budgt", "ClearRatio", "Entiy", "Command2", "Command9"}) {
    EXPECT_FALSE(grid.at(name)) << name;
  }
  EXPECT_TRUE(grid.at("Command10"));

  const auto details = operatorRights({'N', false, true, 2});
  EXPECT_FALSE(details.at("Utils"));
  EXPECT_FALSE(details.at("Command9"));

  const auto entities = operatorRights({'N', false, true, 5});
  EXPECT_TRUE(entities.at("Configer"));
  EXPECT_FALSE(entities.at("Entiy"));
  EXPECT_FALSE(entities.at("Command7"));
  EXPECT_TRUE(entities.at("Command8"));
}

}  // namespace
}  // namespace lum
