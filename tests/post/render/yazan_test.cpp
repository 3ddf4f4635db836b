#include "post/render/yazan.h"

#include <gtest/gtest.h>

#include "platform/dos_path.h"
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
constexpr Currency kAlignLeft = Currency::fromRaw(1 * Currency::kScale);
constexpr Currency kAlignRight = Currency::fromRaw(2 * Currency::kScale);

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

  // Writes one page of a report: its "SBas", a text and a line end, its "SBit".
  void writePage(std::string_view text) {
    yazan.SBas();
    yazan.Yazz(text, 10, kAlignLeft);
    yazan.Sati();
    yazan.SBit();
  }
};

TEST_F(YazanTest, RecordsThePageFilesByteForByte) {
  beginRun();
  yazan.SBas();
  yazan.Yazz("Hello", 10, kAlignLeft);
  yazan.Para(100, dollars(12.34), 1);
  yazan.Sati();
  yazan.SBit();
  yazan.END();

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
  EXPECT_EQ(yazan.device(), kScreenDevice);
}

TEST_F(YazanTest, ReplaysPageFilesWrittenByHand) {
  std::vector<std::byte> file;
  append(file, command("Page", 1001, 1008, 0));
  append(file, command("Page", 1009, 1011, 0));
  append(file, command("END", 0, 0, 0));
  file.resize(1000 * PageCommandRecord::kSize);
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Yazz", 1, 20, 20000));  // "Total" ending at 20
  append(file, command("Para", 150, 2, -12345000));
  append(file, command("Sati", 0, 0, 0));
  append(file, command("Ccek", 10, 190, 0));
  append(file, command("Yazz", 2, 0, 0));  // at the current position
  append(file, command("XYPo", 30, 50, 0));
  append(file, command("SBit", 0, 0, 0));
  append(file, command("SBas", 0, 0, 0));
  append(file, command("Yazz", 3, 195, 20000));
  append(file, command("SBit", 0, 0, 0));
  writeBytes(dir / "DosyaYaz.dat", file);
  writeBytes(dir / "Kelamlar.dat",
             Bytes().text("Total", 140).text(" after the rule", 140).text("Page 2", 140));

  EXPECT_EQ(yazan.storedPageCount(), 2);
  yazan.setDevice(kScreenDevice);
  yazan.setPageNumber(1);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.listing(),
            "1 0.0 20.0 R Total\n"
            "1 0.0 150.0 R (1,235\n"
            "1 0.0 150.0 L )\n"
            "1 4.1 10.0 RULE 190.0\n"
            "1 4.1 190.0 L  after the rule\n");
  EXPECT_EQ(yazan.x(), 30);
  EXPECT_EQ(yazan.y(), 50);

  screen.clear();
  yazan.setPageNumber(2);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.listing(), "2 0.0 195.0 R Page 2\n");
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(YazanTest, OnePageReportIsNotDrawnTwiceAtItsEnd) {
  beginRun();
  writePage("only page");
  yazan.END();
  EXPECT_EQ(screen.pagesBegun, 1);
  EXPECT_EQ(screen.listing(), "1 0.0 10.0 L only page\n");
  // The page is in the cache all the same.
  EXPECT_EQ(yazan.cache().size(), 4u);
  EXPECT_EQ(yazan.pageNumber(), 1);
}

TEST_F(YazanTest, SeveralPagesShowPageOneAfterTheEnd) {
  beginRun();
  writePage("first");
  writePage("second");
  yazan.END();
  EXPECT_EQ(yazan.pageCount(), 2);
  EXPECT_EQ(screen.pagesBegun, 3);
  EXPECT_EQ(screen.listing(),
            "1 0.0 10.0 L first\n"
            "2 0.0 10.0 L second\n"
            "1 0.0 10.0 L first\n");
}

