#pragma once

#include <string>
#include <vector>

namespace lum {

// A cell of a detail panel's layout grid, row and column from 0.
struct PanelCell {
  int row = 0;
  int column = 0;
  int columnSpan = 1;
};

// Where one box of a detail panel stands, and how wide it is.
struct PanelBoxPlace {
  PanelCell cell;
  int characters = 0;  // the width of a short field; 0: the usual width, growing with the window
};

// A caption of the layout: a box's label (its buddy, so that its mnemonic
// and the screen reader find the box) or a column heading (no box).
struct PanelCaption {
  std::string text;
  PanelCell cell;
  int box = -1;
};

// Where a detail panel's boxes and captions stand when the window lays
// them out as a form rather than one row per box under its label. The box
// numbers, and so the order of the keys and the lines stored, stay those
// of the panel.
struct PanelArrangement {
  std::vector<PanelBoxPlace> boxes;  // one per box, by box number
  std::vector<PanelCaption> captions;
  int stretchColumn = -1;  // the column that takes the room the window gives, if any
};

}  // namespace lum
