#include "post/render/report_pages.h"

#include <gtest/gtest.h>

#include "tests/post/login/session_fixture.h"
#include "tests/post/render/render_fixture.h"

namespace lum {
namespace {

class ReportPagesTest : public ::testing::Test {
 protected:
  ReportPagesTest() {
    std::filesystem::create_directories(parts.area());
    parts.session.login.dataDirectory = ".\\Ent-1\\Op-1";
    parts.session.login.workArea = ".\\Ent-1\\Op-1";
    parts.session.open("RepPar");
  }

  test::SessionParts parts;
  test::ListingDevice screen;
};

TEST_F(ReportPagesTest, RunWritesTheWorkAreasPageFilesAndShowsThemAgain) {
  {
    ReportPages pages(parts.session, screen);
    const PageWriter page = pages.writer();
    pages.beginRun([page] {
      page.beginPage();
      page.text(10, "Heading", Align::Left);
      page.newLine();
    });
    page.beginPage();
    page.text(10, "First page", Align::Left);
    page.newLine();
    page.endPage();
    page.beginPage();
    page.text(10, "Second page", Align::Left);
    page.newLine();
    page.endPage();
    pages.finishRun();
    EXPECT_EQ(pages.yazan().pageCount(), 2);
  }
  const auto commands = test::readBytes(parts.area() / "DosyaYaz.dat");
  EXPECT_EQ(commands.size(), 1012 * PageCommandRecord::kSize);
  EXPECT_EQ(test::readBytes(parts.area() / "Kelamlar.dat").size(), 2 * PageTextRecord::kSize);
  // The report font went into the operator's print settings.
  EXPECT_EQ(parts.session.file("RepPar").get<ReportPrintSettings>(1).fontNames[1], "Arial");

  // Later (the viewer opened on its own) the stored report comes back.
  parts.session.registry().close("DosyaYaz");
  parts.session.registry().close("Kelam");
  screen.clear();
  ReportPages again(parts.session, screen);
  again.showStored();
  EXPECT_EQ(again.yazan().pageCount(), 2);
  EXPECT_EQ(screen.listing(), "1 0.0 10.0 L First page\n");
  EXPECT_EQ(test::readBytes(parts.area() / "DosyaYaz.dat"), commands);
  EXPECT_TRUE(parts.prompter.texts().empty());
}

// A run cut short mid-page, then its files closed with the viewer: the next
// run writes its pages whole, and nothing of the broken one.
TEST_F(ReportPagesTest, ANewRunAfterTheViewerClosedOnABrokenOne) {
  ReportPages pages(parts.session, screen);
  const PageWriter page = pages.writer();
  pages.beginRun([] {});
  page.beginPage();
  page.text(10, "Cut short", Align::Left);  // the report failed here
  parts.session.registry().close("DosyaYaz");
  parts.session.registry().close("Kelam");
  pages.filesClosed();

  pages.beginRun([] {});
  page.beginPage();
  page.text(10, "Whole", Align::Left);
  page.newLine();
  page.endPage();
  pages.finishRun();
  EXPECT_EQ(pages.yazan().pageCount(), 1);
  screen.clear();
  ReportPages again(parts.session, screen);
  again.showStored();
  EXPECT_EQ(screen.listing(), "1 0.0 10.0 L Whole\n");
  EXPECT_TRUE(parts.prompter.texts().empty());
}

}  // namespace
}  // namespace lum
