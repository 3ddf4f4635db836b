#pragma once

#include <string_view>

#include "platform/currency.h"
#include "post/render/page_values.h"
#include "post/render/yazan.h"

namespace lum {

// Writes a report's pages, as a handle on the page commands that is passed
// by value: each call draws on the current device and, while
// the report is first written, is recorded in the page files under the
// command's code. Positions are whole millimetres from the page's top-left
// corner; the current position moves on as texts, amounts and lines are
// written, and each line end brings it to the left edge of the next line.
class PageWriter {
 public:
  explicit PageWriter(Yazan& yazan) : mYazan(&yazan) {}

  // A page begins clear, in the font, size and colours of output set-up,
  // and counts as the next page; past the page's bottom limit a line end
  // begins the next page itself, with the report's page start.
  void beginPage() const { mYazan->SBas(); }
  void endPage() const { mYazan->SBit(); }
  // The report is complete: page 1 comes back on the screen.
  void endReport() const { mYazan->END(); }
  // Clears the screen's page and scrolls back to its top.
  void clearPage() const { mYazan->Sifi(); }
  void orientation(Orientation orientation) const { mYazan->OOri(orientation); }
  // The printer measures in millimetres; the mode is kept in the files.
  void millimetreScale() const { mYazan->SSet(); }
  void scaleMode(ScaleMode mode) const { mYazan->OlcM(mode); }

  void newLine() const { mYazan->Sati(); }
  void moveTo(int x, int y) const { mYazan->XYPo(x, y); }
  void tabTo(int x) const { mYazan->Tabu(x); }
  int position(Axis axis) const { return mYazan->Nere(axis); }

  void text(int x, std::string_view text, Align alignment) const {
    mYazan->Yazz(text, x, alignment);
  }
  // At the current position.
  void text(std::string_view text) const { mYazan->Yazz(text, 0, Align::AtCursor); }
  // Ends at x; a negative amount's ")" stands after x.
  void amount(int x, Currency value, AmountStyle style) const { mYazan->Para(x, value, style); }

  void font(std::string_view name) const { mYazan->Font(name); }
  void size(int points) const { mYazan->Olcu(points); }
  void bold() const { mYazan->Cift(); }
  void regular() const { mYazan->Tek(); }
  void italic() const { mYazan->Ital(); }
  void upright() const { mYazan->ItlO(); }
  void underline() const { mYazan->ULin(); }
  void noUnderline() const { mYazan->ULnO(); }
  void strikeOut() const { mYazan->STru(); }
  void noStrikeOut() const { mYazan->STrO(); }
  void textColour(Rgb colour) const {
    // Kept as red, green and blue; only (1, 1, 1), which the files take for
    // the print settings' colour, goes as one value.
    if (colour == rgb(1, 1, 1)) {
      mYazan->Renk(-1, -1, static_cast<float>(colour));
    } else {
      mYazan->Renk(static_cast<float>(redOf(colour)), static_cast<float>(greenOf(colour)),
                   static_cast<float>(blueOf(colour)));
    }
  }
  // The text colour of the operator's print settings.
  void printSettingsTextColour() const { mYazan->Renk(1, 1, 1); }

  // Lines in the text colour, the horizontal rules on the current line.
  void lineWidth(int width) const { mYazan->Kaln(width); }
  void rule(int x1, int x2) const { mYazan->Ccek(x1, x2); }
  void thickRule(int x1, int x2) const { mYazan->KCek(x1, x2); }
  void doubleRule(int x1, int x2) const { mYazan->Dcek(x1, x2); }
  // At the current x.
  void verticalRule(int y1, int y2) const { mYazan->Ccev(y1, y2); }
  void line(int x1, int y1, int x2, int y2) const { mYazan->DGen(x1, y1, x2, y2); }
  void line(int x1, int y1, int x2, int y2, ReportColour colour) const {
    mYazan->Ccei(x1, y1, x2, y2, colour);
  }
  void point(int x, int y, ReportColour colour) const { mYazan->Nokt(x, y, colour); }

  // Boxes outlined in their colour and filled in it, or in the fill colour
  // once one is set, unless boxes are open.
  void box(int x1, int y1, int x2, int y2, ReportColour colour) const {
    mYazan->BBox(x1, y1, x2, y2, colour);
  }
  void printSettingsBox(int x1, int y1, int x2, int y2) const { mYazan->CBox(x1, y1, x2, y2); }
  void headingBox(int x1, int y1, int x2, int y2) const { mYazan->HBox(x1, y1, x2, y2); }
  void fillBoxes() const { mYazan->BFOn(); }
  void openBoxes() const { mYazan->BFOf(); }
  void boxFillColour(Rgb colour) const { mYazan->BFCl(colour); }

  // A picture file scaled into the rectangle at (x, y).
  void picture(std::string_view file, int x, double y, int width, int height) const {
    mYazan->ResC(file, x, Currency::fromDouble(y).value_or(Currency{}), width, height);
  }

  int pageNumber() const { return mYazan->pageNumber(); }
  double leftMargin() const { return mYazan->leftMargin(); }
  double topMargin() const { return mYazan->topMargin(); }

 private:
  Yazan* mYazan;
};

}  // namespace lum
