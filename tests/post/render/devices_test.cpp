// The sample report recorded on the viewer's page and replayed on the
// screen, PDF and text devices.

#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <sstream>

#include "platform/scripted_prompter.h"
#include "post/render/screen_page_device.h"
#include "tests/post/render/sample_report.h"
#include "tests/tools/run_lumctl.h"

namespace lum {
namespace {

// What a command prints.
std::string outputOf(const std::string& command) {
  return test::runCommand(command).second;
}

// Pixels of a part of the page (millimetres) that are not white.
int inkIn(const QImage& image, double pixelsPerMm, QRectF millimetres) {
  const QRect area(QPoint(static_cast<int>(millimetres.left() * pixelsPerMm),
                          static_cast<int>(millimetres.top() * pixelsPerMm)),
                   QPoint(static_cast<int>(millimetres.right() * pixelsPerMm),
                          static_cast<int>(millimetres.bottom() * pixelsPerMm)));
  int ink = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) {
        ++ink;
      }
    }
  }
  return ink;
}

class SampleReportTest : public ::testing::Test {
 protected:
  static constexpr double kPixelsPerMm = 4;

  SampleReportTest()
      : commands(ops, dir / "DosyaYaz.dat", PageCommandRecord::kSize),
        texts(ops, dir / "Kelamlar.dat", PageTextRecord::kSize),
        screen(kPixelsPerMm),
        yazan(ops, prompter) {
    test::writeSamplePicture(dir / "logo.png");
    yazan.attachFiles(&commands, &texts);
    yazan.setScreen(&screen);
    yazan.setPictureResolver([this](std::string_view name) { return dir / std::string(name); });
    test::writeSampleReport(yazan);
    commands.flush();
    texts.flush();
  }

  test::LumctlOutcome render(const std::string& format, const std::string& out,
                             const std::string& pages = {}) {
    std::vector<std::string> args = {"--root",
                                     dir.path().string(),
                                     "render",
                                     "--commands",
                                     (dir / "DosyaYaz.dat").string(),
                                     "--texts",
                                     (dir / "Kelamlar.dat").string(),
                                     "--format",
                                     format,
                                     "--out",
                                     out};
    if (!pages.empty()) {
      args.insert(args.end(), {"--pages", pages});
    }
    return test::lumctl(args);
  }

  test::TempDir dir;
  FileOps ops;
  ScriptedPrompter prompter;
  RecordFile commands;
  RecordFile texts;
  ScreenPageDevice screen;
  Yazan yazan;
};

TEST_F(SampleReportTest, RecordsFivePagesAndShowsEachOnTheScreen) {
  EXPECT_EQ(yazan.pageCount(), test::kSamplePages);
  EXPECT_EQ(yazan.storedPageCount(), test::kSamplePages);
  EXPECT_TRUE(prompter.texts().empty());

  yazan.setPageNumber(1);
  yazan.LoadPage();
  const QImage first = screen.image();
  EXPECT_EQ(first.width(), 840);  // 210 mm
  EXPECT_EQ(first.height(), 1188);
  // The picture of "ResC": red in its rectangle.
  EXPECT_EQ(QColor(first.pixel(660, 360)).red(), 200);
  EXPECT_GT(inkIn(first, kPixelsPerMm, QRectF(10, 15, 100, 5)), 200);  // the title

  yazan.setPageNumber(4);
  yazan.LoadPage();
  EXPECT_EQ(screen.image().width(), 1188);  // landscape
  EXPECT_GT(inkIn(screen.image(), kPixelsPerMm, QRectF(230, 15, 40, 25)), 50);

  // Shown again, page 1 is the same picture.
  yazan.setPageNumber(1);
  yazan.LoadPage();
  EXPECT_EQ(screen.image(), first);
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(SampleReportTest, TextListingPlacesEveryItem) {
  const auto outcome = render("text", "-");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string& listing = outcome.out;
  std::istringstream lines(listing);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) {
    all.push_back(line);
  }
  const auto has = [&](const std::string& wanted) {
    return std::find(all.begin(), all.end(), wanted) != all.end();
  };
  // How each kind of item is listed is the page replay's tests'; here, that
  // the sample's items reach the listing where the report put them.
  EXPECT_TRUE(has("1 60.0 10.0 BOX 70.0 60.0")) << listing;
  EXPECT_TRUE(has("1 80.0 150.0 PICTURE 100.0 180.0 logo.png"));
  EXPECT_TRUE(has("1 110.0 10.0 L Position 110"));
  EXPECT_TRUE(has("5 15.0 195.0 R Page 5"));
  // The ledger goes on on page 3 below its heading.
  const auto page3 = std::find_if(all.begin(), all.end(),
                                  [](const std::string& l) { return l.rfind("3 ", 0) == 0; });
  ASSERT_NE(page3, all.end());
  EXPECT_EQ(*page3, "3 15.0 10.0 L Sample Trading Pty Ltd");
  EXPECT_EQ(*(page3 + 1), "3 15.0 195.0 R Page 3");
  EXPECT_NE((page3 + 3)->find(" L Ledger line "), std::string::npos) << *(page3 + 3);
  // Amounts stand right at x; a negative one's ")" left at x.
  bool sawNegative = false;
  for (std::size_t i = 0; i + 1 < all.size(); ++i) {
    if (all[i].find(" 160.0 R (2,500") != std::string::npos) {
      EXPECT_NE(all[i + 1].find(" 160.0 L )"), std::string::npos);
      sawNegative = true;
    }
  }
  EXPECT_TRUE(sawNegative) << listing;
  EXPECT_TRUE(outcome.err.empty()) << outcome.err;

  // A range of pages lists those only.
  const auto two = render("text", "-", "2-3");
  ASSERT_EQ(two.status, 0);
  EXPECT_EQ(two.out.rfind("2 ", 0), 0u);
  EXPECT_EQ(two.out.find("\n1 "), std::string::npos);
  EXPECT_EQ(two.out.find("\n4 "), std::string::npos);
  EXPECT_EQ(render("text", "-", "4-9").status, 1);
}

