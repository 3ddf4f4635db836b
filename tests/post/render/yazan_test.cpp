#include "post/render/yazan.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/dos_path.h"
#include "post/render/amount_text.h"
#include "post/render/page_commands.h"
#include "tests/post/render/render_fixture.h"
#include "tests/support/records.h"

namespace lum {
namespace {

using test::Bytes;
using test::readBytes;
using test::writeBytes;

Currency dollars(double amount) {
  return *Currency::fromDouble(amount);
}

// A command record as laid out on disk.
Bytes command(std::string_view code, float a, float b, std::int64_t c, float d = 0, float e = 0) {
  return std::move(Bytes().text(code, 4).float32(a).float32(b).raw8(c).float32(d).float32(e));
}

void append(std::vector<std::byte>& file, const Bytes& record) {
  file.insert(file.end(), record.bytes().begin(), record.bytes().end());
}

class YazanTest : public test::RenderTest {
 protected:
  void putSettings(const std::function<void(ReportPrintSettings&)>& change) {
    ReportPrintSettings record;
    change(record);
    settings.put(1, record);
  }

  // Writes one page of a report: its begin, a text and a line end, its end.
  void writePage(std::string_view text) {
    page.beginPage();
    page.text(10, text, Align::Left);
    page.newLine();
    page.endPage();
  }

  // The line ends a new page holds before the automatic page break.
  int lineEndsBeforeTheBreak() {
    page.beginPage();
    const int first = yazan.pageNumber();
    int lineEnds = 0;
    while (yazan.pageNumber() == first && lineEnds < 1000) {
      page.newLine();
      ++lineEnds;
    }
    return lineEnds - 1;
  }

  std::string codeOf(int record) {
    return test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", record).code;
  }
};

TEST_F(YazanTest, RecordsThePageFilesByteForByte) {
  beginRun();
  page.beginPage();
  page.text(10, "Hello", Align::Left);
  page.amount(100, dollars(12.34), AmountStyle::DollarsAndCents);
  page.newLine();
  page.endPage();
  page.endReport();

  std::vector<std::byte> expected;
  append(expected, command("Page", 1005, 1009, 0));  // header of page 1
  append(expected, command("END", 0, 0, 0));         // after the last page
  expected.resize(1000 * PageCommandRecord::kSize);  // headers never written read as zeros
  // Output set-up: size, bold on and off, then the report's "SSet"; fields a
  // command does not use keep what the previous one left.
  append(expected, command("Olcu", 10, 0, 0));
  append(expected, command("Cift", 10, 0, 0));
  append(expected, command("Tek", 10, 0, 0));
  append(expected, command("SSet", 10, 0, 0));
  append(expected, command("SBas", 10, 0, 0));
  append(expected, command("Yazz", 1, 10, 10000));  // text 1, x 10, alignment 1
  append(expected, command("Para", 100, 1, 123400));
  append(expected, command("Sati", 100, 1, 123400));
  append(expected, command("SBit", 100, 1, 123400));
  commands.flush();
  EXPECT_EQ(readBytes(dir / "DosyaYaz.dat"), expected);
  EXPECT_EQ(readBytes(dir / "Kelamlar.dat"), Bytes().text("Hello", 140).bytes());

  // The empty font entry of the settings became "Arial", for good.
  const auto written = readBytes(dir / "RpP-1.Dat");
  ASSERT_EQ(written.size(), ReportPrintSettings::kSize);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.data()) + 50, 6), "Arial ");
  EXPECT_EQ(yazan.pageCount(), 1);
  EXPECT_EQ(yazan.device(), OutputDevice::Screen);
}

