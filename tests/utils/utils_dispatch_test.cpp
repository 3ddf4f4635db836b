#include "utils/utils_dispatch.h"

#include <gtest/gtest.h>

#include "tests/utils/utils_fixture.h"

namespace lum {
namespace {

using test::UtilsParts;

// Records what the dispatcher asks of the windows.
struct FakeHost final : UtilsWindowHost {
  void showWindow(UtilsWindow window, std::optional<std::pair<float, float>> position) override {
    shown.emplace_back(window, position);
  }
  std::pair<float, float> hideWindow(UtilsWindow window) override {
    hidden.push_back(window);
    return {1200.0f + static_cast<float>(window) * 15, 300.0f};
  }
  void endProgram() override { ended = true; }

  std::vector<std::pair<UtilsWindow, std::optional<std::pair<float, float>>>> shown;
  std::vector<UtilsWindow> hidden;
  bool ended = false;
};

TEST(UtilsDispatch, WindowsOpenAndCloseAlongTheirLinksAndKeepTheirPlaces) {
  UtilsParts parts;
  parts.session.start();
  FakeHost host;
  UtilsDispatch dispatch(parts.session, host);
  dispatch.showMain();
  EXPECT_EQ(parts.session.currentWindow(), UtilsWindow::Main);

  EXPECT_TRUE(dispatch.open(UtilsWindow::Store));
  EXPECT_EQ(parts.session.currentWindow(), UtilsWindow::Store);
  EXPECT_EQ(host.shown.back().second, std::nullopt);
  dispatch.close(UtilsWindow::Store);
  EXPECT_EQ(parts.session.currentWindow(), UtilsWindow::Main);
  EXPECT_EQ(host.shown.back().first, UtilsWindow::Main);

  EXPECT_TRUE(dispatch.open(UtilsWindow::Store));
  EXPECT_EQ(host.shown.back().second, std::pair(1215.0f, 300.0f));

  // The mail buttons do nothing while the mail window is current.
  dispatch.close(UtilsWindow::Store);
  EXPECT_TRUE(dispatch.open(UtilsWindow::Mail));
  EXPECT_FALSE(dispatch.open(UtilsWindow::Mail));
  dispatch.close(UtilsWindow::Mail);
  EXPECT_EQ(parts.session.currentWindow(), UtilsWindow::Main);
  EXPECT_FALSE(host.ended);
  dispatch.close(UtilsWindow::Main);
  EXPECT_TRUE(host.ended);
  EXPECT_EQ(parts.session.savedPosition(UtilsWindow::Main), std::pair(1200.0f, 300.0f));
  EXPECT_EQ(parts.session.savedPosition(UtilsWindow::Mail), std::pair(1290.0f, 300.0f));
}

TEST(UtilsDispatch, RestrictedOperatorsKeepOnlyTheirCommands) {
  UtilsParts parts;
  std::vector<std::byte> oper(88 * 4);
  oper[88 * 2 + 62] = std::byte{99};  // operator 3, access level 99
  test::writeBytes(parts.dir / "System" / "Ent-1" / "Oper.dat", oper);
  parts.session.start();
  ASSERT_EQ(parts.session.operatorClass(), OperatorClass::Restricted);
  std::vector<std::string> enabled;
  for (const auto& command : utilsCommands()) {
    if (commandEnabled(parts.session, command)) {
      enabled.emplace_back(command.name);
    }
  }
  EXPECT_EQ(enabled, (std::vector<std::string>{"Command4", "Command5", "Command3", "Command18",
                                               "Command10", "Command1"}));

  UtilsParts everyone(UtilsCommandLine{});
  everyone.session.start();
  for (const auto& command : utilsCommands()) {
    EXPECT_TRUE(commandEnabled(everyone.session, command)) << command.name;
  }
}

}  // namespace
}  // namespace lum
