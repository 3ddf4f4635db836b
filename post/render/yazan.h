#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "platform/file_ops.h"
#include "platform/prompter.h"
#include "platform/record_file.h"
#include "post/login/login_records.h"
#include "post/render/page_device.h"
#include "post/render/page_records.h"

namespace lum {

// Device codes: draw on the viewer's page and record the page files; draw
// on the viewer's page only (a stored page shown again); the printer.
inline constexpr std::string_view kRecordingDevice = "Dis2";
inline constexpr std::string_view kScreenDevice = "Dis1";
inline constexpr std::string_view kPrinterDevice = "Prn1";

// One command of the page being shown; for a command with a text, a holds
// the number of its text in the page's text list (from 1).
struct PageEntry {
  std::string code;
  float a = 0;
  float b = 0;
  Currency c;
  float d = 0;
  float e = 0;
};

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
// While the device is "Dis2" every command draws on the screen device and
// is appended to DosyaYaz.dat (its text to Kelamlar.dat); "Dis1" draws
// stored pages on the screen device, "Prn1" on the printer device. The
// command procedures bear the codes' names.
class Yazan {
 public:
  static constexpr int kMaxPages = 999;
  static constexpr int kHeaderRecords = 1000;
  static constexpr int kCacheSize = 3000;
  static constexpr std::array<Rgb, 5> kColourTable = {kBlack, rgb(0xD9, 0xD9, 0xD9),
                                                      rgb(0xC6, 0xD9, 0xF1), rgb(0xFF, 0xF2, 0xCC),
                                                      rgb(0xD8, 0xE4, 0xBC)};

  Yazan(FileOps& ops, Prompter& prompter);

  // The viewer's page and the printer; either may be missing.
  void setScreen(PageDevice* device) { mScreen = device; }
  void setPrinter(PageDevice* device) { mPrinter = device; }
  // DosyaYaz.dat and Kelamlar.dat, open; the report print settings file
  // (RepPar), or nothing for the defaults.
  void attachFiles(RecordFile* commands, RecordFile* texts);
  void attachSettings(RecordFile* settings) { mSettingsFile = settings; }
  // The page files and the settings were closed under the commands (the
  // viewer closed): forgets them, with what a run cut short held for them.
  void detachFiles();
  // Where the picture files of "ResC" are found, from the names they carry.
  void setPictureResolver(std::function<std::filesystem::path(std::string_view)> resolver) {
    mPictureResolver = std::move(resolver);
  }
  // The report's page start (its "SBas" and heading), run by the automatic
  // page break; without one the break issues a bare "SBas".
  void setBeginReportPage(std::function<void()> hook) { mBeginReportPage = std::move(hook); }
  // Told after a page has been drawn by RenderPage, and after "Sifi".
  void setPageShown(std::function<void()> hook) { mPageShown = std::move(hook); }

  const std::string& device() const { return mDevice; }
  void setDevice(std::string_view code) { mDevice = code; }
  const std::string& nextDevice() const { return mNextDevice; }
  void setNextDevice(std::string_view code) { mNextDevice = code; }
  int pageNumber() const { return mPageNumber; }
  void setPageNumber(int page) { mPageNumber = page; }
  int pageCount() const { return mPageCount; }
  void setPageCount(int count) { mPageCount = count; }
  void setFontSet(int fontSet) { mFontSet = fontSet; }

  // Writes out the records still held back: while a report is written its
  // commands and texts go to the files a page at a time ("SBit", "END").
  void flushPageFiles();

  // The pages of the report in the page files: the headers before "END".
  int storedPageCount() const;

  // Page geometry and state, as the commands left them.
  double x() const { return mX; }
  double y() const { return mY; }
  const PageFont& font() const { return mFont; }
  Orientation orientation() const { return mOrientation; }
  double leftMargin() const { return mLeftMargin; }
  double topMargin() const { return mTopMargin; }
  double bottomLimit() const { return mBottomLimit; }
  int commandCounter() const { return mCommandCounter; }
  int textCounter() const { return mTextCounter; }

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

