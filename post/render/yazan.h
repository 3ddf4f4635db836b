#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/currency.h"
#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "platform/record_file.h"
#include "post/login/login_records.h"
#include "post/render/page_commands.h"
#include "post/render/page_device.h"
#include "post/render/page_files.h"
#include "post/render/page_values.h"

namespace lum {

// The printer dialog: what it offers, and what the user chose.
struct PrintOffer {
  int minPage = 1;
  int maxPage = 1;
  int fromPage = 1;
  int toPage = 1;
};
enum class PrintRange { AllPages, Selection, Pages };
struct PrintChoice {
  int copies = 1;
  PrintRange range = PrintRange::AllPages;
  int fromPage = 1;
  int toPage = 1;
};
// Shows the dialog; nothing when the user cancels.
using PrintDialogue = std::function<std::optional<PrintChoice>(const PrintOffer&)>;

// The page commands of the reports, the page files they record and the
// interpreter that draws stored pages again.
//
// On the Recording device every command draws on the screen device and is
// appended to the page files; Screen draws stored pages on the screen
// device, Printer on the printer device. Reports write through PageWriter
// (post/render/page_writer.h), whose names say what each command does; the
// procedures below bear the codes the commands are stored under, and the
// table of post/render/page_commands.h replays stored pages through them.
class Yazan {
 public:
  // What LoadPage does with the page: draws it, or only loads it (it is on
  // the screen already).
  enum class Load { Draw, AlreadyShown };

  Yazan(FileOps& ops, Prompter& prompter);

  // The viewer's page and the printer; either may be missing.
  void setScreen(PageDevice* device) { mScreen = device; }
  void setPrinter(PageDevice* device) { mPrinter = device; }
  // DosyaYaz.dat and Kelamlar.dat, open; the report print settings file
  // (RepPar), or nothing for the defaults.
  void attachFiles(RecordFile* commands, RecordFile* texts) { mFiles.attach(commands, texts); }
  void attachSettings(RecordFile* settings) { mSettingsFile = settings; }
  // The page files and the settings were closed under the commands (the
  // viewer closed): forgets them, with what a run cut short held for them.
  void detachFiles();
  // Where the picture files of pictures are found, from the names they carry.
  void setPictureResolver(std::function<std::filesystem::path(std::string_view)> resolver) {
    mPictureResolver = std::move(resolver);
  }
  // The report's page start (its page begin and heading), run by the
  // automatic page break; without one the break begins a bare page.
  void setBeginReportPage(std::function<void()> hook) { mBeginReportPage = std::move(hook); }
  // Told after a stored page has been drawn, and after the page was cleared.
  void setPageShown(std::function<void()> hook) { mPageShown = std::move(hook); }

  OutputDevice device() const { return mDevice; }
  void setDevice(OutputDevice device) { mDevice = device; }
  // The device of the next output set-up.
  void setNextDevice(OutputDevice device) { mNextDevice = device; }
  int pageNumber() const { return mPageNumber; }
  void setPageNumber(int page) { mPageNumber = page; }
  int pageCount() const { return mPageCount; }
  void setPageCount(int count) { mPageCount = count; }
  // Which of the print settings' fonts reports are written in, from 1.
  void setFontSet(int fontSet) { mFontSet = fontSet; }

  // The pages of the report in the page files.
  int storedPageCount() const { return mFiles.storedPageCount(); }
  // The margins of the print settings, in millimetres, for the reports.
  double leftMargin() const { return mLeftMargin; }
  double topMargin() const { return mTopMargin; }

  // Output set-up: device, font, counters, margins, size and bold.
  void BeginOutput();
  // Prints stored pages through the printer dialog, then shows the page
  // that was on the screen again.
  void PrintPages(const PrintDialogue& dialogue);
  // Draws stored pages first to last on another device (a PDF file), as
  // printing does, then shows the page that was on the screen again.
  // progress(done, total) is told after each page.
  void ReplayPages(PageDevice& device, int first, int last,
                   const std::function<void(int, int)>& progress = {});
  // Loads the current page (the page number) from the page files and,
  // unless it is already shown, draws it on the current device.
  void LoadPage(Load load = Load::Draw);

