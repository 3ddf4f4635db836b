// The procedures of pages, lines, texts and fonts.

#include <fmt/core.h>

#include <algorithm>
#include <cmath>

#include "platform/text.h"
#include "post/render/amount_text.h"
#include "post/render/yazan.h"

namespace lum {
namespace {

int component(float value) {
  return std::isfinite(value) ? static_cast<int>(std::lround(std::clamp(value, 0.0f, 255.0f))) : 0;
}

}  // namespace

void Yazan::SBas() {
  if (recording() && !mTooManyPages) {
    if (mPageNumber >= PageFiles::kMaxPages) {
      mTooManyPages = true;
    } else {
      ++mPageNumber;
    }
  }
  // Every page starts from the output set-up's font, colours and lines,
  // so it draws the same shown alone, printed in a range or first written.
  mFont = mSetupFont;
  resetDrawing();
  if (PageDevice* device = target()) {
    device->setOrientation(mOrientation);
    device->beginPage(mPageNumber);
    applyFont();
  }
  mX = 0;
  mY = 0;
  record(PageCommand::BeginPage);
  if (storing()) {
    mFiles.beginPageHeader(mPageNumber);
  }
}

void Yazan::SBit() {
  if (PageDevice* device = target()) {
    device->endPage();
  }
  record(PageCommand::EndPage);
  mFiles.flush();
  if (storing() && mPageNumber > 0) {
    mFiles.endPageHeader(mPageNumber);
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
  mFiles.flush();
  if (mFiles.attached()) {
    mFiles.endReportHeader(mPageNumber + 1);
  }
  if (mTooManyPages) {
    tell(fmt::format("The report has more than {0} pages; only the first {0} are kept.",
                     PageFiles::kMaxPages));
  }
  mTooManyPages = false;
  mPageNumber = 1;
  mDevice = OutputDevice::Screen;
  LoadPage(mPageCount == 1 ? Load::AlreadyShown : Load::Draw);
}

void Yazan::SSet() {
  record(PageCommand::MillimetreScale);
}

void Yazan::Sifi() {
  if (mDevice != OutputDevice::Printer && mScreen != nullptr) {
    mScreen->beginPage(mPageNumber);
    if (mPageShown) {
      mPageShown();
    }
  }
  record(PageCommand::ClearPage);
}

void Yazan::XYPo(int x, int y) {
  mX = x;
  mY = y;
  record(PageCommand::MoveTo, x, y);
}

void Yazan::Tabu(int x) {
  mX = x;
  record(PageCommand::TabTo, x);
}

void Yazan::Yazz(std::string_view text, int x, Align alignment) {
  if (!text.empty() && text.front() == '\0') {
    text = {};
  }
  const double width = textWidth(text);
  double start = mX;
  TextAnchor anchor = TextAnchor::Left;
  double at = mX;
  if (alignment == Align::Left) {
    start = at = x;
  } else if (alignment == Align::Right) {
    start = x - width;
    at = x;
    anchor = TextAnchor::Right;
  }
  if (PageDevice* device = target(); device != nullptr && !text.empty()) {
    device->drawText(at, mY, text, anchor, mTextColour);
  }
  mX = start + width;
  record(PageCommand::Text, text, x, alignment);
}

void Yazan::Para(int x, Currency amount, AmountStyle style) {
  const AmountText written = amountText(amount, style);
  PageDevice* device = target();
  if (device != nullptr) {
    device->drawText(x, mY, written.text, TextAnchor::Right, mTextColour);
  }
  mX = x;
  if (written.negative) {
    if (device != nullptr) {
      device->drawText(x, mY, ")", TextAnchor::Left, mTextColour);
    }
    mX = x + textWidth(")");
  }
  record(PageCommand::Amount, x, amount, style);
}

void Yazan::Sati() {
  mX = 0;
  mY += metrics().lineHeight(mFont);
  record(PageCommand::NewLine);
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
  record(PageCommand::Font, name);
}

void Yazan::Olcu(int size) {
  if (size >= 1) {
    mFont.size = size;
    applyFont();
  }
  record(PageCommand::Size, size);
}

void Yazan::setStyle(bool PageFont::*style, bool on, PageCommand command) {
  mFont.*style = on;
  applyFont();
  record(command);
}

void Yazan::Cift() {
  setStyle(&PageFont::bold, true, PageCommand::Bold);
}

void Yazan::Tek() {
  setStyle(&PageFont::bold, false, PageCommand::Regular);
}

void Yazan::Ital() {
  setStyle(&PageFont::italic, true, PageCommand::Italic);
}

void Yazan::ItlO() {
  setStyle(&PageFont::italic, false, PageCommand::Upright);
}

void Yazan::ULin() {
  setStyle(&PageFont::underline, true, PageCommand::Underline);
}

void Yazan::ULnO() {
  setStyle(&PageFont::underline, false, PageCommand::NoUnderline);
}

void Yazan::STru() {
  setStyle(&PageFont::strikeOut, true, PageCommand::StrikeOut);
}

void Yazan::STrO() {
  setStyle(&PageFont::strikeOut, false, PageCommand::NoStrikeOut);
}

void Yazan::Renk(float red, float green, float blue) {
  if (red == 1 && green == 1 && blue == 1) {
    mTextColour = static_cast<Rgb>(mSettings.textColour) & 0xFFFFFF;
  } else if (red == 0 && green == 0 && blue == 0) {
    mTextColour = kBlack;
  } else if (red == -1 && green == -1) {
    mTextColour =
        std::isfinite(blue) ? static_cast<Rgb>(std::clamp(blue, 0.0f, 16777215.0f)) : kBlack;
  } else {
    mTextColour = rgb(component(red), component(green), component(blue));
  }
  record(PageCommand::TextColour, red, green, blue);
}

int Yazan::Nere(Axis axis) {
  record(PageCommand::Position, axis == Axis::Horizontal ? 0.0f : 1.0f);
  return static_cast<int>(std::lround(axis == Axis::Horizontal ? mX : mY));
}

}  // namespace lum
