// Group boxes, radio groups and the media player's overlay wearing the skin:
// where a group box's frame line and caption go, which media-player buttons
// show and in which cells, which button a click hits, which frame and glyph
// a button shows and where the glyph sits, and the engine's own glyph
// pictures. Independent of the platform; the Windows skinners read the
// controls and draw.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/geometry.h"
#include "format/bmp.h"

// ---- group boxes ---------------------------------------------------------------

// The platform's text flags of a caption.
constexpr unsigned kGroupTextRight = 0x2, kGroupTextExpandTabs = 0x40,
                   kGroupTextRtlReading = 0x20000;
// Corner diameter of the rounded frame line.
constexpr int kGroupCorner = 5;
// The caption's inset from the edge it is aligned to.
constexpr int kGroupCaptionInset = 8;

struct TGroupBoxLayout {
  TRect Frame;    // the rounded rectangle of the frame line
  TRect Caption;  // the rectangle the caption is drawn in
  unsigned Flags = kGroupTextExpandTabs;
};
// `rect` is the window at origin 0,0; `digit_height` the height of "0" in the
// caption font (0 when it could not be measured: the line then starts at the
// top edge). The line lies digit_height / 2 - 1 below the top; the caption
// starts 8 pixels in from the left, or ends 8 pixels in from the right for a
// right-aligned box (which also reads right to left when `rtl_reading`).
TGroupBoxLayout PlaceGroupBox(const TRect& rect, int digit_height, bool right_aligned,
                              bool rtl_reading);

// The caption: the window text, or the control's caption property when the
// window has none.
std::wstring GroupBoxCaption(const std::wstring& window_text, const std::wstring& property);

// ---- media players -------------------------------------------------------------

// The buttons in the order of the player's button enumeration.
enum TMediaButton : int {
  btPlay,
  btPause,
  btStop,
  btNext,
  btPrev,
  btStep,
  btBack,
  btRecord,
  btEject
};
constexpr int kMediaButtons = 9;
constexpr int kNoMediaButton = 9;  // no button hit or pressed
// Glyph pictures of a button: enabled, disabled, coloured.
constexpr int kGlyphEnabled = 0, kGlyphDisabled = 1, kGlyphColoured = 2, kMediaGlyphs = 3;
// The glyphs' transparent colour (0x00RRGGBB): olive.
constexpr uint32_t kMediaGlyphKey = 0x808000;

// "btPlay" .. "btEject"; empty out of range.
const char* MediaButtonIdent(int button);
// The bitmap resource of a glyph: "EN_MPPLAY" .. "CL_MPEJECT"; empty out of
// range.
std::string MediaGlyphResource(int glyph, int button);

// Which buttons the player's three set properties name, read as text
// ("[btPlay,btStop]"): each member is one identifier between the brackets,
// compared without regard to case.
struct TMediaButtonSets {
  std::array<bool, kMediaButtons> Visible{};
  std::array<bool, kMediaButtons> Enabled{};
  std::array<bool, kMediaButtons> Coloured{};
  int VisibleCount = 0;
};
TMediaButtonSets ReadMediaButtonSets(std::string_view visible, std::string_view enabled,
                                     std::string_view coloured);

// Width of one cell: the overlay's width shared among the visible buttons
// (integer division; 0 without visible buttons or width).
int MediaCellWidth(int width, int visible_count);
// The cell of `button` in an overlay `width` by `height`: visible buttons
// side by side from the left, invisible ones taking no room. Empty for an
// invisible button.
TRect MediaButtonCell(const TMediaButtonSets& sets, int button, int width, int height);
// The button under x (the message's low word, taken unsigned): the first
// visible cell with left <= x <= left + cell width, so a point on the border
// between two cells belongs to the left one; kNoMediaButton past the last.
int MediaHitTest(const TMediaButtonSets& sets, int cell_width, unsigned x);

// The frame of the [Buttons] strip and the glyph a button shows.
struct TMediaButtonLook {
  int Frame = 1;  // 1 normal, 2 pressed, 3 disabled
  int Glyph = kGlyphEnabled;
};
TMediaButtonLook MediaButtonLook(const TMediaButtonSets& sets, int button, bool pressed,
                                 int down_button);
// Where a glyph of `glyph` size sits in `cell`: centred (halves truncated),
// one pixel down and right in the pressed frame. y is measured from the
// overlay's top, as the cells all start there.
TPoint MediaGlyphPosition(const TRect& cell, TPoint glyph, int frame);

// The engine's own glyph picture of a button (12 by 12, 24 bits) on the
// key colour, used when the program carries no resource for it: black
// marks for enabled, grey for disabled, coloured for coloured. Empty out of
// range.
TPixmap MakeMediaGlyph(int glyph, int button);