TEST_F(YazanTest, RightAlignedEmptyTextIsRecordedButNotDrawn) {
  beginRun();
  yazan.SBas();
  yazan.Yazz("", 50, kAlignRight);
  yazan.Yazz(std::string("\0abc", 4), 60, kAlignLeft);
  EXPECT_EQ(screen.listing(), "");
  yazan.flushPageFiles();
  EXPECT_EQ(test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", 1006).code, "Yazz");
  EXPECT_EQ(test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", 1006).b, 50.0f);
  EXPECT_EQ(readBytes(dir / "Kelamlar.dat"), Bytes().text("", 140).text("", 140).bytes());
}

TEST_F(YazanTest, AmountsOfPara) {
  bool negative = false;
  EXPECT_EQ(Yazan::amountText(Currency{}, 1, negative), "-");
  EXPECT_EQ(Yazan::amountText(dollars(0.004), 1, negative), "-");
  EXPECT_EQ(Yazan::amountText(dollars(-1234567.891), 1, negative), "(1,234,567.89");
  EXPECT_TRUE(negative);
  EXPECT_EQ(Yazan::amountText(dollars(-999.5), 2, negative), "(1,000");
  EXPECT_EQ(Yazan::amountText(dollars(1234), 0, negative), "$1,234");
  EXPECT_FALSE(negative);
  EXPECT_EQ(Yazan::amountText(dollars(-12), 0, negative), "($12");
  EXPECT_EQ(Yazan::amountText(dollars(5), 7, negative), "-");

  beginRun();
  yazan.SBas();
  yazan.Para(120, Currency{}, 1);
  yazan.Para(150, dollars(-1234), 2);
  EXPECT_EQ(yazan.x(), 150 + FixedTextMetrics().width(yazan.font(), ")"));
  yazan.Para(180, dollars(1234), 0);
  EXPECT_EQ(yazan.x(), 180);
  EXPECT_EQ(screen.listing(),
            "1 0.0 120.0 R -\n"
            "1 0.0 150.0 R (1,234\n"
            "1 0.0 150.0 L )\n"
            "1 0.0 180.0 R $1,234\n");
}

TEST_F(YazanTest, LineEndPastTheBottomStartsTheNextPageFirst) {
  putSettings([](ReportPrintSettings& s) { s.bottomLimit = 20; });
  int headings = 0;
  yazan.setBeginReportPage([&] {
    yazan.SBas();
    yazan.Yazz("Heading " + std::to_string(++headings), 10, kAlignLeft);
    yazan.Sati();
  });
  beginRun();
  yazan.SBas();
  for (int line = 1; line <= 5; ++line) {
    yazan.Yazz("line " + std::to_string(line), 10, kAlignLeft);
    yazan.Sati();
  }
  yazan.SBit();
  yazan.END();
  // 15 mm is passed on the fourth line end: page 2 begins with its heading,
  // then the fourth line's end is repeated below it.
  std::vector<std::string> codes;
  for (int r = 1005; r <= yazan.commandCounter(); ++r) {
    codes.push_back(test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", r).code);
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"SBas", "Yazz", "Sati", "Yazz", "Sati", "Yazz", "Sati",
                                             "Yazz", "Sati", "SBit", "SBas", "Yazz", "Sati", "Sati",
                                             "Yazz", "Sati", "SBit"}));
  EXPECT_EQ(yazan.pageCount(), 2);
  const auto page2 = test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", 2);
  EXPECT_EQ(page2.a, 1015.0f);
  EXPECT_EQ(page2.b, 1021.0f);

  screen.clear();
  yazan.setPageNumber(2);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.listing(),
            "2 0.0 10.0 L Heading 1\n"
            "2 8.1 10.0 L line 5\n");
}

TEST_F(YazanTest, HeadingTallerThanThePageDoesNotBreakForEver) {
  putSettings([](ReportPrintSettings& s) { s.bottomLimit = 6; });
  yazan.setBeginReportPage([&] {
    yazan.SBas();
    yazan.Sati();
    yazan.Sati();
  });
  beginRun();
  yazan.SBas();
  yazan.Sati();
  yazan.Sati();
  yazan.SBit();
  yazan.END();
  EXPECT_EQ(yazan.pageCount(), 3);
}

