// The report viewer and the font chooser, driven as a person would.

#include "post/render/rep_disp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "platform/scripted_prompter.h"
#include "platform/text.h"
#include "post/login/login_records.h"
#include "post/render/font_dialog.h"
#include "post/render/printer_page_device.h"
#include "post/render/ruler_window.h"
#include "tests/post/render/sample_report.h"

namespace lum {
namespace {

class RepDispTest : public ::testing::Test {
 protected:
  RepDispTest()
      : commands(ops, dir / "DosyaYaz.dat", PageCommandRecord::kSize),
        texts(ops, dir / "Kelamlar.dat", PageTextRecord::kSize),
        yazan(ops, prompter) {
    test::writeSamplePicture(dir / "logo.png");
    yazan.attachFiles(&commands, &texts);
    yazan.setScreen(&screen);
    yazan.setPictureResolver([this](std::string_view name) { return dir / std::string(name); });
  }

  RepDisp& viewer(ReportViewer::Actions actions = {}) {
    mViewer = std::make_unique<RepDisp>(yazan, screen, ops, prompter, std::move(actions));
    mViewer->reportReady();
    mViewer->show();
    return *mViewer;
  }
  void click(const char* name) {
    auto* button = mViewer->findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
  QScrollBar* slider() { return mViewer->findChild<QScrollBar*>("HScroll2"); }

  test::TempDir dir;
  FileOps ops;
  ScriptedPrompter prompter;
  RecordFile commands;
  RecordFile texts;
  ScreenPageDevice screen;
  Yazan yazan;
  std::unique_ptr<RepDisp> mViewer;
};

TEST_F(RepDispTest, PagesWrapAroundAndFollowTheSlider) {
  test::writeSampleReport(yazan);
  RepDisp& window = viewer();
  EXPECT_EQ(yazan.pageNumber(), 1);
  EXPECT_EQ(slider()->maximum(), test::kSamplePages);
  click("Command4");
  EXPECT_EQ(yazan.pageNumber(), 5);  // previous from page 1: the last
  click("Command5");
  EXPECT_EQ(yazan.pageNumber(), 1);  // next from the last: page 1
  click("Command3");
  EXPECT_EQ(yazan.pageNumber(), 5);
  click("Command2");
  EXPECT_EQ(yazan.pageNumber(), 1);
  slider()->setValue(4);
  EXPECT_EQ(yazan.pageNumber(), 4);
  EXPECT_EQ(window.findChild<QWidget*>("Picture1")->width(), 1123);  // landscape
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.setFocus();
  QTest::keyClick(&window, Qt::Key_PageDown);
  EXPECT_EQ(yazan.pageNumber(), 5);
  EXPECT_EQ(slider()->value(), 5);
  QTest::keyClick(&window, Qt::Key_Home);
  EXPECT_EQ(yazan.pageNumber(), 1);

  // The scroll bars move the page inside its frame; a new page shows from its top.
  auto* vertical = window.findChild<QScrollBar*>("VScroll1");
  auto* picture = window.findChild<QWidget*>("Picture1");
  auto* frame = window.findChild<QWidget*>("Frame1");
  EXPECT_EQ(vertical->maximum(), picture->height() - frame->height());
  vertical->setValue(100);
  EXPECT_EQ(picture->y(), -100);
  click("Command5");
  EXPECT_EQ(vertical->value(), 0);
  EXPECT_EQ(picture->y(), 0);
  EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(RepDispTest, SliderDoesNothingForOnePage) {
  yazan.setNextDevice(OutputDevice::Recording);
  yazan.BeginOutput();
  const PageWriter page(yazan);
  page.beginPage();
  page.text(10, "alone", Align::Left);
  page.endPage();
  page.endReport();
  viewer();
  int shown = 0;
  yazan.setPageShown([&] { ++shown; });
  mViewer->view().slide(1);
  slider()->setValue(2);
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(yazan.pageNumber(), 1);
}

TEST_F(RepDispTest, ClosingTheViewerClosesTheRuler) {
  test::writeSampleReport(yazan);
  RepDisp& window = viewer();
  click("Command1");
  ASSERT_NE(window.ruler(), nullptr);
  EXPECT_TRUE(window.ruler()->isVisible());
  EXPECT_TRUE(window.view().rulerOpen());
  click("Command1");
  EXPECT_FALSE(window.ruler()->isVisible());
  EXPECT_FALSE(window.view().rulerOpen());
  click("Command1");
  window.close();
  EXPECT_FALSE(window.ruler()->isVisible());
  EXPECT_FALSE(window.view().rulerOpen());
}

TEST_F(RepDispTest, SamePageAfterACancelledPrint) {
  test::writeSampleReport(yazan);
  RepDisp& window = viewer();
  click("Command3");
  click("Command4");
  const QImage before = screen.image();
  window.setPrinterAvailable([] { return true; });
  PrintOffer offered;
  window.setPrintDialogue([&](const PrintOffer& offer) -> std::optional<PrintChoice> {
    offered = offer;
    return std::nullopt;
  });
  click("Command8");
  EXPECT_EQ(offered.maxPage, 5);
  EXPECT_EQ(yazan.pageNumber(), 4);
  EXPECT_EQ(yazan.device(), OutputDevice::Screen);
  EXPECT_EQ(screen.image(), before);
}

TEST_F(RepDispTest, ArchivesModePrintGoesBackAndRerunAsks) {
  test::writeSampleReport(yazan);
  int backs = 0;
  int reruns = 0;
  RepDisp& window = viewer({[&] { ++reruns; }, {}, [&] { ++backs; }, {}, {}, {}, {}, {}, {}});
  window.view().setMode("Archives");
  window.setPrintDialogue([](const PrintOffer&) -> std::optional<PrintChoice> {
    ADD_FAILURE() << "no printing in Archives mode";
    return std::nullopt;
  });
  click("Command8");
  click("Command6");
  EXPECT_EQ(backs, 1);
  EXPECT_EQ(reruns, 1);
}

// A PDF file's page count, from its page objects.
int pdfPages(const std::vector<std::byte>& bytes) {
  const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  int pages = 0;
  for (std::size_t at = text.find("/Type /Page"); at != std::string::npos;
       at = text.find("/Type /Page", at + 1)) {
    pages += text.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
  }
  return pages;
}

// A report made of documents (statements here) saves the one on view, on
// its own pages, under the name it offers.
TEST_F(RepDispTest, PdfButtonSavesTheDocumentOnViewUnderItsName) {
  test::writeSampleReport(yazan);
  ReportViewer::Actions actions;
  actions.documentAt = [](int page) -> std::optional<ReportDocument> {
    if (page < 2) {
      return ReportDocument{1, 1, "Statement Jones"};
    }
    return ReportDocument{2, 3, "Statement Smith/Sons: Plumbing"};
  };
  RepDisp& window = viewer(std::move(actions));
  click("Command5");
  QString offered;
  const std::string pdf = (dir / "statement.pdf").string();
  window.setPdfFileChooser([&](const QString& name) {
    offered = name;
    return QString::fromStdString(pdf);
  });
  click("Command9");
  EXPECT_EQ(offered.toStdString(), "Statement Smith-Sons- Plumbing.pdf");
  EXPECT_EQ(pdfPages(test::readBytes(pdf)), 2);

  click("Command2");
  click("Command9");
  EXPECT_EQ(offered.toStdString(), "Statement Jones.pdf");
  EXPECT_EQ(pdfPages(test::readBytes(pdf)), 1);

  // A report that is no document offers no name and saves every page.
  RepDisp& whole = viewer();
  whole.setPdfFileChooser([&](const QString& name) {
    offered = name;
    return QString::fromStdString(pdf);
  });
  click("Command9");
  EXPECT_TRUE(offered.isEmpty());
  EXPECT_EQ(pdfPages(test::readBytes(pdf)), test::kSamplePages);
}

// Without a printer Print says so and offers the PDF file instead: No
// leaves it there, Yes saves the report as the PDF button does.
TEST_F(RepDispTest, PrintWithoutAPrinterOffersThePdfFile) {
  test::writeSampleReport(yazan);
  RepDisp& window = viewer();
  click("Command3");
  window.setPrinterAvailable([] { return false; });
  window.setPrintDialogue([](const PrintOffer&) -> std::optional<PrintChoice> {
    ADD_FAILURE() << "no printer dialog without a printer";
    return std::nullopt;
  });
  const std::string pdf = (dir / "instead.pdf").string();
  window.setPdfFileChooser([&](const QString&) { return QString::fromStdString(pdf); });
  const std::string question =
      "No printer is available. The PDF button saves the report as a PDF file. Save it as a "
      "PDF file now?";

  prompter.then(Answer::No);
  click("Command8");
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{question});
  EXPECT_FALSE(std::filesystem::exists(pdf));

  prompter.then(Answer::Yes);
  click("Command8");
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{question, question}));
  EXPECT_EQ(prompter.exchanges().back().prompt.buttons, Buttons::YesNo);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(test::readBytes(pdf).size() > 1000, true);
  EXPECT_EQ(yazan.pageNumber(), 5);  // the page shown stays
  EXPECT_EQ(yazan.device(), OutputDevice::Screen);
}

// The smallest rectangle holding every pixel of the picture that is not white.
QRect inked(const QImage& image) {
  QRect ink;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(line[x]) < 200) {
        ink |= QRect(x, y, 1, 1);
      }
    }
  }
  return ink;
}

