#include "post/app/first_paint_probe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <chrono>
#include <string>

namespace lum {
namespace {

// The start's measure: one line when the window is first painted, with
// the time since the epoch, and done called once, however often it paints.
TEST(FirstPaintProbe, TellsTheFirstPaintOnce) {
  QWidget window;
  int done = 0;
  new FirstPaintProbe(window, "test", [&done] { ++done; });
  testing::internal::CaptureStderr();
  const auto before = std::chrono::system_clock::now();
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&done] { return done > 0; }, 5000));
  window.repaint();
  QApplication::processEvents();
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_EQ(done, 1);

  const std::string prefix = "first paint test ";
  const auto line = told.find(prefix);
  ASSERT_NE(line, std::string::npos) << told;
  const long long nanoseconds = std::stoll(told.substr(line + prefix.size()));
  const auto painted = std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(
          std::chrono::nanoseconds(nanoseconds)));
  EXPECT_GE(painted, before);
  EXPECT_LE(painted, std::chrono::system_clock::now());
  EXPECT_EQ(told.find(prefix, line + 1), std::string::npos) << told;
}

}  // namespace
}  // namespace lum
