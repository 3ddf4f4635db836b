#include "post/render/yazan.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "platform/text.h"

namespace lum {
namespace {

// A stored number as the 16-bit integer a procedure takes: rounded, and
// held to the range so a damaged record cannot overflow.
int toInt(float value) {
  if (!std::isfinite(value)) {
    return 0;
  }
  return static_cast<int>(std::lround(std::clamp(value, -32768.0f, 32767.0f)));
}

// A stored record number; 0 for anything that cannot be one.
std::int64_t toRecordNumber(float value) {
  if (!std::isfinite(value) || value < 0 || value > 16777216.0f) {
    return 0;
  }
  return static_cast<std::int64_t>(std::lround(value));
}

// Texts the page files cannot hold in Windows-1252 keep a "?" in place of
// each character they cannot hold, so a report never fails on a name.
std::string storable(std::string_view text) {
  try {
    utf8ToCp1252(text);
    return std::string(text);
  } catch (const EncodingError&) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
      std::size_t length = 1;
      const auto lead = static_cast<unsigned char>(text[i]);
      if (lead >= 0xF0) {
        length = 4;
      } else if (lead >= 0xE0) {
        length = 3;
      } else if (lead >= 0xC0) {
        length = 2;
      }
      const std::string_view piece = text.substr(i, length);
      try {
        utf8ToCp1252(piece);
        out += piece;
      } catch (const EncodingError&) {
        out += '?';
      }
      i += length;
    }
    return out;
  }
}

// Cut to the 140 characters of a text record, never inside a character.
std::string textRecordText(std::string_view text) {
  return leftCharacters(storable(text), PageTextRecord::kSize);
}

std::string groupedDigits(std::uint64_t whole) {
  std::string digits = std::to_string(whole);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) {
      out += ',';
    }
    out += digits[i];
  }
  return out;
}

Rgb clampColour(double value) {
  return static_cast<Rgb>(std::clamp(value, 0.0, 16777215.0));
}

int component(float value) {
  return std::isfinite(value) ? static_cast<int>(std::lround(std::clamp(value, 0.0f, 255.0f))) : 0;
}

Rgb colourOf(int index) {
  return index >= 0 && index < static_cast<int>(Yazan::kColourTable.size())
             ? Yazan::kColourTable[static_cast<std::size_t>(index)]
             : kBlack;
}

}  // namespace

Yazan::Yazan(FileOps& ops, Prompter& prompter) : mOps(&ops), mPrompter(&prompter) {}

void Yazan::attachFiles(RecordFile* commands, RecordFile* texts) {
  flushPageFiles();
  mCommands = commands;
  mTexts = texts;
}

void Yazan::detachFiles() {
  mHeldCommands.bytes.clear();
  mHeldTexts.bytes.clear();
  mCommands = nullptr;
  mTexts = nullptr;
  mSettingsFile = nullptr;
}

int Yazan::storedPageCount() const {
  if (mCommands == nullptr) {
    return 0;
  }
  for (int page = 1; page <= kHeaderRecords; ++page) {
    const auto header = mCommands->get<PageCommandRecord>(page);
    if (trim(header.code) != "Page") {
      return std::min(page - 1, kMaxPages);
    }
  }
  return kMaxPages;
}

PageDevice* Yazan::target() const {
  if (mDevice == kRecordingDevice || mDevice == kScreenDevice) {
    return mScreen;
  }
  if (mDevice == kPrinterDevice) {
    return mPrinter;
  }
  return nullptr;
}

const TextMetrics& Yazan::metrics() const {
  const PageDevice* device = target();
  return device != nullptr ? device->metrics() : mFallbackMetrics;
}

double Yazan::textWidth(std::string_view text) const {
  return metrics().width(mFont, text);
}

void Yazan::tell(const std::string& text) {
  mPrompter->message(text);
}