TEST_F(YazanTest, ReplaysPageFilesWrittenByHand) {
  std::vector<std::byte> file;
  append(file, command("Page", 1001, 1009, 0));
  append(file, command("Page", 1010, 1012, 0));
  append(file, command("END", 0, 0, 0));
  file.resize(1000 * PageCommandRecord::kSize);
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Yazz", 1, 20, 20000));  // "Total" ending at 20
  append(file, command("Para", 150, 2, -12345000));
  append(file, command("Sati", 0, 0, 0));
  append(file, command("Ccek", 10, 190, 0));
  append(file, command("Yazz", 2, 0, 0));  // at the current position
  append(file, command("XYPo", 30, 50, 0));
  append(file, command("Yazz", 3, 0, 0));
  append(file, command("SBit", 0, 0, 0));
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Yazz", 4, 195, 20000));
  append(file, command("SBit", 0, 0, 0));
  writeBytes(dir / "DosyaYaz.dat", file);
  writeBytes(dir / "Kelamlar.dat", Bytes()
                                       .text("Total", 140)
                                       .text(" after the rule", 140)
                                       .text("moved", 140)
                                       .text("Page 2", 140));

  EXPECT_EQ(yazan.storedPageCount(), 2);
  show(1);
  EXPECT_EQ(screen.listing(),
            "1 0.0 20.0 R Total\n"
            "1 0.0 150.0 R (1,235\n"
            "1 0.0 150.0 L )\n"
            "1 4.1 10.0 RULE 190.0\n"
            "1 4.1 190.0 L  after the rule\n"
            "1 50.0 30.0 L moved\n");

  screen.clear();
  show(2);
  EXPECT_EQ(screen.listing(), "2 0.0 195.0 R Page 2\n");
  EXPECT_TRUE(prompter.texts().empty());
}

// Page 1 is shown again at the end, unless it is the only page.
TEST_F(YazanTest, PageOneIsShownAfterTheEndOfALongerReport) {
  beginRun();
  writePage("only page");
  page.endReport();
  EXPECT_EQ(screen.listing(), "1 0.0 10.0 L only page\n");

  screen.clear();
  beginRun();
  writePage("first");
  writePage("second");
  page.endReport();
  EXPECT_EQ(screen.listing(),
            "1 0.0 10.0 L first\n"
            "2 0.0 10.0 L second\n"
            "1 0.0 10.0 L first\n");
}

TEST_F(YazanTest, RightAlignedEmptyTextIsRecordedButNotDrawn) {
  beginRun();
  page.beginPage();
  page.text(50, "", Align::Right);
  page.text(60, std::string("\0abc", 4), Align::Left);
  EXPECT_EQ(screen.listing(), "");
  page.endPage();
  EXPECT_EQ(codeOf(1006), "Yazz");
  EXPECT_EQ(test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", 1006).b, 50.0f);
  EXPECT_EQ(readBytes(dir / "Kelamlar.dat"), Bytes().text("", 140).text("", 140).bytes());
}

TEST_F(YazanTest, Amounts) {
  const auto text = [](Currency amount, AmountStyle style) {
    return amountText(amount, style).text;
  };
  EXPECT_EQ(text(Currency{}, AmountStyle::DollarsAndCents), "-");
  EXPECT_EQ(text(dollars(0.004), AmountStyle::DollarsAndCents), "-");
  EXPECT_EQ(text(dollars(-1234567.891), AmountStyle::DollarsAndCents), "(1,234,567.89");
  EXPECT_EQ(text(dollars(-999.5), AmountStyle::WholeDollars), "(1,000");
  EXPECT_EQ(text(dollars(-12), AmountStyle::DollarSignWhole), "($12");
  EXPECT_EQ(text(dollars(5), static_cast<AmountStyle>(7)), "-");

  // The position moves on past a negative amount's ")", to x after any other.
  beginRun();
  page.beginPage();
  page.amount(120, Currency{}, AmountStyle::DollarsAndCents);
  page.amount(150, dollars(-1234), AmountStyle::WholeDollars);
  page.text("|");
  page.amount(180, dollars(1234), AmountStyle::DollarSignWhole);
  page.text("|");
  EXPECT_EQ(screen.listing(),
            "1 0.0 120.0 R -\n"
            "1 0.0 150.0 R (1,234\n"
            "1 0.0 150.0 L )\n"
            "1 0.0 152.1 L |\n"
            "1 0.0 180.0 R $1,234\n"
            "1 0.0 180.0 L |\n");
}

TEST_F(YazanTest, LineEndPastTheBottomStartsTheNextPageFirst) {
  putSettings([](ReportPrintSettings& s) { s.bottomLimit = 20; });
  int headings = 0;
  yazan.setBeginReportPage([&] {
    page.beginPage();
    page.text(10, "Heading " + std::to_string(++headings), Align::Left);
    page.newLine();
  });
  beginRun();
  page.beginPage();
  for (int line = 1; line <= 5; ++line) {
    page.text(10, "line " + std::to_string(line), Align::Left);
    page.newLine();
  }
  page.endPage();
  page.endReport();
  // 15 mm is passed on the fourth line end: page 2 begins with its heading,
  // then the fourth line's end is repeated below it.
  EXPECT_EQ(yazan.pageCount(), 2);
  const auto page2 = test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", 2);
  EXPECT_EQ(page2.a, 1015.0f);
  EXPECT_EQ(page2.b, 1021.0f);
  std::vector<std::string> codes;
  for (int r = 1005; r <= 1021; ++r) {
    codes.push_back(codeOf(r));
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"SBas", "Yazz", "Sati", "Yazz", "Sati", "Yazz", "Sati",
                                             "Yazz", "Sati", "SBit", "SBas", "Yazz", "Sati", "Sati",
                                             "Yazz", "Sati", "SBit"}));

  screen.clear();
  show(2);
  EXPECT_EQ(screen.listing(),
            "2 0.0 10.0 L Heading 1\n"
            "2 8.1 10.0 L line 5\n");
}