  // The command procedures.
  void SBas();
  void SBit();
  void END();
  void SSet();
  void Sifi();
  void XYPo(int x, int y);
  void Tabu(int x);
  void Yazz(std::string_view text, int x, Currency alignment);
  void Para(int x, Currency amount, int style);
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
  void Ccei(int x1, int y1, int x2, int y2, int colourIndex);
  void Nokt(int x, int y, int colourIndex);
  void BBox(int x1, int y1, int x2, int y2, int colourIndex);
  void CBox(int x1, int y1, int x2, int y2);
  void HBox(int x1, int y1, int x2, int y2);
  void BFOn();
  void BFOf();
  void BFCl(Rgb colour);
  void ResC(std::string_view fileName, int x, Currency y, int width, int height);
  void OlcM(int mode);
  void OOri(int orientation);
  int Nere(float axis);

  // The reader: loads the current page into the cache and, unless mode is
  // 9, draws it; draws the cached page; interprets the work record.
  void LoadPage(int mode);
  void RenderPage();
  void DispatchCommand();

  const std::vector<PageEntry>& cache() const { return mCache; }
  const std::vector<std::string>& pageTexts() const { return mPageTexts; }
  PageEntry& workRecord() { return mWork; }
  std::string& workText() { return mWorkText; }

  // "Para"'s text of an amount: grouped digits, "-" for zero, "$" before
  // style 0, "(" before a negative amount (its ")" is drawn after x).
  static std::string amountText(Currency amount, int style, bool& negative);

 private:
  PageDevice* target() const;
  bool recording() const { return mDevice == kRecordingDevice; }
  bool storing() const { return recording() && mCommands != nullptr && !mTooManyPages; }
  const TextMetrics& metrics() const;
  double textWidth(std::string_view text) const;
  void applyFont();
  void store(std::string_view code, const std::function<void(PageCommandRecord&)>& fill);
  void storeWithText(std::string_view code, std::string_view text,
                     const std::function<void(PageCommandRecord&)>& fill);
  void box(int x1, int y1, int x2, int y2, Rgb colour);
  void tell(const std::string& text);
  ReportPrintSettings readSettings() const;

  // Consecutive records not yet written to one of the page files.
  struct HeldRecords {
    std::int64_t first = 0;
    std::vector<std::byte> bytes;
  };
  void hold(HeldRecords& held, RecordFile& file, std::int64_t number,
            const std::vector<std::byte>& bytes);
  static void writeHeld(HeldRecords& held, RecordFile* file);

  FileOps* mOps;
  Prompter* mPrompter;
  PageDevice* mScreen = nullptr;
  PageDevice* mPrinter = nullptr;
  RecordFile* mCommands = nullptr;
  RecordFile* mTexts = nullptr;
  RecordFile* mSettingsFile = nullptr;
  std::function<std::filesystem::path(std::string_view)> mPictureResolver;
  std::function<void()> mBeginReportPage;
  std::function<void()> mPageShown;
  FixedTextMetrics mFallbackMetrics;

  std::string mDevice{kScreenDevice};
  std::string mNextDevice{kRecordingDevice};
  int mFontSet = 1;
  int mCommandCounter = 1000;
  int mTextCounter = 0;
  int mPageNumber = 0;
  int mPageCount = 0;
  bool mTooManyPages = false;
  bool mBreakingPage = false;
  PageCommandRecord mBuffer;
  HeldRecords mHeldCommands;
  HeldRecords mHeldTexts;

  ReportPrintSettings mSettings;
  PageFont mFont;
  PageFont mSetupFont;
  Rgb mTextColour = kBlack;
  Rgb mHeadingBoxColour = kBlack;
  bool mFillSolid = true;
  std::optional<Rgb> mFillColour;
  int mDrawWidth = 1;
  int mScaleMode = 6;
  Orientation mOrientation = Orientation::Portrait;
  double mLeftMargin = 10;
  double mTopMargin = 15;
  double mBottomLimit = 270;
  double mX = 0;
  double mY = 0;

  std::vector<PageEntry> mCache;
  std::vector<std::string> mPageTexts;
  PageEntry mWork;
  std::string mWorkText;
  // Unknown codes and missing pictures already told while drawing this page.
  std::set<std::string> mToldThisPage;
  // Fonts the printer would not take in this printing.
  std::set<std::string> mRefusedFonts;
};

}  // namespace lum