// The font goes to the device; a printer that refuses it prints in Courier.
void Yazan::applyFont() {
  PageDevice* device = target();
  if (device == nullptr) {
    return;
  }
  // A font the printer has refused once is replaced without asking again.
  const bool refusedBefore = device == mPrinter && mRefusedFonts.contains(mFont.name);
  if (!refusedBefore && device->setFont(mFont)) {
    return;
  }
  if (device == mPrinter) {
    if (!refusedBefore) {
      mPrompter->message(
          "Selected font is not accepted by the printer.  Courier font is now imposed",
          Icon::Information);
      mRefusedFonts.insert(mFont.name);
    }
    mFont.name = "courier";
    device->setFont(mFont);
  }
}

void Yazan::store(std::string_view code, const std::function<void(PageCommandRecord&)>& fill) {
  if (!storing()) {
    return;
  }
  ++mCommandCounter;
  mBuffer.code = std::string(code);
  fill(mBuffer);
  hold(mHeldCommands, *mCommands, mCommandCounter, mBuffer.encode());
}

void Yazan::storeWithText(std::string_view code, std::string_view text,
                          const std::function<void(PageCommandRecord&)>& fill) {
  if (!storing()) {
    return;
  }
  ++mCommandCounter;
  ++mTextCounter;
  mBuffer.code = std::string(code);
  fill(mBuffer);
  mBuffer.a = static_cast<float>(mTextCounter);
  hold(mHeldCommands, *mCommands, mCommandCounter, mBuffer.encode());
  hold(mHeldTexts, *mTexts, mTextCounter, PageTextRecord{textRecordText(text)}.encode());
}

void Yazan::hold(HeldRecords& held, RecordFile& file, std::int64_t number,
                 const std::vector<std::byte>& bytes) {
  constexpr std::size_t kMostHeld = 256 * 1024;
  const auto heldCount = static_cast<std::int64_t>(held.bytes.size() / bytes.size());
  if (!held.bytes.empty() && (number != held.first + heldCount || held.bytes.size() >= kMostHeld)) {
    writeHeld(held, &file);
  }
  if (held.bytes.empty()) {
    held.first = number;
  }
  held.bytes.insert(held.bytes.end(), bytes.begin(), bytes.end());
}

void Yazan::writeHeld(HeldRecords& held, RecordFile* file) {
  if (file != nullptr && !held.bytes.empty()) {
    file->writeRecords(held.first, held.bytes);
  }
  held.bytes.clear();
}

void Yazan::flushPageFiles() {
  writeHeld(mHeldCommands, mCommands);
  writeHeld(mHeldTexts, mTexts);
}

ReportPrintSettings Yazan::readSettings() const {
  if (mSettingsFile == nullptr) {
    return ReportPrintSettings{};
  }
  return mSettingsFile->get<ReportPrintSettings>(1);
}

void Yazan::BeginOutput() {
  if (mFontSet == 0) {
    mFontSet = 1;
  }
  mDevice = mNextDevice;
  mSettings = readSettings();
  const auto slot = static_cast<std::size_t>(std::clamp(1 + 2 * (mFontSet - 1), 0, 4));
  if (trim(mSettings.fontNames[slot]).empty()) {
    mSettings.fontNames[slot] = "Arial";
    if (mSettingsFile != nullptr) {
      mSettingsFile->put(1, mSettings);
    }
  }
  mFont = PageFont{};
  mFont.name = std::string(trim(mSettings.fontNames[slot]));
  mTextColour = kBlack;
  mDrawWidth = 1;
  mFillSolid = true;
  mFillColour.reset();
  mX = 0;
  mY = 0;
  applyFont();

  flushPageFiles();
  mCommandCounter = 1000;
  mTextCounter = 0;
  mPageNumber = 0;
  mTooManyPages = false;
  mCache.clear();
  mPageTexts.clear();

  mLeftMargin = mSettings.leftMargin != 0 ? mSettings.leftMargin : 10;
  mTopMargin = mSettings.topMargin != 0 ? mSettings.topMargin : 15;
  mBottomLimit = mSettings.bottomLimit != 0 ? mSettings.bottomLimit : 270;
  Olcu(mSettings.fontSize < 6 ? 10 : mSettings.fontSize);
  Cift();
  Tek();
  mSetupFont = mFont;
}

