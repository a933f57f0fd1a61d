// Scroll bars wearing the skin's Scrollbar strip: where the thumb of a
// scroll-bar control sits, which part a point is over, the arrows' and the
// gripper's rectangles and cells, the thumb's frame, how a dragged thumb
// follows the cursor, how thick the bar is drawn, the position a combo box
// list's own thumb dragging asks for, and the square between two bars.
// Independent of the platform; the Windows skinners gather the bar's facts
// and draw.
#pragma once

#include "engine/geometry.h"

// Part codes: the scroll request codes of the platform's scroll messages.
constexpr int kScrollPartNone = -1, kScrollFirstArrow = 0, kScrollLastArrow = 1,
              kScrollPageBefore = 2, kScrollPageAfter = 3, kScrollThumb = 5;
// A request code as a part: codes that name no part (the end of a scroll,
// a thumb position, top, bottom) become kScrollPartNone.
int ScrollPartOfRequest(int request);

// The platform's MulDiv: a * b / c rounded half away from zero through a
// 64-bit product; -1 when c is 0 or the result does not fit.
int ScrollMulDiv(int a, int b, int c);

// A scroll-bar control's range as the platform reports it.
struct TScrollRange {
  int Min = 0, Max = 0;
  int Page = 0;
  int Pos = 0;
};
// The divisor for positions in a range: Max - Min, or a huge number for an
// empty (or inverted) range so every thumb sits at the first arrow.
constexpr int kEmptyRangeDivisor = 9999999;
int ScrollRangeDivisor(const TScrollRange& range);

// A thumb's extent along the bar, in bar coordinates.
struct TThumbExtent {
  int Start = 0, End = 0;
  int Length() const { return End - Start; }
  bool operator==(const TThumbExtent& o) const { return Start == o.Start && End == o.End; }
};
// The thumb of a scroll-bar control `length` long with arrows `arrow` long:
// proportional to the page (at least 8 pixels), or an arrow's length when
// the bar has no page.
TThumbExtent EmulateThumb(int length, int arrow, const TScrollRange& range);

// The part under position p along a bar `length` long.
int ScrollHitPart(int p, int arrow, int length, TThumbExtent thumb);

// The two arrows of a bar `length` long and `thickness` thick: each an
// arrow long, or half the bar each when it is shorter than two arrows.
struct TArrowRects {
  TRect First, Last;
};
TArrowRects ScrollArrowRects(int length, int arrow, int thickness, bool vertical);
// The shaft between the arrows.
TRect ScrollShaftRect(int length, int arrow, int thickness, bool vertical);

// Cells of the Scrollbar strip (1-based, 23 cells).
constexpr int kScrollStripCells = 23;
// The cell of the first or last arrow: its normal cell, +1 while pressed
// and +3 while hot when `hot_part` names that arrow.
int ScrollArrowCell(bool vertical, bool last, int hot_part, bool pressed);
// The shaft element's frame: 1 enabled, 3 disabled (a disabled bar shows
// no thumb).
int ScrollShaftFrame(bool enabled);
// The thumb element's frame: 1 normal, 2 pressed, 3 hot (hot_part thumb).
int ScrollThumbFrame(int hot_part, bool pressed);
// The gripper's cell on a horizontal (17..19) or vertical (20..22) thumb.
int ScrollGripperCell(bool vertical, int hot_part, bool pressed);
// The thumb's rectangle in a bar `thickness` thick.
TRect ScrollThumbRect(TThumbExtent thumb, int thickness, bool vertical);
// The gripper `grip` pixels long centred on the thumb; empty when it does
// not fit inside the thumb with a pixel to spare at each end.
TRect ScrollGripperRect(TThumbExtent thumb, int grip, int thickness, bool vertical);

// The thumb while dragged: where it was at the press moved by the cursor's
// travel, kept between the arrows; its length stays.
TThumbExtent DragScrollThumb(int start_at_press, int travel, int arrow, int length,
                             TThumbExtent current);

// How thick the bar is drawn: the strip's height, or the system's scroll
// bar width when the strip is more than 2 pixels off it.
int ScrollBarThickness(int strip_height, int system_width);

// A combo box list dragging its own thumb: the position for a thumb moved
// `offset` pixels from the first arrow on a track `track` long holding a
// thumb `thumb` long. Never beyond the last position a page allows.
int ComboThumbPosition(int offset, int track, int thumb, const TScrollRange& range);

// The square between a vertical and a horizontal bar, in window
// coordinates: the bars' rectangles are in client coordinates and
// `client_offset` is where the client area starts in the window.
TRect ScrollCornerRect(const TRect& vertical_bar, const TRect& horizontal_bar,
                       TPoint client_offset);