TEST_F(YazanTest, HeadingTallerThanThePageDoesNotBreakForEver) {
  putSettings([](ReportPrintSettings& s) { s.bottomLimit = 6; });
  yazan.setBeginReportPage([&] {
    page.beginPage();
    page.newLine();
    page.newLine();
  });
  beginRun();
  page.beginPage();
  page.newLine();
  page.newLine();
  page.endPage();
  page.endReport();
  EXPECT_EQ(yazan.pageCount(), 3);
}

// A page that uses every command, each with arguments of its own.
class EveryCommandTest : public YazanTest {
 protected:
  void SetUp() override {
    test::writeText(dir / "logo.png", "not really a picture");
    yazan.setPictureResolver([&](std::string_view name) { return dir / std::string(name); });
    putSettings([](ReportPrintSettings& s) {
      s.boxColour = 0x0000FF;
      s.textColour = 0x00FF00;
    });
    beginRun();
    page.beginPage();
    page.scaleMode(ScaleMode::Millimetres);
    page.orientation(Orientation::Landscape);
    page.font("Times New Roman");
    page.size(12);
    page.bold();
    page.italic();
    page.underline();
    page.strikeOut();
    page.printSettingsTextColour();
    page.moveTo(20, 30);
    page.text("styled");
    page.noStrikeOut();
    page.noUnderline();
    page.upright();
    page.regular();
    page.textColour(rgb(255, 0, 0));
    page.tabTo(40);
    page.amount(90, dollars(-5.5), AmountStyle::DollarsAndCents);
    page.newLine();
    page.lineWidth(2);
    page.rule(10, 100);
    page.thickRule(10, 100);
    page.doubleRule(10, 100);
    page.tabTo(15);
    page.verticalRule(40, 60);
    page.line(0, 0, 50, 50);
    page.line(1, 2, 3, 4, ReportColour::LightBlue);
    page.point(5, 6, ReportColour::LightGrey);
    page.boxFillColour(0x123456);
    page.box(10, 70, 20, 80, ReportColour::LightYellow);
    page.openBoxes();
    page.printSettingsBox(30, 70, 40, 80);
    page.fillBoxes();
    page.headingBox(50, 70, 60, 80);
    page.picture("logo.png", 100, 120, 30, 20);
    verticalPosition = page.position(Axis::Vertical);
    horizontalPosition = page.position(Axis::Horizontal);
    page.clearPage();
    page.textColour(kBlack);
    page.endPage();
    page.endReport();
  }