  // The procedures of the stored commands, one per code.
  void SBas();
  void SBit();
  void END();
  void SSet();
  void Sifi();
  void XYPo(int x, int y);
  void Tabu(int x);
  void Yazz(std::string_view text, int x, Align alignment);
  void Para(int x, Currency amount, AmountStyle style);
  void Sati();
  void Font(std::string_view name);
  void Olcu(int size);
  void Cift();
  void Tek();
  void Ital();
  void ItlO();
  void ULin();
  void ULnO();
  void STru();
  void STrO();
  void Renk(float red, float green, float blue);
  void Kaln(int width);
  void KCek(int x1, int x2);
  void Ccek(int x1, int x2);
  void Dcek(int x1, int x2);
  void Ccev(int y1, int y2);
  void DGen(int x1, int y1, int x2, int y2);
  void Ccei(int x1, int y1, int x2, int y2, ReportColour colour);
  void Nokt(int x, int y, ReportColour colour);
  void BBox(int x1, int y1, int x2, int y2, ReportColour colour);
  void CBox(int x1, int y1, int x2, int y2);
  void HBox(int x1, int y1, int x2, int y2);
  void BFOn();
  void BFOf();
  void BFCl(Rgb colour);
  void ResC(std::string_view fileName, int x, Currency y, int width, int height);
  void OlcM(ScaleMode mode);
  void OOri(Orientation orientation);
  int Nere(Axis axis);

 private:
  PageDevice* target() const;
  bool recording() const { return mDevice == OutputDevice::Recording; }
  bool storing() const { return recording() && mFiles.attached() && !mTooManyPages; }
  template <class... Args>
  void record(PageCommand command, const Args&... arguments) {
    if (storing()) {
      mFiles.record(command, arguments...);
    }
  }
  const TextMetrics& metrics() const;
  double textWidth(std::string_view text) const;
  void applyFont();
  void setStyle(bool PageFont::*style, bool on, PageCommand command);
  // Text colour, line width and box fill as output set-up leaves them.
  void resetDrawing();
  void box(int x1, int y1, int x2, int y2, Rgb colour);
  std::vector<std::byte> pictureBytes(const std::filesystem::path& path) const;
  void printRange(int first, int last, const std::function<void(int, int)>& progress);
  void drawStoredPage(const StoredPage& page);
  void tell(const std::string& text);
  ReportPrintSettings readSettings() const;

  FileOps* mOps;
  Prompter* mPrompter;
  PageDevice* mScreen = nullptr;
  PageDevice* mPrinter = nullptr;
  PageFiles mFiles;
  RecordFile* mSettingsFile = nullptr;
  std::function<std::filesystem::path(std::string_view)> mPictureResolver;
  std::function<void()> mBeginReportPage;
  std::function<void()> mPageShown;
  FixedTextMetrics mFallbackMetrics;

  OutputDevice mDevice = OutputDevice::Screen;
  OutputDevice mNextDevice = OutputDevice::Recording;
  int mFontSet = 1;
  int mPageNumber = 0;
  int mPageCount = 0;
  bool mTooManyPages = false;
  bool mBreakingPage = false;

  ReportPrintSettings mSettings;
  PageFont mFont;
  PageFont mSetupFont;
  Rgb mTextColour = kBlack;
  Rgb mHeadingBoxColour = kBlack;
  bool mFillSolid = true;
  std::optional<Rgb> mFillColour;
  int mDrawWidth = 1;
  Orientation mOrientation = Orientation::Portrait;
  double mLeftMargin = 10;
  double mTopMargin = 15;
  double mBottomLimit = 270;
  double mX = 0;
  double mY = 0;

  // Unknown codes and missing pictures already told while drawing this page.
  std::set<std::string> mToldThisPage;
  // Fonts the printer would not take in this printing.
  std::set<std::string> mRefusedFonts;
};

}  // namespace lum