void Yazan::PrintPages(const PrintDialogue& dialogue) {
  const int shown = mPageNumber;
  mRefusedFonts.clear();
  BeginOutput();
  if (mPageCount >= 1) {
    const auto choice = dialogue(PrintOffer{1, mPageCount, 1, mPageCount});
    if (choice && mPrinter != nullptr) {
      mPrinter->setCopies(std::max(1, choice->copies));
      applyFont();
      Olcu(static_cast<int>(mFont.size));
      Cift();
      Tek();
      int first = 1;
      int last = mPageCount;
      if (choice->range == PrintRange::Selection) {
        first = last = std::clamp(shown, 1, mPageCount);
      } else if (choice->range == PrintRange::Pages) {
        first = std::max(1, choice->fromPage);
        last = std::min(mPageCount, choice->toPage);
      }
      for (int page = first; page <= last; ++page) {
        mPageNumber = page;
        LoadPage(0);
        SBit();
      }
      mPrinter->endDocument();
    }
  }
  if (mDevice == kPrinterDevice) {
    mDevice = kScreenDevice;
    mPageNumber = shown;
    LoadPage(0);
  }
}

void Yazan::ReplayPages(PageDevice& device, int first, int last,
                        const std::function<void(int, int)>& progress) {
  const int shown = mPageNumber;
  const std::string deviceBefore = mDevice;
  const std::string nextBefore = mNextDevice;
  PageDevice* printerBefore = mPrinter;
  mPrinter = &device;
  mNextDevice = kPrinterDevice;
  try {
    BeginOutput();
    first = std::max(first, 1);
    last = std::min(last, mPageCount);
    for (int page = first; page <= last; ++page) {
      mPageNumber = page;
      LoadPage(0);
      SBit();
      if (progress) {
        progress(page - first + 1, last - first + 1);
      }
    }
    device.endDocument();
  } catch (...) {
    mPrinter = printerBefore;
    mNextDevice = nextBefore;
    mDevice = deviceBefore;
    mPageNumber = shown;
    throw;
  }
  mPrinter = printerBefore;
  mNextDevice = nextBefore;
  mDevice = deviceBefore;
  mPageNumber = shown;
  if (mDevice == kScreenDevice) {
    LoadPage(0);
  }
}

void Yazan::SBas() {
  if (recording() && !mTooManyPages) {
    if (mPageNumber >= kMaxPages) {
      mTooManyPages = true;
    } else {
      ++mPageNumber;
    }
  }
  // Every page starts from the output set-up's font, colours and lines,
  // so it draws the same shown alone, printed in a range or first written.
  mFont = mSetupFont;
  mTextColour = kBlack;
  mDrawWidth = 1;
  mFillSolid = true;
  mFillColour.reset();
  if (PageDevice* device = target()) {
    device->setOrientation(mOrientation);
    device->beginPage(mPageNumber);
    applyFont();
  }
  mX = 0;
  mY = 0;
  store("SBas", [](PageCommandRecord&) {});
  if (storing()) {
    auto header = mCommands->get<PageCommandRecord>(mPageNumber);
    header.code = "Page";
    header.a = header.b = static_cast<float>(mCommandCounter);
    mCommands->put(mPageNumber, header);
  }
}

void Yazan::SBit() {
  if (PageDevice* device = target()) {
    device->endPage();
  }
  store("SBit", [](PageCommandRecord&) {});
  flushPageFiles();
  if (storing() && mPageNumber > 0) {
    auto header = mCommands->get<PageCommandRecord>(mPageNumber);
    header.b = static_cast<float>(mCommandCounter);
    mCommands->put(mPageNumber, header);
  }
}