  int verticalPosition = 0;
  int horizontalPosition = 0;
};

// The fields each command keeps its arguments in, as the page files of the
// older programs have them; a field a command does not use keeps what the
// command before left in it.
TEST_F(EveryCommandTest, StoresEachArgumentInItsField) {
  std::vector<std::byte> expected;
  for (const Bytes& record : {
           command("SBas", 10, 0, 0),
           command("OlcM", 6, 0, 0),
           command("OOri", 2, 0, 0),
           command("Font", 1, 0, 0),  // text 1
           command("Olcu", 12, 0, 0),
           command("Cift", 12, 0, 0),
           command("Ital", 12, 0, 0),
           command("ULin", 12, 0, 0),
           command("STru", 12, 0, 0),
           command("Renk", 1, 1, 0, 1),
           command("XYPo", 20, 30, 0, 1),
           command("Yazz", 2, 0, 0, 1),  // text 2 at the current position
           command("STrO", 2, 0, 0, 1),
           command("ULnO", 2, 0, 0, 1),
           command("ItlO", 2, 0, 0, 1),
           command("Tek", 2, 0, 0, 1),
           command("Renk", 255, 0, 0, 0),
           command("Tabu", 40, 0, 0, 0),
           command("Para", 90, 1, -55000, 0),
           command("Sati", 90, 1, -55000, 0),
           command("Kaln", 2, 1, -55000, 0),
           command("Ccek", 10, 100, -55000, 0),
           command("KCek", 10, 100, -55000, 0),
           command("Dcek", 10, 100, -55000, 0),
           command("Tabu", 15, 100, -55000, 0),
           command("Ccev", 40, 60, -55000, 0),
           command("DGen", 0, 0, -55000, 50, 50),
           command("Ccei", 1, 2, 20000, 3, 4),
           command("Nokt", 5, 6, 20000, 1, 4),
           command("BFCl", 0x123456, 6, 20000, 1, 4),
           command("BBox", 10, 70, 30000, 20, 80),
           command("BFOf", 10, 70, 30000, 20, 80),
           command("CBox", 30, 70, 30000, 40, 80),
           command("BFOn", 30, 70, 30000, 40, 80),
           command("HBox", 50, 70, 30000, 60, 80),
           command("ResC", 3, 100, 1200000, 30, 20),  // text 3, y 120 as currency
           command("Nere", 1, 100, 1200000, 30, 20),
           command("Nere", 0, 100, 1200000, 30, 20),
           command("Sifi", 0, 100, 1200000, 30, 20),
           command("Renk", 0, 0, 1200000, 0, 20),
           command("SBit", 0, 0, 1200000, 0, 20),
       }) {
    append(expected, record);
  }
  const auto file = readBytes(dir / "DosyaYaz.dat");
  ASSERT_EQ(file.size(), 1045 * PageCommandRecord::kSize);
  EXPECT_EQ(std::vector<std::byte>(file.begin() + 1004 * PageCommandRecord::kSize, file.end()),
            expected);
  EXPECT_EQ(readBytes(dir / "Kelamlar.dat"),
            Bytes().text("Times New Roman", 140).text("styled", 140).text("logo.png", 140).bytes());

  // That is every command of the table (the end of the report is a header).
  std::set<std::string> all;
  for (const PageCommandEntry& entry : pageCommands()) {
    if (entry.command != PageCommand::EndReport) {
      all.insert(std::string(entry.code));
    }
  }
  std::set<std::string> recorded;
  for (int r = 1001; r <= 1045; ++r) {
    recorded.insert(codeOf(r));
  }
  EXPECT_EQ(recorded, all);
}