TEST_F(YazanTest, ReplayWritesNothingAndKeepsThePageNumber) {
  beginRun();
  writePage("first");
  writePage("second");
  writePage("third");
  yazan.END();
  commands.flush();
  const auto commandBytes = readBytes(dir / "DosyaYaz.dat");
  const auto textBytes = readBytes(dir / "Kelamlar.dat");
  screen.clear();
  yazan.setPageNumber(3);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.listing(), "3 0.0 10.0 L third\n");
  EXPECT_EQ(yazan.pageNumber(), 3);
  EXPECT_EQ(readBytes(dir / "DosyaYaz.dat"), commandBytes);
  EXPECT_EQ(readBytes(dir / "Kelamlar.dat"), textBytes);
}

TEST_F(YazanTest, EveryCommandReplaysAsItWasDrawn) {
  test::writeText(dir / "logo.png", "not really a picture");
  yazan.setPictureResolver([&](std::string_view name) { return dir / std::string(name); });
  putSettings([](ReportPrintSettings& s) {
    s.boxColour = 0x0000FF;
    s.textColour = 0x00FF00;
  });
  beginRun();
  yazan.SBas();
  yazan.OlcM(6);
  yazan.OOri(2);
  yazan.Font("Times New Roman");
  yazan.Olcu(12);
  yazan.Cift();
  yazan.Ital();
  yazan.ULin();
  yazan.STru();
  yazan.Renk(1, 1, 1);
  yazan.XYPo(20, 30);
  yazan.Yazz("styled", 0, Currency{});
  yazan.STrO();
  yazan.ULnO();
  yazan.ItlO();
  yazan.Tek();
  yazan.Renk(-1, -1, 255);
  yazan.Tabu(40);
  yazan.Para(90, dollars(-5.5), 1);
  yazan.Sati();
  yazan.Kaln(2);
  yazan.Ccek(10, 100);
  yazan.KCek(10, 100);
  yazan.Dcek(10, 100);
  yazan.Tabu(15);
  yazan.Ccev(40, 60);
  yazan.DGen(0, 0, 50, 50);
  yazan.Ccei(1, 2, 3, 4, 2);
  yazan.Nokt(5, 6, 1);
  yazan.BFCl(0x123456);
  yazan.BBox(10, 70, 20, 80, 3);
  yazan.BFOf();
  yazan.CBox(30, 70, 40, 80);
  yazan.BFOn();
  yazan.HBox(50, 70, 60, 80);
  yazan.ResC("logo.png", 100, dollars(120), 30, 20);
  EXPECT_EQ(yazan.Nere(1), 6);  // where the point left it
  EXPECT_EQ(yazan.Nere(0), 0);  // the boxes go back to the left edge
  yazan.Sifi();
  yazan.Renk(0, 0, 0);
  yazan.SBit();
  yazan.END();

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
  EXPECT_EQ(screen.lastFont.name, "Times New Roman");
  EXPECT_EQ(screen.lastOrientation, Orientation::Landscape);
  EXPECT_EQ(yazan.bottomLimit(), 185);
  EXPECT_EQ(screen.pictureBytes, 20u);

  // Shown again from the files, page 1 draws the same and ends in the same state.
  screen.clear();
  const PageFont fontAfter = yazan.font();
  yazan.setPageNumber(1);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.listing(), drawn);
  EXPECT_EQ(yazan.font(), fontAfter);
  EXPECT_EQ(screen.lastBoxFill, std::optional<Rgb>(0x123456));
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(YazanTest, EveryPageStartsFromTheSetUpState) {
  beginRun();
  yazan.SBas();
  yazan.Renk(255, 0, 0);
  yazan.Font("Courier New");
  yazan.Cift();
  yazan.Yazz("red", 10, kAlignLeft);
  yazan.SBit();
  yazan.SBas();
  yazan.Yazz("black", 10, kAlignLeft);
  EXPECT_EQ(screen.lastTextColour, kBlack);
  EXPECT_EQ(screen.lastFont.name, "Arial");
  EXPECT_FALSE(screen.lastFont.bold);
  yazan.SBit();
  yazan.END();
  // Page 2 shown after page 1 draws as it was written.
  yazan.setPageNumber(2);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.lastTextColour, kBlack);
  EXPECT_EQ(screen.lastFont.name, "Arial");
}