void Yazan::END() {
  if (!recording()) {
    if (PageDevice* device = target(); device != nullptr && device == mPrinter) {
      device->endDocument();
    }
    return;
  }
  mPageCount = mPageNumber;
  flushPageFiles();
  if (mCommands != nullptr) {
    auto header = mCommands->get<PageCommandRecord>(mPageNumber + 1);
    header.code = "END";
    header.a = header.b = 0;
    mCommands->put(mPageNumber + 1, header);
  }
  if (mTooManyPages) {
    tell(
        fmt::format("The report has more than {0} pages; only the first {0} are kept.", kMaxPages));
  }
  mTooManyPages = false;
  mPageNumber = 1;
  mDevice = kScreenDevice;
  LoadPage(mPageCount == 1 ? 9 : 0);
}

void Yazan::SSet() {
  mScaleMode = 6;
  store("SSet", [](PageCommandRecord&) {});
}

void Yazan::Sifi() {
  if (mDevice != kPrinterDevice && mScreen != nullptr) {
    mScreen->beginPage(mPageNumber);
    if (mPageShown) {
      mPageShown();
    }
  }
  store("Sifi", [](PageCommandRecord&) {});
}

void Yazan::XYPo(int x, int y) {
  mX = x;
  mY = y;
  store("XYPo", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x);
    r.b = static_cast<float>(y);
  });
}

void Yazan::Tabu(int x) {
  mX = x;
  store("Tabu", [&](PageCommandRecord& r) { r.a = static_cast<float>(x); });
}

void Yazan::Yazz(std::string_view text, int x, Currency alignment) {
  if (!text.empty() && text.front() == '\0') {
    text = {};
  }
  const double width = textWidth(text);
  double start = mX;
  TextAnchor anchor = TextAnchor::Left;
  double at = mX;
  if (alignment.raw() == 1 * Currency::kScale) {
    start = at = x;
  } else if (alignment.raw() == 2 * Currency::kScale) {
    start = x - width;
    at = x;
    anchor = TextAnchor::Right;
  }
  if (PageDevice* device = target(); device != nullptr && !text.empty()) {
    device->drawText(at, mY, text, anchor, mTextColour);
  }
  mX = start + width;
  storeWithText("Yazz", text, [&](PageCommandRecord& r) {
    r.b = static_cast<float>(x);
    r.c = alignment;
  });
}

std::string Yazan::amountText(Currency amount, int style, bool& negative) {
  negative = false;
  std::string text;
  if (style == 0 || style == 1 || style == 2) {
    const std::int64_t unit = style == 1 ? 100 : Currency::kScale;
    const std::int64_t raw = amount.raw();
    const std::uint64_t magnitude =
        raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    // Halves away from zero, to whole cents or whole dollars.
    const std::uint64_t units =
        (magnitude + static_cast<std::uint64_t>(unit) / 2) / static_cast<std::uint64_t>(unit);
    if (units == 0) {
      text = "-";
    } else {
      negative = raw < 0;
      if (style == 1) {
        text = fmt::format("{}.{:02}", groupedDigits(units / 100), units % 100);
      } else {
        text = groupedDigits(units);
      }
    }
  } else {
    text = "-";
  }
  if (style == 0) {
    text = "$" + text;
  }
  if (negative) {
    text = "(" + text;
  }
  return text;
}

void Yazan::Para(int x, Currency amount, int style) {
  bool negative = false;
  const std::string text = amountText(amount, style, negative);
  PageDevice* device = target();
  if (device != nullptr) {
    device->drawText(x, mY, text, TextAnchor::Right, mTextColour);
  }
  mX = x;
  if (negative) {
    if (device != nullptr) {
      device->drawText(x, mY, ")", TextAnchor::Left, mTextColour);
    }
    mX = x + textWidth(")");
  }
  store("Para", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x);
    r.b = static_cast<float>(style);
    r.c = amount;
  });
}