TEST_F(EveryCommandTest, ReplaysAsItWasDrawn) {
  EXPECT_EQ(verticalPosition, 6);    // where the point left it
  EXPECT_EQ(horizontalPosition, 0);  // the boxes go back to the left edge
  const std::string drawn = screen.listing();
  EXPECT_EQ(drawn,
            "1 30.0 20.0 L styled\n"
            "1 30.0 90.0 R (5.50\n"
            "1 30.0 90.0 L )\n"
            "1 34.9 10.0 RULE 100.0\n"
            "1 34.9 10.0 RULE 100.0\n"
            "1 34.9 10.0 RULE 100.0\n"
            "1 35.9 10.0 RULE 100.0\n"
            "1 40.0 15.0 LINE 60.0 15.0\n"
            "1 0.0 0.0 LINE 50.0 50.0\n"
            "1 2.0 1.0 LINE 4.0 3.0\n"
            "1 6.0 5.0 POINT\n"
            "1 70.0 10.0 BOX 80.0 20.0\n"
            "1 70.0 30.0 BOX 80.0 40.0\n"
            "1 70.0 50.0 BOX 80.0 60.0\n"
            "1 120.0 100.0 PICTURE 140.0 130.0 logo.png\n");
  EXPECT_EQ(screen.lastOrientation, Orientation::Landscape);
  EXPECT_EQ(screen.pictureBytes, 20u);

  // Shown again from the files, page 1 draws the same and ends in the same state.
  const PageFont fontAfter = screen.lastFont;
  screen.clear();
  show(1);
  EXPECT_EQ(screen.listing(), drawn);
  EXPECT_EQ(screen.lastFont, fontAfter);
  EXPECT_EQ(screen.lastBoxFill, std::optional<Rgb>(0x123456));
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(YazanTest, EveryPageStartsFromTheSetUpState) {
  beginRun();
  page.beginPage();
  page.textColour(rgb(255, 0, 0));
  page.font("Courier New");
  page.bold();
  page.text(10, "red", Align::Left);
  page.endPage();
  page.beginPage();
  page.text(10, "black", Align::Left);
  EXPECT_EQ(screen.lastTextColour, kBlack);
  EXPECT_EQ(screen.lastFont.name, "Arial");
  EXPECT_FALSE(screen.lastFont.bold);
  page.endPage();
  page.endReport();
  // Page 2 shown after page 1 draws as it was written.
  show(2);
  EXPECT_EQ(screen.lastTextColour, kBlack);
  EXPECT_EQ(screen.lastFont.name, "Arial");
}

TEST_F(YazanTest, TextColours) {
  putSettings([](ReportPrintSettings& s) { s.textColour = 0x00AA00; });
  beginRun();
  page.beginPage();
  const auto drawnIn = [&](const std::function<void()>& setColour) {
    setColour();
    page.text(10, "x", Align::Left);
    return screen.lastTextColour;
  };
  EXPECT_EQ(drawnIn([&] { page.printSettingsTextColour(); }), 0x00AA00u);
  EXPECT_EQ(drawnIn([&] { page.textColour(kBlack); }), kBlack);
  EXPECT_EQ(drawnIn([&] { page.textColour(0x123456); }), 0x123456u);
  // Not the print settings' colour, although the files keep that as (1, 1, 1).
  EXPECT_EQ(drawnIn([&] { page.textColour(rgb(1, 1, 1)); }), rgb(1, 1, 1));
  page.endPage();
  page.endReport();
  show(1);
  EXPECT_EQ(screen.lastTextColour, rgb(1, 1, 1));

  // Stored components out of range are held to it.
  std::vector<std::byte> file;
  append(file, command("Page", 1001, 1002, 0));
  file.resize(1000 * PageCommandRecord::kSize);
  append(file, command("Renk", 300, -5, 0, 7));
  append(file, command("Yazz", 1, 10, 10000));
  writeBytes(dir / "DosyaYaz.dat", file);
  writeBytes(dir / "Kelamlar.dat", Bytes().text("x", 140));
  show(1);
  EXPECT_EQ(screen.lastTextColour, rgb(255, 0, 7));
}

TEST_F(YazanTest, SettingsDefaults) {
  putSettings([](ReportPrintSettings& s) {
    s.fontSize = 4;
    s.fontNames[3] = "Courier New";
  });
  yazan.setFontSet(2);
  beginRun();
  EXPECT_EQ(screen.lastFont.size, 10);
  EXPECT_EQ(screen.lastFont.name, "Courier New");
  EXPECT_EQ(yazan.leftMargin(), 10);
  EXPECT_EQ(yazan.topMargin(), 15);
  const FixedTextMetrics metrics;
  const auto linesAbove = [&](double bottom, double size) {
    PageFont font;
    font.size = size;
    return static_cast<int>((bottom - 5) / metrics.lineHeight(font));
  };
  EXPECT_EQ(lineEndsBeforeTheBreak(), linesAbove(270, 10));
  page.orientation(Orientation::Landscape);
  EXPECT_EQ(lineEndsBeforeTheBreak(), linesAbove(185, 10));

  putSettings([](ReportPrintSettings& s) {
    s.fontSize = 12;
    s.leftMargin = 20;
    s.topMargin = 25;
    s.bottomLimit = 250;
  });
  yazan.setFontSet(0);
  beginRun();
  EXPECT_EQ(screen.lastFont.size, 12);
  EXPECT_EQ(screen.lastFont.name, "Arial");
  EXPECT_EQ(yazan.leftMargin(), 20);
  EXPECT_EQ(lineEndsBeforeTheBreak(), linesAbove(250, 12));
  EXPECT_EQ(settings.get<ReportPrintSettings>(1).fontNames[1], "Arial");
}

TEST_F(YazanTest, UnknownCodeIsToldAndSkipped) {
  std::vector<std::byte> file;
  append(file, command("Page", 1001, 1005, 0));
  file.resize(1000 * PageCommandRecord::kSize);
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Xyzw", 0, 0, 0));
  append(file, command("Yazz", 1, 10, 10000));
  append(file, command("Xyzw", 0, 0, 0));
  append(file, command("tek", 0, 0, 0));  // the codes are told apart by case
  writeBytes(dir / "DosyaYaz.dat", file);
  writeBytes(dir / "Kelamlar.dat", Bytes().text("after", 140));
  show(1);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"can't find Xyzw in OkuYaz module",
                                                        "can't find tek in OkuYaz module"}));
  EXPECT_EQ(screen.listing(), "1 0.0 10.0 L after\n");
}

