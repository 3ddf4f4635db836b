#include "post/render/yazan.h"

#include <fmt/core.h>

#include <algorithm>

#include "platform/scope_guard.h"
#include "platform/text.h"

namespace lum {

Yazan::Yazan(FileOps& ops, Prompter& prompter) : mOps(&ops), mPrompter(&prompter) {}

void Yazan::detachFiles() {
  mFiles.detach();
  mSettingsFile = nullptr;
}

PageDevice* Yazan::target() const {
  return mDevice == OutputDevice::Printer ? mPrinter : mScreen;
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

void Yazan::resetDrawing() {
  mTextColour = kBlack;
  mDrawWidth = 1;
  mFillSolid = true;
  mFillColour.reset();
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
  resetDrawing();
  mX = 0;
  mY = 0;
  applyFont();

  mFiles.restart();
  mPageNumber = 0;
  mTooManyPages = false;

  mLeftMargin = mSettings.leftMargin != 0 ? mSettings.leftMargin : 10;
  mTopMargin = mSettings.topMargin != 0 ? mSettings.topMargin : 15;
  mBottomLimit = mSettings.bottomLimit != 0 ? mSettings.bottomLimit : 270;
  Olcu(mSettings.fontSize < 6 ? 10 : mSettings.fontSize);
  Cift();
  Tek();
  mSetupFont = mFont;
}

void Yazan::printRange(int first, int last, const std::function<void(int, int)>& progress) {
  for (int page = first; page <= last; ++page) {
    mPageNumber = page;
    LoadPage();
    SBit();
    if (progress) {
      progress(page - first + 1, last - first + 1);
    }
  }
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
      printRange(first, last, {});
      mPrinter->endDocument();
    }
  }
  if (mDevice == OutputDevice::Printer) {
    mDevice = OutputDevice::Screen;
    mPageNumber = shown;
    LoadPage();
  }
}

void Yazan::ReplayPages(PageDevice& device, int first, int last,
                        const std::function<void(int, int)>& progress) {
  const int shown = mPageNumber;
  const OutputDevice deviceBefore = mDevice;
  const OutputDevice nextBefore = mNextDevice;
  PageDevice* printerBefore = mPrinter;
  {
    const ScopeGuard restore([&] {
      mPrinter = printerBefore;
      mNextDevice = nextBefore;
      mDevice = deviceBefore;
      mPageNumber = shown;
    });
    mPrinter = &device;
    mNextDevice = OutputDevice::Printer;
    BeginOutput();
    printRange(std::max(first, 1), std::min(last, mPageCount), progress);
    device.endDocument();
  }
  if (mDevice == OutputDevice::Screen) {
    LoadPage();
  }
}

void Yazan::LoadPage(Load load) {
  const std::optional<StoredPage> page = mFiles.load(mPageNumber);
  if (!page) {
    return;
  }
  if (!page->fault.empty()) {
    tell(fmt::format("Page {} of the report is damaged: {}.", mPageNumber, page->fault));
  }
  // A page that sets its orientation is begun in it, not turned once drawn.
  for (const StoredPage::Command& command : page->commands) {
    if (command.entry != nullptr && command.entry->command == PageCommand::Orientation) {
      mOrientation =
          wholeOf(command.record.a) == 2 ? Orientation::Landscape : Orientation::Portrait;
      break;
    }
  }
  if (load != Load::AlreadyShown) {
    drawStoredPage(*page);
  }
}

void Yazan::drawStoredPage(const StoredPage& page) {
  mToldThisPage.clear();
  for (const StoredPage::Command& command : page.commands) {
    if (command.entry == nullptr) {
      // Told once a page: a damaged page would otherwise ask for thousands of clicks.
      const std::string code(trim(command.record.code));
      if (mToldThisPage.insert("code " + code).second) {
        tell("can't find " + code + " in OkuYaz module");
      }
      continue;
    }
    if (command.entry->endsPage()) {
      break;
    }
    command.entry->replay(*this,
                          StoredCommand(*command.entry, command.record, page.textOf(command)));
  }
  if (mPageShown) {
    mPageShown();
  }
}

}  // namespace lum
