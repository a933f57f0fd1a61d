// Check boxes and radio buttons wearing the skin's check and radio strips:
// which cell of a strip shows a control's state, how big a cell is, and where
// the glyph and the caption go. Independent of the platform; the Windows
// skinner gathers the facts and draws.
#pragma once

#include <string>
#include <vector>

#include "engine/geometry.h"
#include "engine/image_ops.h"

// A strip's cell count as the skin gives it; at least 1.
int CheckStripCells(int cells);
// Width of one cell of a strip `bitmap_width` wide; 0 when the strip is too
// narrow to hold a pixel per cell (nothing can be drawn from it).
int CheckStripCellWidth(int bitmap_width, int cells);

// What the skinner read from a check box.
struct TCheckFacts {
  bool WindowChecked = false;        // the window's check state has the checked bit
  bool WindowIndeterminate = false;  // ... the indeterminate bit
  bool HasState = false;             // a framework State property ...
  std::string StateIdent;            // ... and its identifier in lower case
  bool HasChecked = false;           // a framework Checked property ...
  std::string CheckedIdent;          // ... and its identifier in lower case
  bool HasDataField = false;         // data-aware: the last programmatic check state
  int LastCheck = 0;                 // 0, or the last check request's value plus 1
  bool HasDataBinding = false;
  bool Disabled = false;
};
// The 1-based cell of a check-box strip of `cells` cells: a 12-cell strip
// has unchecked, checked and indeterminate rows of four (the fourth of each
// disabled); other strips have unchecked, checked, unchecked disabled and
// checked disabled, indeterminate sharing the last. Always within the strip.
int CheckBoxCell(const TCheckFacts& facts, int cells);

struct TRadioFacts {
  bool WindowChecked = false;
  bool HasChecked = false;  // a framework Checked property overrides the window
  std::string CheckedIdent;
  bool Disabled = false;
};
// The 1-based cell of a radio strip: an 8-cell strip has unchecked and
// checked rows of four; others unchecked, checked and their disabled cells.
int RadioButtonCell(const TRadioFacts& facts, int cells);

// Where a cell of `cell` size and the caption go in a control's rectangle.
// The platform's text flags of the caption:
constexpr unsigned kCheckTextRight = 0x2, kCheckTextRtl = 0x20000;
struct TCheckLayout {
  TRect Glyph;
  TRect Text;  // the area the caption is measured and drawn in
  unsigned Flags = 0;
};
// `right_button`: the glyph sits at the right edge (a radio glyph one pixel
// in from it); `rtl`: the control reads right to left.
TCheckLayout PlaceCheckGlyph(const TRect& rect, TPoint cell, bool right_button, bool radio,
                             bool rtl);
// The caption area moved down so a caption `measured_height` tall sits in
// its vertical middle.
TRect CentreCheckCaption(const TRect& area, int measured_height);

// Whether check boxes and radio buttons draw a focus rectangle on a system
// of this major version.
bool CheckFocusCues(int os_major_version);

// Check boxes and radio buttons of other component libraries draw their
// glyphs from a strip of their own; the skin's strip is rearranged into
// theirs. Kinds: 1 a check box whose strip has unchecked, checked and grayed
// rows for normal, pressed and disabled (9 cells), 2 a radio button (6 cells),
// 3 a check box with unchecked, checked and grayed cells twice (6 cells).
// The skin cell (0-based) behind each cell of the library's strip, -1 where
// the cell stays blank: the grayed cell exists only in 5-cell skin strips,
// and a cell the skin strip does not have stays blank too. Empty for an
// unknown kind.
std::vector<int> ObjImageCells(int kind, int skin_cells);
// The library's strip built from a skin strip of `skin_cells` cells: cells
// of the skin's cell width side by side, blank cells magenta (the colour the
// libraries are told is transparent). Empty when the skin strip cannot give
// a cell.
TPixmap BuildObjImageStrip(const TPixmap& skin_strip, int skin_cells, int kind);