// Damaged page files: an empty or cut page and one message, never a crash.
TEST_F(YazanTest, DamagedPagesAreCutAndTold) {
  std::vector<std::byte> file;
  append(file, command("Page", 7000, 9000, 0));  // past the end of the file
  append(file, command("Page", 1001, 6000, 0));  // 5,000 commands
  append(file, command("Page", 1001, 1003, 0));  // a text beyond Kelamlar.dat
  append(file, command("Page", 1004, 1007, 0));  // codes of blanks and NULs
  append(file, command("Page", 0, 1006, 0));     // no first record
  append(file, command("Page", std::numeric_limits<float>::quiet_NaN(), 1e30f, 0));
  append(file, command("END", 0, 0, 0));
  file.resize(1000 * PageCommandRecord::kSize);
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Yazz", 7, 10, 10000));
  append(file, command("Sati", 0, 0, 0));
  append(file, command("SBas", 0, 0, 0));
  append(file, command("    ", 0, 0, 0));
  append(file, Bytes().zeros(28));
  append(file, command("Yazz", 1, 10, 10000));
  for (int r = 1008; r <= 6000; ++r) {
    append(file, command("Yazz", 1, 10, 10000));
  }
  writeBytes(dir / "DosyaYaz.dat", file);
  writeBytes(dir / "Kelamlar.dat", Bytes().text("fine", 140));

  const auto shown = [&](int number) {
    prompter.clear();
    screen.clear();
    show(number);
    return prompter.texts();
  };
  EXPECT_EQ(shown(1), std::vector<std::string>{
                          "Page 1 of the report is damaged: its commands go past the end of "
                          "DosyaYaz.dat."});
  EXPECT_EQ(screen.listing(), "");
  EXPECT_EQ(shown(2), (std::vector<std::string>{
                          "Page 2 of the report is damaged: it has more than 3000 commands.",
                          "can't find  in OkuYaz module"}));
  // Drawn up to the 3,000th command: "fine" on 2,994 lines.
  const std::string listing = screen.listing();
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 3000 - 6);
  EXPECT_EQ(shown(3), std::vector<std::string>{
                          "Page 3 of the report is damaged: text 7 is not in Kelamlar.dat."});
  EXPECT_EQ(screen.listing(), "");
  EXPECT_EQ(shown(4), std::vector<std::string>{"can't find  in OkuYaz module"});
  EXPECT_EQ(screen.listing(), "4 0.0 10.0 L fine\n");
  EXPECT_TRUE(shown(5).empty());
  EXPECT_EQ(screen.listing(), "");
  EXPECT_TRUE(shown(6).empty());
  EXPECT_EQ(screen.listing(), "");
  EXPECT_EQ(yazan.storedPageCount(), 6);
}