void Yazan::Sati() {
  mX = 0;
  mY += metrics().lineHeight(mFont);
  store("Sati", [](PageCommandRecord&) {});
  // The automatic page break, only while the report is first written; a
  // heading too tall for the page does not break again on its own line.
  if (recording() && !mBreakingPage && mY > mBottomLimit - 5) {
    mBreakingPage = true;
    SBit();
    if (mBeginReportPage) {
      mBeginReportPage();
    } else {
      SBas();
    }
    Sati();
    mBreakingPage = false;
  }
}

void Yazan::Font(std::string_view name) {
  const std::string trimmed(trim(name.empty() || name.front() == '\0' ? std::string_view{} : name));
  if (!trimmed.empty()) {
    mFont.name = trimmed;
    applyFont();
  }
  storeWithText("Font", name, [](PageCommandRecord&) {});
}

void Yazan::Olcu(int size) {
  if (size >= 1) {
    mFont.size = size;
    applyFont();
  }
  store("Olcu", [&](PageCommandRecord& r) { r.a = static_cast<float>(size); });
}

void Yazan::Cift() {
  mFont.bold = true;
  applyFont();
  store("Cift", [](PageCommandRecord&) {});
}

void Yazan::Tek() {
  mFont.bold = false;
  applyFont();
  store("Tek", [](PageCommandRecord&) {});
}

void Yazan::Ital() {
  mFont.italic = true;
  applyFont();
  store("Ital", [](PageCommandRecord&) {});
}

void Yazan::ItlO() {
  mFont.italic = false;
  applyFont();
  store("ItlO", [](PageCommandRecord&) {});
}

void Yazan::ULin() {
  mFont.underline = true;
  applyFont();
  store("ULin", [](PageCommandRecord&) {});
}

void Yazan::ULnO() {
  mFont.underline = false;
  applyFont();
  store("ULnO", [](PageCommandRecord&) {});
}

void Yazan::STru() {
  mFont.strikeOut = true;
  applyFont();
  store("STru", [](PageCommandRecord&) {});
}

void Yazan::STrO() {
  mFont.strikeOut = false;
  applyFont();
  store("STrO", [](PageCommandRecord&) {});
}

void Yazan::Renk(float red, float green, float blue) {
  if (red == 1 && green == 1 && blue == 1) {
    mTextColour = static_cast<Rgb>(mSettings.textColour) & 0xFFFFFF;
  } else if (red == 0 && green == 0 && blue == 0) {
    mTextColour = kBlack;
  } else if (red == -1 && green == -1) {
    mTextColour = std::isfinite(blue) ? clampColour(blue) : kBlack;
  } else {
    mTextColour = rgb(component(red), component(green), component(blue));
  }
  store("Renk", [&](PageCommandRecord& r) {
    r.a = red;
    r.b = green;
    r.d = blue;
  });
}

void Yazan::Kaln(int width) {
  mDrawWidth = std::clamp(width, 1, 100);
  store("Kaln", [&](PageCommandRecord& r) { r.a = static_cast<float>(width); });
}

void Yazan::KCek(int x1, int x2) {
  if (PageDevice* device = target()) {
    device->drawRule(x1, x2, mY, 3, mTextColour);
  }
  mDrawWidth = 1;
  mX = x2;
  store("KCek", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(x2);
  });
}

void Yazan::Ccek(int x1, int x2) {
  if (PageDevice* device = target()) {
    device->drawRule(x1, x2, mY, mDrawWidth, mTextColour);
  }
  mX = x2;
  store("Ccek", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(x2);
  });
}

void Yazan::Dcek(int x1, int x2) {
  if (PageDevice* device = target()) {
    device->drawRule(x1, x2, mY, 3, mTextColour);
    device->drawRule(x1, x2, mY + 1.0, 3, mTextColour);
  }
  mX = x2;
  store("Dcek", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(x2);
  });
}

void Yazan::Ccev(int y1, int y2) {
  if (PageDevice* device = target()) {
    device->drawLine(mX, y1, mX, y2, mDrawWidth, mTextColour);
  }
  mY = y2;
  store("Ccev", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(y1);
    r.b = static_cast<float>(y2);
  });
}

