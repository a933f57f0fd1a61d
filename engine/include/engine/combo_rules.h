// Combo boxes, edits and date pickers wearing the skin: which frame a combo
// box and its drop arrow show for a state, where the drop button, its arrow
// and the untouched edit area lie for each way the skin draws a combo box,
// the flat frames drawn around edits and date pickers, and where a date
// picker's skinned drop button goes. Independent of the platform; the
// Windows skinners read the controls and draw.
#pragma once

#include <vector>

#include "engine/geometry.h"

// ---- frames by state -------------------------------------------------------------

// The combo strips' frames (ComboButton, SunkEdge, the composite, the drop
// arrow cells of ExtraImages and ComboxArrow).
constexpr int kComboNormal = 1, kComboPressed = 2, kComboDisabled = 3, kComboHot = 4,
              kComboFrames = 4;

struct TComboState {
  bool Enabled = true;
  bool Pressed = false;  // the left button is down on the combo box or its edit
  bool Focused = false;  // the focus is on the combo box
  bool Hot = false;      // the mouse is over the drop button
};
// Disabled wins; then pressed; then focused or hot; else normal.
int ComboFrame(const TComboState& s);

// A strip mirrored left to right as a whole (the left-button pictures) holds
// its frames in reverse order: frame k of the original is frame n + 1 - k of
// the copy. Clamped to 1..n.
int MirroredFrame(int frame, int frames);

// How the skin draws a combo box: ComboButton's Style.
enum class TComboLook { Classic = 0, SingleButton = 1, Composite = 2 };
TComboLook ComboLookOfStyle(int style);

// ---- part rectangles ----------------------------------------------------------------

// A classic combo box (SunkEdge frame, ComboButton cell, ExtraImages arrow)
// of the window rectangle `r` at origin; `arrow_width` is the system's
// scroll-bar arrow width. The drop button sits at the right, or at the left
// for a window with the left scroll-bar style (then the button image is the
// mirrored copy).
struct TComboClassicParts {
  TRect EditArea;   // left as the control painted it (excluded from drawing)
  TRect Button;     // the button image's cell, stretched
  TRect ArrowArea;  // the arrow cell is centred in it
};
TComboClassicParts PlanClassicCombo(const TRect& r, int arrow_width, bool left_button);

// A cell of `cell` size centred in `area`, offsets truncated toward zero
// (a cell larger than the area overhangs it evenly).
TRect CentreCell(const TRect& area, TPoint cell);

// A combo box drawn from a single button image (style 1): the outer ring in
// the shadow colour, the ring inside it and the button's strip in the
// control's own brush, the button cut from the strip.
struct TComboSingleParts {
  TRect Outer;   // framed in the shadow colour
  TRect Inner;   // framed with the control's brush (the outer less 1)
  TRect Strip;   // filled with the control's brush
  TRect Button;  // the cell, stretched
};
// `r` the window at origin, `cell` the button image's cell size, `strip`
// the system's thumb width.
TComboSingleParts PlanSingleButtonCombo(const TRect& r, TPoint cell, int strip, bool left_button);

// ---- flat frames -------------------------------------------------------------------

enum class TFrameInk { Shadow, White, ControlBrush };
struct TFrameRing {
  TRect Rect;  // framed one pixel wide
  TFrameInk Ink;
};
// An edit's flat frame: three rings from the outside in (shadow, white,
// white) when the window has a border (window and client differ in both
// width and height); none otherwise.
std::vector<TFrameRing> EditFrameRings(TPoint window, TPoint client);
// The frame of a date picker or a frame-only combo box: a shadow ring and a
// white one inside it, unless window and client have the same width or the
// same height.
std::vector<TFrameRing> PickerFrameRings(TPoint window, TPoint client);
// The frame an edit adds to a printed picture of itself: the control's brush
// one pixel inside and the shadow ring outside, when the client is at least
// 2 pixels smaller than the window both ways.
std::vector<TFrameRing> PrintFrameRings(TPoint window, TPoint client);

// ---- date pickers ------------------------------------------------------------------

// Where a date picker's skinned drop button goes, in the picker's client
// coordinates: `button_width` wide, the picker's height less 4 tall, at the
// top, 2 from the left for a left scroll-bar picker, else `button_width` + 4
// from the picker's right edge. Empty for a picker too small to hold it.
TRect PickerButtonRect(TPoint picker, int button_width, bool left_button);
