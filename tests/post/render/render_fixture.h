#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "platform/scripted_prompter.h"
#include "post/render/page_writer.h"
#include "post/render/text_page_device.h"
#include "post/render/yazan.h"
#include "tests/support/test_support.h"

namespace lum::test {

// A text device that also counts pages begun and can refuse fonts, as a
// printer may.
class ListingDevice final : public PageDevice {
 public:
  ListingDevice() : mText(mOut, mMetrics) {}

  std::string listing() const { return mOut.str(); }
  void clear() { mOut.str({}); }

  void beginPage(int pageNumber) override {
    ++pagesBegun;
    mText.beginPage(pageNumber);
  }
  void endPage() override { ++pagesEnded; }
  void endDocument() override { ++documentsEnded; }
  void setOrientation(Orientation orientation) override { lastOrientation = orientation; }
  void setCopies(int count) override { copies = count; }
  bool setFont(const PageFont& font) override {
    lastFont = font;
    return refusedFont.empty() || font.name != refusedFont;
  }
  const TextMetrics& metrics() const override { return mMetrics; }
  void drawText(double x, double y, std::string_view text, TextAnchor anchor, Rgb colour) override {
    lastTextColour = colour;
    mText.drawText(x, y, text, anchor, colour);
  }
  void drawRule(double x1, double x2, double y, int width, Rgb colour) override {
    mText.drawRule(x1, x2, y, width, colour);
  }
  void drawLine(double x1, double y1, double x2, double y2, int width, Rgb colour) override {
    mText.drawLine(x1, y1, x2, y2, width, colour);
  }
  void drawPoint(double x, double y, Rgb colour) override { mText.drawPoint(x, y, colour); }
  void drawBox(double x1, double y1, double x2, double y2, Rgb outline,
               std::optional<Rgb> fill) override {
    lastBoxFill = fill;
    mText.drawBox(x1, y1, x2, y2, outline, fill);
  }
  void drawPicture(std::span<const std::byte> bytes, std::string_view name, double x, double y,
                   double width, double height) override {
    pictureBytes = bytes.size();
    mText.drawPicture(bytes, name, x, y, width, height);
  }

  int pagesBegun = 0;
  int pagesEnded = 0;
  int documentsEnded = 0;
  int copies = 1;
  std::string refusedFont;
  PageFont lastFont;
  Rgb lastTextColour = 0;
  std::optional<Rgb> lastBoxFill;
  std::size_t pictureBytes = 0;
  Orientation lastOrientation = Orientation::Portrait;

 private:
  std::ostringstream mOut;
  FixedTextMetrics mMetrics;
  TextPageDevice mText;
};

// The page files of a work area, a settings file, a screen and a printer.
class RenderTest : public ::testing::Test {
 protected:
  RenderTest()
      : commands(ops, dir / "DosyaYaz.dat", PageCommandRecord::kSize),
        texts(ops, dir / "Kelamlar.dat", PageTextRecord::kSize),
        settings(ops, dir / "RpP-1.Dat", ReportPrintSettings::kSize),
        yazan(ops, prompter) {
    yazan.attachFiles(&commands, &texts);
    yazan.attachSettings(&settings);
    yazan.setScreen(&screen);
    yazan.setPrinter(&printer);
  }

  // Output set-up for a report run on the recording device.
  void beginRun() {
    yazan.setNextDevice(OutputDevice::Recording);
    yazan.BeginOutput();
    page.millimetreScale();
  }

  // Shows a stored page on the screen, as the viewer does.
  void show(int pageNumber) {
    yazan.setDevice(OutputDevice::Screen);
    yazan.setPageNumber(pageNumber);
    yazan.LoadPage();
  }

  TempDir dir;
  FileOps ops;
  ScriptedPrompter prompter;
  RecordFile commands;
  RecordFile texts;
  RecordFile settings;
  ListingDevice screen;
  ListingDevice printer;
  Yazan yazan;
  PageWriter page{yazan};
};

}  // namespace lum::test
