#pragma once

// A report that uses every page command: five pages, one of them begun by
// the automatic page break and one in landscape.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

#include "post/render/yazan.h"
#include "tests/support/test_support.h"

namespace lum::test {

// A 4 by 4 pixel red PNG, for "ResC".
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
inline void sampleHeading(Yazan& y) {
  constexpr Currency kLeft = Currency::fromRaw(Currency::kScale);
  constexpr Currency kRight = Currency::fromRaw(2 * Currency::kScale);
  y.Cift();
  y.Olcu(14);
  y.XYPo(10, 15);
  y.Yazz("Sample Trading Pty Ltd", 10, kLeft);
  y.Olcu(10);
  y.Tek();
  y.Yazz("Page " + std::to_string(y.pageNumber()), 195, kRight);
  y.Sati();
  y.Sati();
  y.Ccek(10, 195);
  y.Sati();
}

// Writes the report on the recording device and ends it.
inline void writeSampleReport(Yazan& y) {
  constexpr Currency kLeft = Currency::fromRaw(Currency::kScale);
  constexpr Currency kRight = Currency::fromRaw(2 * Currency::kScale);
  const auto amount = [](std::int64_t cents) { return Currency::fromCents(cents); };
  y.setBeginReportPage([&y] {
    y.SBas();
    sampleHeading(y);
  });
  y.setNextDevice(kRecordingDevice);
  y.BeginOutput();
  y.SSet();
  y.OlcM(6);

  // Page 1: type styles, colours, amounts, boxes, rules and a picture.
  y.SBas();
  y.OOri(1);
  y.Sifi();
  sampleHeading(y);
  y.Font("Times New Roman");
  y.Ital();
  y.Yazz("Italic", 10, kLeft);
  y.ItlO();
  y.ULin();
  y.Yazz("Underlined", 40, kLeft);
  y.ULnO();
  y.STru();
  y.Yazz("Struck out", 80, kLeft);
  y.STrO();
  y.Font("Arial");
  y.Renk(200, 0, 0);
  y.Yazz("Red", 120, kLeft);
  y.Renk(0, 0, 0);
  y.Sati();
  y.Yazz("Cash at bank", 10, kLeft);
  y.Para(120, amount(123456789), 1);
  y.Para(160, amount(-250000), 2);
  y.Para(195, amount(0), 0);
  y.Sati();
  y.Tabu(10);
  y.Yazz("Sales", 0, Currency{});
  y.Yazz(" and more sales", 0, Currency{});
  y.Para(195, amount(9900), 0);
  y.Sati();
  y.Kaln(2);
  y.KCek(120, 195);
  y.Sati();
  y.Dcek(120, 195);
  y.Sati();
  y.BFOn();
  y.BBox(10, 60, 60, 70, 1);
  y.BFCl(0xF0E0D0);
  y.CBox(70, 60, 120, 70);
  y.BFOf();
  y.HBox(130, 60, 180, 70);
  y.BFOn();
  y.XYPo(12, 62);
  y.Yazz("Boxed", 12, kLeft);
  y.Tabu(100);
  y.Ccev(80, 100);
  y.DGen(10, 80, 90, 100);
  y.Ccei(10, 100, 90, 80, 2);
  y.Nokt(95, 90, 0);
  y.ResC("logo.png", 150, amount(8000), 30, 20);
  y.XYPo(10, 110);
  y.Yazz("Position " + std::to_string(y.Nere(1)), 10, kLeft);
  y.Sati();
  y.SBit();

  // Pages 2 and 3: a ledger too long for one page.
  y.SBas();
  sampleHeading(y);
  for (int line = 1; line <= 70; ++line) {
    y.Yazz("Ledger line " + std::to_string(line), 10, kLeft);
    y.Para(195, amount(line * 1001), 1);
    y.Sati();
  }
  y.Yazz("Total", 10, kLeft);
  y.Para(195, amount(70 * 71 / 2 * 1001), 1);
  y.Sati();
  y.SBit();

  // Page 4 in landscape.
  y.SBas();
  y.OOri(2);
  sampleHeading(y);
  y.Yazz("A wide page", 270, kRight);
  y.Sati();
  y.SBit();

  // Page 5, portrait again.
  y.SBas();
  y.OOri(1);
  sampleHeading(y);
  y.Yazz("End of report", 10, kLeft);
  y.Sati();
  y.SBit();
  y.END();
}

}  // namespace lum::test
