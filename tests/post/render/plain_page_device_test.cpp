#include "post/render/plain_page_device.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lum {
namespace {

// Two pages, their positions chosen on the device's grid of columns.
TEST(PlainPageDevice, LaysEachPageOutAsItIsRead) {
  std::ostringstream out;
  FixedTextMetrics metrics;
  PlainPageDevice device(out, metrics);
  constexpr double c = PlainPageDevice::kColumnWidth;
  device.beginPage(1);
  device.drawText(0, 10, "Report", TextAnchor::Left, kBlack);
  device.drawText(20 * c, 10, "Page 1", TextAnchor::Right, kBlack);
  device.drawRule(0, 20 * c, 14.5, 1, kBlack);
  // Drawn out of order, a little apart in height: one line all the same.
  device.drawText(20 * c, 18.8, "10.00", TextAnchor::Right, kBlack);
  device.drawText(c, 18, "Sales", TextAnchor::Left, kBlack);
  // Would touch the amount before it: moved a column right.
  device.drawText(15 * c, 18, "110.00", TextAnchor::Right, kBlack);
  device.drawRule(10 * c, 20 * c, 22, 3, kBlack);  // a double rule
  device.drawRule(20 * c, 10 * c, 23, 3, kBlack);
  device.drawText(0, 100, "End\r", TextAnchor::Left, kBlack);  // far below
  device.drawPoint(5, 5, kBlack);
  device.drawLine(0, 0, 15 * c, 30, 1, kBlack);  // slanting: not shown
  // The next page ends this one.
  device.beginPage(2);
  device.drawBox(0, 30, 5 * c, 40, kBlack, std::nullopt);
  device.drawText(c, 34, "in", TextAnchor::Left, kBlack);
  device.drawText(2 * c, 50, "Long title", TextAnchor::Right, kBlack);  // stops at the margin
  device.drawPicture({}, "logo.bmp", 10 * c, 50, 10, 10);
  device.endPage();
  device.endDocument();
  EXPECT_EQ(out.str(),
            "=== page 1 ===\n"
            "Report        Page 1\n"
            "--------------------\n"
            " Sales   110.00 10.00\n"
            "          ==========\n"
            "\n"
            "\n"
            "End\n"
            "\n"
            "=== page 2 ===\n"
            "-----\n"
            "|in  |\n"
            "-----\n"
            "\n"
            "Long title [logo.bmp]\n");
}

TEST(PlainPageDevice, AnEmptyPageIsStillAPage) {
  std::ostringstream out;
  FixedTextMetrics metrics;
  PlainPageDevice device(out, metrics);
  device.beginPage(3);
  device.endDocument();
  EXPECT_EQ(out.str(), "=== page 3 ===\n");
}

}  // namespace
}  // namespace lum