// The text listing has one line per drawn item, also for a text or a
// picture name of a damaged text file that holds line ends.
TEST_F(YazanTest, ControlCharactersOfTextsStayOnTheirLine) {
  std::vector<std::byte> file;
  append(file, command("Page", 1001, 1003, 0));
  append(file, command("END", 0, 0, 0));
  file.resize(1000 * PageCommandRecord::kSize);
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Yazz", 1, 10, 10000));
  append(file, command("ResC", 2, 20, 300000, 5, 5));
  writeBytes(dir / "DosyaYaz.dat", file);
  writeBytes(dir / "Kelamlar.dat",
             Bytes().text("Two\nlines\r\tand a tab", 140).text("a\nb.png", 140));
  writeBytes(dir / "a\nb.png", Bytes().text("picture", 7));
  yazan.setPictureResolver([&](std::string_view name) { return dir / std::string(name); });
  show(1);
  EXPECT_EQ(screen.listing(),
            "1 0.0 10.0 L Two lines  and a tab\n"
            "1 30.0 20.0 PICTURE 35.0 25.0 a b.png\n");
}

// A picture on a drive this machine does not have (the names are mapped
// as the programs map them) is told like a missing one, and the rest of
// the page is drawn.
TEST_F(YazanTest, PictureOnAnotherDriveIsToldAndThePageDrawn) {
  const DosPath paths(ops, dir.path(), dir / "floppy");
  yazan.setPictureResolver([&](std::string_view name) { return paths.resolve(name); });
  beginRun();
  page.beginPage();
  page.picture("C:\\LUM\\logo.bmp", 100, 120, 30, 20);
  page.text(10, "after the picture", Align::Left);
  page.endPage();
  EXPECT_EQ(screen.listing(), "1 0.0 10.0 L after the picture\n");
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"The picture C:\\LUM\\logo.bmp cannot be found"});
}

TEST_F(YazanTest, NumbersOutOfEveryRangeDrawWithoutHarm) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<std::byte> file;
  append(file, command("Page", 1001, 1006, 0));
  file.resize(1000 * PageCommandRecord::kSize);
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Para", 1e30f, nan, std::numeric_limits<std::int64_t>::max()));
  append(file, command("BBox", nan, -1e30f, std::numeric_limits<std::int64_t>::min(), 1e30f, nan));
  append(file, command("Renk", 1e30f, -1e30f, 0, nan));
  append(file, command("Kaln", 1e9f, 0, 0));
  append(file, command("Ccei", 1, 2, std::numeric_limits<std::int64_t>::max(), 3, 4));
  writeBytes(dir / "DosyaYaz.dat", file);
  show(1);
  EXPECT_EQ(screen.listing(),
            "1 0.0 32767.0 R $922,337,203,685,478\n"
            "1 -32768.0 0.0 BOX 0.0 32767.0\n"
            "1 2.0 1.0 LINE 4.0 3.0\n");
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(YazanTest, ReportOfMoreThan999PagesKeepsTheFirst999) {
  beginRun();
  for (int number = 1; number <= 1001; ++number) {
    writePage("page " + std::to_string(number));
  }
  page.endReport();
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"The report has more than 999 pages; only the first 999 are "
                                     "kept."});
  EXPECT_EQ(yazan.pageCount(), 999);
  EXPECT_EQ(codeOf(1000), "END");
  // The first command is still output set-up's, not a header.
  EXPECT_EQ(codeOf(1001), "Olcu");
  EXPECT_EQ(yazan.storedPageCount(), 999);
  screen.clear();
  show(999);
  EXPECT_EQ(screen.listing(), "999 0.0 10.0 L page 999\n");
}