TEST_F(SampleReportTest, RenderReadsTheWorkAreasPageFilesByDefault) {
  const auto area = dir / "Ent-2" / "Op-3";
  std::filesystem::create_directories(area);
  std::filesystem::copy_file(dir / "DosyaYaz.dat", area / "DosyaYaz.dat");
  std::filesystem::copy_file(dir / "Kelamlar.dat", area / "Kelamlar.dat");
  std::filesystem::copy_file(dir / "logo.png", area / "logo.png");
  const auto listing =
      test::lumctl({"--root", dir.path().string(), "--group", "2", "--operator", "3", "render",
                    "--format", "text", "--pages", "5", "--out", (dir / "page5.txt").string()});
  ASSERT_EQ(listing.status, 0) << listing.err;
  const auto bytes = test::readBytes(dir / "page5.txt");
  const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  EXPECT_EQ(text.rfind("5 15.0 10.0 L Sample Trading Pty Ltd\n", 0), 0u) << text;
  EXPECT_NE(text.find(" L End of report\n"), std::string::npos) << text;

  // Another operator has no report: told, nothing written.
  const auto none = test::lumctl({"--root", dir.path().string(), "--operator", "4", "render",
                                  "--format", "text", "--out", "-"});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("DosyaYaz.dat"), std::string::npos) << none.err;
}

TEST_F(SampleReportTest, PdfHasEveryPageWithItsTexts) {
  const std::string pdf = (dir / "sample.pdf").string();
  const auto outcome = render("pdf", pdf);
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string info = outputOf("pdfinfo '" + pdf + "'");
  EXPECT_NE(info.find("Pages:           5"), std::string::npos) << info;
  const std::string sizes = outputOf("pdfinfo -f 1 -l 5 '" + pdf + "'");
  EXPECT_NE(sizes.find("Page    1 size:  595 x 842 pts (A4)"), std::string::npos) << sizes;
  EXPECT_NE(sizes.find("Page    4 size:  842 x 595 pts (A4)"), std::string::npos) << sizes;

  const std::string text = outputOf("pdftotext -layout -f 1 -l 1 '" + pdf + "' -");
  for (const char* wanted : {"Sample Trading Pty Ltd", "Page 1", "1,234,567.89", "(2,500)", "$-",
                             "Sales and more sales", "$99", "Boxed", "Position 110"}) {
    EXPECT_NE(text.find(wanted), std::string::npos) << wanted << "\n" << text;
  }
  // Texts in place: the page number ends at the right edge, on the title's line.
  const std::string title = outputOf("pdftotext -layout -f 1 -l 1 '" + pdf + "' - | head -3");
  EXPECT_NE(title.find("Sample Trading Pty Ltd"), std::string::npos);
  const std::string bbox = outputOf("pdftotext -bbox -f 3 -l 3 '" + pdf + "' -");
  EXPECT_NE(bbox.find(">Ledger<"), std::string::npos);
  const std::string last = outputOf("pdftotext -layout -f 3 -l 3 '" + pdf + "' -");
  EXPECT_NE(last.find("Total"), std::string::npos) << last;
  EXPECT_NE(last.find("24,874.85"), std::string::npos) << last;
}

}  // namespace
}  // namespace lum