void Yazan::DGen(int x1, int y1, int x2, int y2) {
  if (PageDevice* device = target()) {
    device->drawLine(x1, y1, x2, y2, mDrawWidth, mTextColour);
  }
  store("DGen", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(y1);
    r.d = static_cast<float>(x2);
    r.e = static_cast<float>(y2);
  });
}

void Yazan::Ccei(int x1, int y1, int x2, int y2, int colourIndex) {
  if (PageDevice* device = target()) {
    device->drawLine(x1, y1, x2, y2, mDrawWidth, colourOf(colourIndex));
  }
  mX = x2;
  mY = y2;
  store("Ccei", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(y1);
    r.d = static_cast<float>(x2);
    r.e = static_cast<float>(y2);
    r.c = Currency::fromRaw(static_cast<std::int64_t>(colourIndex) * Currency::kScale);
  });
}

void Yazan::Nokt(int x, int y, int colourIndex) {
  if (PageDevice* device = target()) {
    device->drawPoint(x, y, colourOf(colourIndex));
  }
  mX = x;
  mY = y;
  store("Nokt", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x);
    r.b = static_cast<float>(y);
    r.d = static_cast<float>(colourIndex);
  });
}

void Yazan::box(int x1, int y1, int x2, int y2, Rgb colour) {
  if (PageDevice* device = target()) {
    std::optional<Rgb> fill;
    if (mFillSolid) {
      fill = mFillColour.value_or(colour);
    }
    device->drawBox(x1, y1, x2, y2, colour, fill);
  }
  mX = 0;
}

void Yazan::BBox(int x1, int y1, int x2, int y2, int colourIndex) {
  box(x1, y1, x2, y2, colourOf(colourIndex));
  store("BBox", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(y1);
    r.d = static_cast<float>(x2);
    r.e = static_cast<float>(y2);
    r.c = Currency::fromRaw(static_cast<std::int64_t>(colourIndex) * Currency::kScale);
  });
}

void Yazan::CBox(int x1, int y1, int x2, int y2) {
  box(x1, y1, x2, y2, static_cast<Rgb>(mSettings.boxColour) & 0xFFFFFF);
  store("CBox", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(y1);
    r.d = static_cast<float>(x2);
    r.e = static_cast<float>(y2);
  });
}

void Yazan::HBox(int x1, int y1, int x2, int y2) {
  box(x1, y1, x2, y2, mHeadingBoxColour);
  store("HBox", [&](PageCommandRecord& r) {
    r.a = static_cast<float>(x1);
    r.b = static_cast<float>(y1);
    r.d = static_cast<float>(x2);
    r.e = static_cast<float>(y2);
  });
}

void Yazan::BFOn() {
  mFillSolid = true;
  store("BFOn", [](PageCommandRecord&) {});
}

void Yazan::BFOf() {
  mFillSolid = false;
  store("BFOf", [](PageCommandRecord&) {});
}

void Yazan::BFCl(Rgb colour) {
  mFillColour = colour & 0xFFFFFF;
  store("BFCl", [&](PageCommandRecord& r) { r.a = static_cast<float>(colour & 0xFFFFFF); });
}

void Yazan::ResC(std::string_view fileName, int x, Currency y, int width, int height) {
  const double top = y.toDouble();
  PageDevice* device = target();
  const std::string name(trim(fileName));
  if (device != nullptr && !name.empty()) {
    std::vector<std::byte> bytes;
    try {
      // A name the resolver cannot map (a drive this machine does not
      // have) is a picture that cannot be found, as a missing file is.
      const std::filesystem::path path =
          mPictureResolver ? mPictureResolver(name) : std::filesystem::path(name);
      FileHandle file = mOps->open(path, OpenMode::ReadOnly);
      bytes.resize(static_cast<std::size_t>(mOps->size(file)));
      bytes.resize(mOps->readAt(file, 0, bytes));
      mOps->close(file);
    } catch (const FileError&) {
      bytes.clear();
    }
    if (bytes.empty()) {
      if (mToldThisPage.insert("picture " + name).second) {
        tell("The picture " + name + " cannot be found");
      }
    } else {
      device->drawPicture(bytes, name, x, top, width, height);
    }
  }
  storeWithText("ResC", fileName, [&](PageCommandRecord& r) {
    r.b = static_cast<float>(x);
    r.c = y;
    r.d = static_cast<float>(width);
    r.e = static_cast<float>(height);
  });
}