TEST_F(YazanTest, TextColours) {
  putSettings([](ReportPrintSettings& s) { s.textColour = 0x00AA00; });
  beginRun();
  yazan.SBas();
  const auto colourOf = [&](float r, float g, float b) {
    yazan.Renk(r, g, b);
    yazan.Yazz("x", 10, kAlignLeft);
    return screen.lastTextColour;
  };
  EXPECT_EQ(colourOf(1, 1, 1), 0x00AA00u);
  EXPECT_EQ(colourOf(0, 0, 0), kBlack);
  EXPECT_EQ(colourOf(-1, -1, 0x123456), 0x123456u);
  EXPECT_EQ(colourOf(255, 128, 0), rgb(255, 128, 0));
  EXPECT_EQ(colourOf(300, -5, 7), rgb(255, 0, 7));
}

TEST_F(YazanTest, SettingsDefaults) {
  putSettings([](ReportPrintSettings& s) {
    s.fontSize = 4;
    s.fontNames[3] = "Courier New";
  });
  yazan.setFontSet(2);
  beginRun();
  EXPECT_EQ(yazan.font().size, 10);
  EXPECT_EQ(yazan.font().name, "Courier New");
  EXPECT_EQ(yazan.leftMargin(), 10);
  EXPECT_EQ(yazan.topMargin(), 15);
  EXPECT_EQ(yazan.bottomLimit(), 270);

  putSettings([](ReportPrintSettings& s) {
    s.fontSize = 12;
    s.leftMargin = 20;
    s.topMargin = 25;
    s.bottomLimit = 250;
  });
  yazan.setFontSet(0);
  beginRun();
  EXPECT_EQ(yazan.font().size, 12);
  EXPECT_EQ(yazan.font().name, "Arial");
  EXPECT_EQ(yazan.leftMargin(), 20);
  EXPECT_EQ(yazan.topMargin(), 25);
  EXPECT_EQ(yazan.bottomLimit(), 250);
  EXPECT_EQ(settings.get<ReportPrintSettings>(1).fontNames[1], "Arial");
}

