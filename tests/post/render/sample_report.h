#pragma once

// A report that uses every page command: five pages, one of them begun by
// the automatic page break and one in landscape.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

#include "post/render/page_writer.h"
#include "post/render/yazan.h"
#include "tests/support/test_support.h"

namespace lum::test {

// A 4 by 4 pixel red PNG, for the picture.
inline void writeSamplePicture(const std::filesystem::path& file) {
  static constexpr std::array<unsigned char, 73> kPng = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
      0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x08, 0x02, 0x00, 0x00, 0x00, 0x26,
      0x93, 0x09, 0x29, 0x00, 0x00, 0x00, 0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x38,
      0x21, 0x27, 0x07, 0x47, 0x0C, 0xC4, 0x71, 0x00, 0xB1, 0x63, 0x10, 0x41, 0x3B, 0x4B, 0x63,
      0x82, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  std::vector<std::byte> bytes;
  for (const unsigned char b : kPng) {
    bytes.push_back(static_cast<std::byte>(b));
  }
  writeBytes(file, bytes);
}

inline constexpr int kSamplePages = 5;

// The heading of every page: title, page number and a rule.
inline void sampleHeading(PageWriter page) {
  page.bold();
  page.size(14);
  page.moveTo(10, 15);
  page.text(10, "Sample Trading Pty Ltd", Align::Left);
  page.size(10);
  page.regular();
  page.text(195, "Page " + std::to_string(page.pageNumber()), Align::Right);
  page.newLine();
  page.newLine();
  page.rule(10, 195);
  page.newLine();
}

// Page 1: type styles, colours, amounts, boxes, rules and a picture.
inline void writeSampleFirstPage(PageWriter page) {
  const auto amount = [](std::int64_t cents) { return Currency::fromCents(cents); };
  page.beginPage();
  page.orientation(Orientation::Portrait);
  page.clearPage();
  sampleHeading(page);
  page.font("Times New Roman");
  page.italic();
  page.text(10, "Italic", Align::Left);
  page.upright();
  page.underline();
  page.text(40, "Underlined", Align::Left);
  page.noUnderline();
  page.strikeOut();
  page.text(80, "Struck out", Align::Left);
  page.noStrikeOut();
  page.font("Arial");
  page.textColour(rgb(200, 0, 0));
  page.text(120, "Red", Align::Left);
  page.textColour(kBlack);
  page.newLine();
  page.text(10, "Cash at bank", Align::Left);
  page.amount(120, amount(123456789), AmountStyle::DollarsAndCents);
  page.amount(160, amount(-250000), AmountStyle::WholeDollars);
  page.amount(195, amount(0), AmountStyle::DollarSignWhole);
  page.newLine();
  page.tabTo(10);
  page.text("Sales");
  page.text(" and more sales");
  page.amount(195, amount(9900), AmountStyle::DollarSignWhole);
  page.newLine();
  page.lineWidth(2);
  page.thickRule(120, 195);
  page.newLine();
  page.doubleRule(120, 195);
  page.newLine();
  page.fillBoxes();
  page.box(10, 60, 60, 70, ReportColour::LightGrey);
  page.boxFillColour(0xF0E0D0);
  page.printSettingsBox(70, 60, 120, 70);
  page.openBoxes();
  page.headingBox(130, 60, 180, 70);
  page.fillBoxes();
  page.moveTo(12, 62);
  page.text(12, "Boxed", Align::Left);
  page.tabTo(100);
  page.verticalRule(80, 100);
  page.line(10, 80, 90, 100);
  page.line(10, 100, 90, 80, ReportColour::LightBlue);
  page.point(95, 90, ReportColour::Black);
  page.picture("logo.png", 150, 80, 30, 20);
  page.moveTo(10, 110);
  page.text(10, "Position " + std::to_string(page.position(Axis::Vertical)), Align::Left);
  page.newLine();
  page.endPage();
}

// Writes the report on the recording device and ends it.
inline void writeSampleReport(Yazan& yazan) {
  PageWriter page(yazan);
  yazan.setBeginReportPage([page] {
    page.beginPage();
    sampleHeading(page);
  });
  yazan.setNextDevice(OutputDevice::Recording);
  yazan.BeginOutput();
  page.millimetreScale();
  page.scaleMode(ScaleMode::Millimetres);
  writeSampleFirstPage(page);

  // Pages 2 and 3: a ledger too long for one page.
  page.beginPage();
  sampleHeading(page);
  for (int line = 1; line <= 70; ++line) {
    page.text(10, "Ledger line " + std::to_string(line), Align::Left);
    page.amount(195, Currency::fromCents(line * 1001), AmountStyle::DollarsAndCents);
    page.newLine();
  }
  page.text(10, "Total", Align::Left);
  page.amount(195, Currency::fromCents(70 * 71 / 2 * 1001), AmountStyle::DollarsAndCents);
  page.newLine();
  page.endPage();

  // Page 4 in landscape.
  page.beginPage();
  page.orientation(Orientation::Landscape);
  sampleHeading(page);
  page.text(270, "A wide page", Align::Right);
  page.newLine();
  page.endPage();

  // Page 5, portrait again.
  page.beginPage();
  page.orientation(Orientation::Portrait);
  sampleHeading(page);
  page.text(10, "End of report", Align::Left);
  page.newLine();
  page.endPage();
  page.endReport();
}

}  // namespace lum::test