void Yazan::OlcM(int mode) {
  // Pages are measured in millimetres on every device; the mode is kept
  // and recorded for the files' sake.
  mScaleMode = mode;
  store("OlcM", [&](PageCommandRecord& r) { r.a = static_cast<float>(mode); });
}

void Yazan::OOri(int orientation) {
  mOrientation = orientation == 2 ? Orientation::Landscape : Orientation::Portrait;
  mBottomLimit = mOrientation == Orientation::Landscape ? 185 : 270;
  if (PageDevice* device = target()) {
    device->setOrientation(mOrientation);
  }
  store("OOri", [&](PageCommandRecord& r) { r.a = static_cast<float>(orientation); });
}

int Yazan::Nere(float axis) {
  store("Nere", [&](PageCommandRecord& r) { r.a = axis; });
  return static_cast<int>(std::lround(axis != 0 ? mY : mX));
}

void Yazan::LoadPage(int mode) {
  flushPageFiles();
  mCache.clear();
  mPageTexts.clear();
  if (mPageNumber < 1 || mPageNumber > kHeaderRecords || mCommands == nullptr) {
    return;
  }
  const auto header = mCommands->get<PageCommandRecord>(mPageNumber);
  const std::int64_t first = toRecordNumber(header.a);
  const std::int64_t last = toRecordNumber(header.b);
  const std::int64_t commandCount = mCommands->recordCount();
  const std::int64_t textCount = mTexts != nullptr ? mTexts->recordCount() : 0;
  std::string fault;
  if (first >= 1) {
    mCache.reserve(static_cast<std::size_t>(std::min<std::int64_t>(
        kCacheSize, std::max<std::int64_t>(0, std::min(last, commandCount) - first + 1))));
    for (std::int64_t r = first; r <= last; ++r) {
      if (r > commandCount) {
        fault = "its commands go past the end of DosyaYaz.dat";
        break;
      }
      if (static_cast<int>(mCache.size()) == kCacheSize) {
        fault = fmt::format("it has more than {} commands", kCacheSize);
        break;
      }
      const auto record = mCommands->get<PageCommandRecord>(r);
      PageEntry entry{record.code, record.a, record.b, record.c, record.d, record.e};
      const std::string_view code = trim(entry.code);
      if ((code == "Yazz" || code == "Font" || code == "ResC") && entry.a > 0) {
        const std::int64_t textNumber = toRecordNumber(entry.a);
        std::string text;
        if (textNumber >= 1 && textNumber <= textCount) {
          text = mTexts->get<PageTextRecord>(textNumber).text;
        } else if (fault.empty()) {
          fault = fmt::format("text {} is not in Kelamlar.dat", textNumber);
        }
        mPageTexts.push_back(std::move(text));
        entry.a = static_cast<float>(mPageTexts.size());
      }
      mCache.push_back(std::move(entry));
    }
  }
  if (!fault.empty()) {
    tell(fmt::format("Page {} of the report is damaged: {}.", mPageNumber, fault));
  }
  // A page that sets its orientation is begun in it, not turned once drawn.
  for (const PageEntry& entry : mCache) {
    if (trim(entry.code) == "OOri") {
      mOrientation = toInt(entry.a) == 2 ? Orientation::Landscape : Orientation::Portrait;
      break;
    }
  }
  if (mode != 9) {
    RenderPage();
  }
}