class PrintPagesTest : public YazanTest {
 protected:
  void SetUp() override {
    beginRun();
    writePage("first");
    writePage("second");
    writePage("third");
    page.endReport();
    show(2);
    screen.clear();
    yazan.setDevice(OutputDevice::Printer);
    yazan.setNextDevice(OutputDevice::Printer);
  }
};

TEST_F(PrintPagesTest, PrintsTheChosenRangeThenShowsTheSamePage) {
  PrintOffer offered;
  yazan.PrintPages([&](const PrintOffer& offer) {
    offered = offer;
    return PrintChoice{2, PrintRange::Pages, 2, 3};
  });
  EXPECT_EQ(offered.maxPage, 3);
  EXPECT_EQ(offered.toPage, 3);
  EXPECT_EQ(printer.listing(), "2 0.0 10.0 L second\n3 0.0 10.0 L third\n");
  EXPECT_EQ(printer.copies, 2);
  EXPECT_EQ(printer.pagesEnded, 2);
  EXPECT_EQ(yazan.device(), OutputDevice::Screen);
  EXPECT_EQ(screen.listing(), "2 0.0 10.0 L second\n");
}

TEST_F(PrintPagesTest, AllPagesAndTheShownPage) {
  yazan.PrintPages([](const PrintOffer&) { return PrintChoice{1, PrintRange::AllPages}; });
  EXPECT_EQ(printer.listing(), "1 0.0 10.0 L first\n2 0.0 10.0 L second\n3 0.0 10.0 L third\n");
  printer.clear();
  yazan.setDevice(OutputDevice::Printer);
  yazan.PrintPages([](const PrintOffer&) { return PrintChoice{1, PrintRange::Selection}; });
  EXPECT_EQ(printer.listing(), "2 0.0 10.0 L second\n");
}

TEST_F(PrintPagesTest, CancelPrintsNothingAndShowsTheSamePage) {
  yazan.PrintPages([](const PrintOffer&) { return std::nullopt; });
  EXPECT_EQ(printer.listing(), "");
  EXPECT_EQ(printer.documentsEnded, 0);
  EXPECT_EQ(screen.listing(), "2 0.0 10.0 L second\n");
}

TEST_F(PrintPagesTest, RefusedFontGivesCourier) {
  printer.refusedFont = "Arial";
  yazan.PrintPages([](const PrintOffer&) { return PrintChoice{1, PrintRange::Pages, 1, 2}; });
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{
                "Selected font is not accepted by the printer.  Courier font is now imposed"});
  EXPECT_EQ(printer.lastFont.name, "courier");
  EXPECT_EQ(printer.listing(), "1 0.0 10.0 L first\n2 0.0 10.0 L second\n");
}

TEST_F(YazanTest, OnePageReportOffersOneToOne) {
  beginRun();
  writePage("only");
  page.endReport();
  yazan.setNextDevice(OutputDevice::Printer);
  PrintOffer offered;
  yazan.PrintPages([&](const PrintOffer& offer) {
    offered = offer;
    return std::nullopt;
  });
  EXPECT_EQ(offered.maxPage, 1);
  EXPECT_EQ(offered.toPage, 1);
}

}  // namespace
}  // namespace lum
