// The procedures of rules, lines, points, boxes and pictures, and of the
// page's geometry.

#include <algorithm>

#include "platform/errors.h"
#include "platform/text.h"
#include "post/render/yazan.h"

namespace lum {

void Yazan::Kaln(int width) {
  mDrawWidth = std::clamp(width, 1, 100);
  record(PageCommand::LineWidth, width);
}

void Yazan::KCek(int x1, int x2) {
  if (PageDevice* device = target()) {
    device->drawRule(x1, x2, mY, 3, mTextColour);
  }
  mDrawWidth = 1;
  mX = x2;
  record(PageCommand::ThickRule, x1, x2);
}

void Yazan::Ccek(int x1, int x2) {
  if (PageDevice* device = target()) {
    device->drawRule(x1, x2, mY, mDrawWidth, mTextColour);
  }
  mX = x2;
  record(PageCommand::Rule, x1, x2);
}

void Yazan::Dcek(int x1, int x2) {
  if (PageDevice* device = target()) {
    device->drawRule(x1, x2, mY, 3, mTextColour);
    device->drawRule(x1, x2, mY + 1.0, 3, mTextColour);
  }
  mX = x2;
  record(PageCommand::DoubleRule, x1, x2);
}

void Yazan::Ccev(int y1, int y2) {
  if (PageDevice* device = target()) {
    device->drawLine(mX, y1, mX, y2, mDrawWidth, mTextColour);
  }
  mY = y2;
  record(PageCommand::VerticalRule, y1, y2);
}

void Yazan::DGen(int x1, int y1, int x2, int y2) {
  if (PageDevice* device = target()) {
    device->drawLine(x1, y1, x2, y2, mDrawWidth, mTextColour);
  }
  record(PageCommand::Line, x1, y1, x2, y2);
}

void Yazan::Ccei(int x1, int y1, int x2, int y2, ReportColour colour) {
  if (PageDevice* device = target()) {
    device->drawLine(x1, y1, x2, y2, mDrawWidth, colourOf(colour));
  }
  mX = x2;
  mY = y2;
  record(PageCommand::ColourLine, x1, y1, x2, y2, colour);
}

void Yazan::Nokt(int x, int y, ReportColour colour) {
  if (PageDevice* device = target()) {
    device->drawPoint(x, y, colourOf(colour));
  }
  mX = x;
  mY = y;
  record(PageCommand::Point, x, y, colour);
}

// Boxes leave the position at the left edge.
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

void Yazan::BBox(int x1, int y1, int x2, int y2, ReportColour colour) {
  box(x1, y1, x2, y2, colourOf(colour));
  record(PageCommand::ColourBox, x1, y1, x2, y2, colour);
}

void Yazan::CBox(int x1, int y1, int x2, int y2) {
  box(x1, y1, x2, y2, static_cast<Rgb>(mSettings.boxColour) & 0xFFFFFF);
  record(PageCommand::SettingsBox, x1, y1, x2, y2);
}

void Yazan::HBox(int x1, int y1, int x2, int y2) {
  box(x1, y1, x2, y2, mHeadingBoxColour);
  record(PageCommand::HeadingBox, x1, y1, x2, y2);
}

void Yazan::BFOn() {
  mFillSolid = true;
  record(PageCommand::FillBoxes);
}

void Yazan::BFOf() {
  mFillSolid = false;
  record(PageCommand::OpenBoxes);
}

void Yazan::BFCl(Rgb colour) {
  mFillColour = colour & 0xFFFFFF;
  record(PageCommand::BoxFillColour, static_cast<float>(colour & 0xFFFFFF));
}

// The bytes of a picture file; none when it cannot be read.
std::vector<std::byte> Yazan::pictureBytes(const std::filesystem::path& path) const {
  std::vector<std::byte> bytes;
  try {
    FileHandle file = mOps->open(path, OpenMode::ReadOnly);
    bytes.resize(static_cast<std::size_t>(mOps->size(file)));
    bytes.resize(mOps->readAt(file, 0, bytes));
    mOps->close(file);
  } catch (const FileError&) {
    bytes.clear();
  }
  return bytes;
}

void Yazan::ResC(std::string_view fileName, int x, Currency y, int width, int height) {
  PageDevice* device = target();
  const std::string name(trim(fileName));
  if (device != nullptr && !name.empty()) {
    std::vector<std::byte> bytes;
    try {
      bytes = pictureBytes(mPictureResolver ? mPictureResolver(name) : std::filesystem::path(name));
    } catch (const FileError&) {
      // A name the resolver cannot map (a drive this machine does not
      // have) is a picture that cannot be found, as a missing file is.
    }
    if (!bytes.empty()) {
      device->drawPicture(bytes, name, x, y.toDouble(), width, height);
    } else if (mToldThisPage.insert("picture " + name).second) {
      tell("The picture " + name + " cannot be found");
    }
  }
  record(PageCommand::Picture, fileName, x, y, width, height);
}

void Yazan::OlcM(ScaleMode mode) {
  // Pages are measured in millimetres on every device; the mode is kept
  // for the files' sake.
  record(PageCommand::ScaleMode, mode);
}

void Yazan::OOri(Orientation orientation) {
  mOrientation =
      orientation == Orientation::Landscape ? Orientation::Landscape : Orientation::Portrait;
  mBottomLimit = mOrientation == Orientation::Landscape ? 185 : 270;
  if (PageDevice* device = target()) {
    device->setOrientation(mOrientation);
  }
  record(PageCommand::Orientation, orientation);
}

}  // namespace lum