// Fit page and fit width draw the page afresh to the frame's size, and the
// choice holds while the pages turn, portrait or landscape; 100 % is the
// page's own size. The buttons and Ctrl+0, Ctrl+1, Ctrl+2 choose.
TEST_F(RepDispTest, ZoomFitsThePageAndHoldsWhilePagesTurn) {
  test::writeSampleReport(yazan);
  RepDisp& window = viewer();
  QApplication::processEvents();
  auto* picture = window.findChild<QWidget*>("Picture1");
  auto* frame = window.findChild<QWidget*>("Frame1");
  auto* label = window.findChild<QLabel*>("PageLabel");
  EXPECT_EQ(picture->width(), 794);  // A4 at 96 dots an inch
  EXPECT_EQ(label->text(), "Page 1 of 5");
  const QRect actualInk = inked(screen.image());
  ASSERT_GT(actualInk.width(), 500);
  ASSERT_GT(actualInk.height(), 200);
  // LUM_SCREENSHOT names a file for a picture of the viewer as it opens
  // (docs/report-viewer.png is made so).
  if (const char* shot = std::getenv("LUM_SCREENSHOT")) {
    window.resize(1000, 900);
    QApplication::processEvents();
    window.grab().save(shot);
  }

  // Within the frame with 8 pixels to spare on the tighter side, centred.
  const auto fitsPage = [&] {
    const QSize room = frame->size() - QSize(16, 16);
    return picture->width() <= room.width() && picture->height() <= room.height() &&
           (std::abs(picture->width() - room.width()) <= 1 ||
            std::abs(picture->height() - room.height()) <= 1) &&
           picture->x() == (frame->width() - picture->width()) / 2;
  };
  click("ZoomFitPage");
  EXPECT_EQ(window.view().zoom(), Zoom::FitPage);
  EXPECT_TRUE(fitsPage()) << picture->width() << "x" << picture->height();
  // The whole page, drawn smaller: nothing cut, nothing moved.
  const double scale = picture->width() / 794.0;
  const QRect fittedInk = inked(screen.image());
  EXPECT_NEAR(fittedInk.left(), actualInk.left() * scale, 3);
  EXPECT_NEAR(fittedInk.right(), actualInk.right() * scale, 3);
  EXPECT_NEAR(fittedInk.bottom(), actualInk.bottom() * scale, 3);

  click("Command5");
  EXPECT_EQ(label->text(), "Page 2 of 5");
  EXPECT_EQ(window.view().zoom(), Zoom::FitPage);
  EXPECT_TRUE(fitsPage());
  slider()->setValue(4);  // landscape
  EXPECT_GT(picture->width(), picture->height());
  EXPECT_TRUE(fitsPage());
  EXPECT_EQ(label->text(), "Page 4 of 5");

  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.setFocus();
  QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(window.view().zoom(), Zoom::FitWidth);
  EXPECT_TRUE(window.findChild<QPushButton*>("ZoomFitWidth")->isChecked());
  EXPECT_NEAR(picture->width(), frame->width() - 16, 1);
  QTest::keyClick(&window, Qt::Key_PageDown);
  EXPECT_EQ(label->text(), "Page 5 of 5");
  EXPECT_NEAR(picture->width(), frame->width() - 16, 1);
  // Wider than the frame's height: the page scrolls, from its top.
  auto* vertical = window.findChild<QScrollBar*>("VScroll1");
  EXPECT_EQ(vertical->maximum(), picture->height() - frame->height());
  EXPECT_EQ(picture->y(), 0);

  QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
  EXPECT_TRUE(fitsPage());
  QTest::keyClick(&window, Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(window.view().zoom(), Zoom::Actual);
  EXPECT_EQ(picture->width(), 794);
  EXPECT_TRUE(window.findChild<QPushButton*>("ZoomActual")->isChecked());
  EXPECT_TRUE(prompter.texts().empty());
}

// The title a PDF file carries, as pdfinfo reads it.
std::string pdfTitle(const std::filesystem::path& file) {
  const std::string info = test::runCommand("pdfinfo '" + file.string() + "'").second;
  const std::size_t at = info.find("Title:");
  if (at == std::string::npos) {
    return {};
  }
  const std::size_t end = info.find('\n', at);
  return std::string(trim(info.substr(at + 6, end - at - 6)));
}

// A report the run named is offered as a PDF under the entity's name, the
// report's and the period's, and the file carries the report's title; the
// status line then says what was saved. An archived report is not named.
TEST_F(RepDispTest, ThePdfIsOfferedUnderTheReportsNameAndTitled) {
  test::writeSampleReport(yazan);
  ReportViewer::Actions actions;
  actions.reportName = [] { return ReportName{"Demo Plumbing", "GST Report", "March 2026"}; };
  std::vector<std::string> status;
  actions.status = [&](const std::string& text) { status.push_back(text); };
  RepDisp& window = viewer(std::move(actions));
  QString offered;
  window.setPdfFileChooser([&](const QString& name) {
    offered = name;
    return QString::fromStdString((dir / "chosen").string());  // ".pdf" is added
  });
  click("Command9");
  EXPECT_EQ(offered.toStdString(), "Demo Plumbing GST Report March 2026.pdf");
  const auto file = dir / "chosen.pdf";
  EXPECT_EQ(pdfTitle(file), "GST Report");
  EXPECT_EQ(status,
            std::vector<std::string>{"Saved chosen.pdf (5 pages) in " + dir.path().string()});

  window.view().setMode("Archives");
  click("Command9");
  EXPECT_TRUE(offered.isEmpty());
  EXPECT_EQ(pdfTitle(file), "Report");
  EXPECT_EQ(status.size(), 2u);
  EXPECT_TRUE(prompter.texts().empty());
}

TEST(PdfFileName, KeepsToWhatEveryFileSystemTakes) {
  EXPECT_EQ(pdfFileName("A/B Traders: Pty Ltd."), "A-B Traders- Pty Ltd.pdf");
  EXPECT_EQ(pdfFileName("..hidden"), "hidden.pdf");
  EXPECT_EQ(pdfFileName("tab\there*?<>|\x7f"), "tab-here------.pdf");
  EXPECT_EQ(pdfFileName(" . "), "Report.pdf");
  EXPECT_EQ(pdfFileName(std::string(300, 'x')), std::string(120, 'x') + ".pdf");
  // Cut between characters, never inside one.
  std::string accents;
  for (int i = 0; i < 200; ++i) {
    accents += "\u00e9";
  }
  const std::string cut = pdfFileName(accents);
  EXPECT_EQ(cut.size(), 240u + 4u);
  EXPECT_EQ(QString::fromUtf8(cut.data(), static_cast<qsizetype>(cut.size())).toStdString(), cut);
}

TEST_F(RepDispTest, FontChooserBuildsItsListOnce) {
  RecordFile fontFile(ops, dir / "FontList.ini", FontNameRecord::kSize);
  fontFile.put(1, FontNameRecord{"Arial"});
  FontList list(fontFile);
  std::string applied;
  FontDialog dialog(list, [&](const std::string& name) { applied = name; });
  dialog.prepare({"Arial", "Tahoma", "Zapf", ""}, {"Tahoma", "Arial", ""});
  auto* fonts = dialog.findChild<QListWidget*>("lstMatchFonts");
  ASSERT_EQ(fonts->count(), 3);
  EXPECT_EQ(fonts->item(0)->text(), "Arial");  // the choice first
  EXPECT_EQ(fonts->item(1)->text(), "Arial");
  EXPECT_EQ(fonts->item(2)->text(), "Tahoma");
  // Opened again, the list stands as built.
  dialog.prepare({"Other"}, {"Other"});
  EXPECT_EQ(fonts->count(), 3);

  fonts->setCurrentRow(2);
  QTest::mouseClick(dialog.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
  EXPECT_EQ(list.chosen(), "Arial");
  dialog.prepare();
  fonts->setCurrentRow(2);
  QTest::mouseClick(dialog.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  EXPECT_EQ(list.chosen(), "Tahoma");
  EXPECT_EQ(applied, "Tahoma");
}

// Printing on a printer that writes a PDF file: the chosen range, each page
// on its own sheet, the landscape page turned.
TEST_F(RepDispTest, PrinterPrintsTheChosenPages) {
  test::writeSampleReport(yazan);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const std::string file = (dir / "printed.pdf").string();
  printer.setOutputFileName(QString::fromStdString(file));
  PrinterPageDevice device(printer);
  yazan.setPrinter(&device);
  yazan.setNextDevice(OutputDevice::Printer);
  yazan.setPageNumber(2);
  yazan.PrintPages([](const PrintOffer&) { return PrintChoice{1, PrintRange::Pages, 3, 4}; });
  EXPECT_EQ(device.sheets(), 2);
  EXPECT_EQ(yazan.pageNumber(), 2);
  EXPECT_EQ(yazan.device(), OutputDevice::Screen);
  const std::string info = test::runCommand("pdfinfo -f 1 -l 2 '" + file + "'").second;
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("Page    2 size:  842 x 595 pts (A4)"), std::string::npos) << info;
}

}  // namespace
}  // namespace lum