TEST_F(YazanTest, UnknownCodeIsToldAndSkipped) {
  yazan.setDevice(kScreenDevice);
  yazan.workRecord().code = "Xyzw";
  yazan.DispatchCommand();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"can't find Xyzw in OkuYaz module"});
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
    append(file, command("Sati", 0, 0, 0));
  }
  writeBytes(dir / "DosyaYaz.dat", file);
  writeBytes(dir / "Kelamlar.dat", Bytes().text("fine", 140));
  yazan.setDevice(kScreenDevice);

  const auto show = [&](int page) {
    prompter.clear();
    screen.clear();
    yazan.setPageNumber(page);
    yazan.LoadPage(0);
    return prompter.texts();
  };
  EXPECT_EQ(show(1), std::vector<std::string>{
                         "Page 1 of the report is damaged: its commands go past the end of "
                         "DosyaYaz.dat."});
  EXPECT_TRUE(yazan.cache().empty());
  EXPECT_EQ(show(2), (std::vector<std::string>{
                         "Page 2 of the report is damaged: it has more than 3000 commands.",
                         "can't find  in OkuYaz module"}));
  EXPECT_EQ(yazan.cache().size(), 3000u);
  EXPECT_EQ(show(3), std::vector<std::string>{
                         "Page 3 of the report is damaged: text 7 is not in Kelamlar.dat."});
  EXPECT_EQ(screen.listing(), "");
  EXPECT_EQ(show(4), std::vector<std::string>{"can't find  in OkuYaz module"});
  EXPECT_EQ(screen.listing(), "4 0.0 10.0 L fine\n");
  EXPECT_TRUE(show(5).empty());
  EXPECT_TRUE(yazan.cache().empty());
  EXPECT_TRUE(show(6).empty());
  EXPECT_TRUE(yazan.cache().empty());
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

  yazan.setDevice(kScreenDevice);
  yazan.setPageNumber(1);
  yazan.LoadPage(0);
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
  yazan.SBas();
  yazan.ResC("C:\\LUM\\logo.bmp", 100, dollars(120), 30, 20);
  yazan.Yazz("after the picture", 10, kAlignLeft);
  yazan.SBit();
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
  yazan.setDevice(kScreenDevice);
  yazan.setPageNumber(1);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.listing(),
            "1 0.0 32767.0 R $922,337,203,685,478\n"
            "1 -32768.0 0.0 BOX 0.0 32767.0\n"
            "1 2.0 1.0 LINE 4.0 3.0\n");
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(YazanTest, ReportOfMoreThan999PagesKeepsTheFirst999) {
  beginRun();
  for (int page = 1; page <= 1001; ++page) {
    writePage("page " + std::to_string(page));
  }
  yazan.END();
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"The report has more than 999 pages; only the first 999 are "
                                     "kept."});
  EXPECT_EQ(yazan.pageCount(), 999);
  EXPECT_EQ(test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", 1000).code, "END");
  // The first command is still output set-up's, not a header.
  EXPECT_EQ(test::recordOf<PageCommandRecord>(dir / "DosyaYaz.dat", 1001).code, "Olcu");
  EXPECT_EQ(yazan.storedPageCount(), 999);
  screen.clear();
  yazan.setPageNumber(999);
  yazan.LoadPage(0);
  EXPECT_EQ(screen.listing(), "999 0.0 10.0 L page 999\n");
}

class PrintPagesTest : public YazanTest {
 protected:
  void SetUp() override {
    beginRun();
    writePage("first");
    writePage("second");
    writePage("third");
    yazan.END();
    yazan.setPageNumber(2);
    yazan.LoadPage(0);
    screen.clear();
    yazan.setDevice(kPrinterDevice);
    yazan.setNextDevice(kPrinterDevice);
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
  EXPECT_EQ(printer.documentsEnded, 1);
  EXPECT_EQ(yazan.device(), kScreenDevice);
  EXPECT_EQ(yazan.pageNumber(), 2);
  EXPECT_EQ(screen.listing(), "2 0.0 10.0 L second\n");
}

TEST_F(PrintPagesTest, AllPagesAndTheShownPage) {
  yazan.PrintPages([](const PrintOffer&) { return PrintChoice{1, PrintRange::AllPages}; });
  EXPECT_EQ(printer.listing(), "1 0.0 10.0 L first\n2 0.0 10.0 L second\n3 0.0 10.0 L third\n");
  printer.clear();
  yazan.setDevice(kPrinterDevice);
  yazan.PrintPages([](const PrintOffer&) { return PrintChoice{1, PrintRange::Selection}; });
  EXPECT_EQ(printer.listing(), "2 0.0 10.0 L second\n");
}

TEST_F(PrintPagesTest, CancelPrintsNothingAndShowsTheSamePage) {
  yazan.PrintPages([](const PrintOffer&) { return std::nullopt; });
  EXPECT_EQ(printer.listing(), "");
  EXPECT_EQ(printer.documentsEnded, 0);
  EXPECT_EQ(yazan.device(), kScreenDevice);
  EXPECT_EQ(yazan.pageNumber(), 2);
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
  yazan.END();
  yazan.setNextDevice(kPrinterDevice);
  PrintOffer offered;
  yazan.PrintPages([&](const PrintOffer& offer) {
    offered = offer;
    return std::nullopt;
  });
  EXPECT_EQ(offered.minPage, 1);
  EXPECT_EQ(offered.maxPage, 1);
  EXPECT_EQ(offered.fromPage, 1);
  EXPECT_EQ(offered.toPage, 1);
}

}  // namespace
}  // namespace lum