void Yazan::RenderPage() {
  mToldThisPage.clear();
  for (const PageEntry& entry : mCache) {
    const std::string_view code = trim(entry.code);
    if (code == "SBit" || code == "END") {
      break;
    }
    mWork = entry;
    mWorkText.clear();
    if (code == "ResC" || code == "Font" || code == "Yazz") {
      const std::int64_t index = toRecordNumber(entry.a);
      if (index >= 1 && index <= static_cast<std::int64_t>(mPageTexts.size())) {
        // Only the padding goes: a text that began with blanks keeps them,
        // so it stands where it stood when the report was written.
        mWorkText = std::string(trimRight(mPageTexts[static_cast<std::size_t>(index - 1)]));
      }
    }
    DispatchCommand();
  }
  if (mPageShown) {
    mPageShown();
  }
}

void Yazan::DispatchCommand() {
  const PageEntry& w = mWork;
  const std::string code(trim(w.code));
  const auto a = toInt(w.a);
  const auto b = toInt(w.b);
  // Held to the 16-bit range before rounding, so no stored amount overflows.
  const std::int64_t cRaw =
      std::clamp<std::int64_t>(w.c.raw(), -32768 * Currency::kScale, 32767 * Currency::kScale);
  const auto c = static_cast<int>(
      (cRaw + (cRaw < 0 ? -Currency::kScale / 2 : Currency::kScale / 2)) / Currency::kScale);
  const auto d = toInt(w.d);
  const auto e = toInt(w.e);
  if (code == "BBox") {
    BBox(a, b, d, e, c);
  } else if (code == "BFCl") {
    BFCl(std::isfinite(w.a) ? clampColour(w.a) : kBlack);
  } else if (code == "BFOf") {
    BFOf();
  } else if (code == "BFOn") {
    BFOn();
  } else if (code == "CBox") {
    CBox(a, b, d, e);
  } else if (code == "Ccei") {
    Ccei(a, b, d, e, c);
  } else if (code == "Ccek") {
    Ccek(a, b);
  } else if (code == "Ccev") {
    Ccev(a, b);
  } else if (code == "Cift") {
    Cift();
  } else if (code == "Dcek") {
    Dcek(a, b);
  } else if (code == "DGen") {
    DGen(a, b, d, e);
  } else if (code == "Font") {
    Font(mWorkText);
  } else if (code == "HBox") {
    HBox(a, b, d, e);
  } else if (code == "Ital") {
    Ital();
  } else if (code == "ItlO") {
    ItlO();
  } else if (code == "Kaln") {
    Kaln(a);
  } else if (code == "KCek") {
    KCek(a, b);
  } else if (code == "Nere") {
    Nere(w.a);
  } else if (code == "Nokt") {
    Nokt(a, b, d);
  } else if (code == "Olcu") {
    Olcu(a);
  } else if (code == "OlcM") {
    OlcM(a);
  } else if (code == "OOri") {
    OOri(a);
  } else if (code == "Para") {
    Para(a, w.c, b);
  } else if (code == "Renk") {
    Renk(w.a, w.b, w.d);
  } else if (code == "ResC") {
    ResC(mWorkText, b, w.c, d, e);
  } else if (code == "Sati") {
    Sati();
  } else if (code == "SBas") {
    SBas();
  } else if (code == "SBit") {
    SBit();
  } else if (code == "Sifi") {
    Sifi();
  } else if (code == "SSet") {
    SSet();
  } else if (code == "STrO") {
    STrO();
  } else if (code == "STru") {
    STru();
  } else if (code == "Tabu") {
    Tabu(a);
  } else if (code == "Tek") {
    Tek();
  } else if (code == "ULin") {
    ULin();
  } else if (code == "ULnO") {
    ULnO();
  } else if (code == "XYPo") {
    XYPo(a, b);
  } else if (code == "Yazz") {
    Yazz(mWorkText, b, w.c);
  } else if (code == "END") {
    END();
  } else if (mToldThisPage.insert("code " + code).second) {
    // Told once a page: a damaged page would otherwise ask for thousands of clicks.
    tell("can't find " + code + " in OkuYaz module");
  }
}

}  // namespace lum
