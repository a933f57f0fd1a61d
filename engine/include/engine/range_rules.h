// Progress bars, track bars and spin buttons wearing the skin: how much of a
// bar is filled, where the chunks of a chunked bar go, which pieces of a
// channel image make a track bar's channel, which cell a thumb shows, how a
// spin button splits into halves and which frame each half shows, and the
// lines of the classic spin arrows. Independent of the platform; the Windows
// skinners read the controls and draw.
#pragma once

#include <vector>

#include "engine/geometry.h"

// ---- progress bars -------------------------------------------------------------

// The platform's MulDiv: a * b / c with a 64-bit product, rounded half away
// from zero; -1 when c is 0 or the result does not fit 32 bits.
int RangeMulDiv(int a, int b, int c);

// How many of a bar's `length` pixels the filled part covers for a position
// in [low, high]: proportional to pos - low, with the position clamped into
// the range, so the low limit fills nothing and the high limit fills the
// whole bar. An empty or reversed range (high <= low) and a bar of no length
// fill nothing. Always within [0, length].
int ProgressFillLength(int length, int pos, int low, int high);

// The rectangle a bar is composed in: the control's own, or for a vertical
// bar the same at origin with width and height exchanged (the picture is
// composed lying down and turned counter-clockwise afterwards, so it fills
// from the bottom up).
TRect ProgressWorkRect(const TRect& rect, bool vertical);

// The filled part of a bar composed in `bar` (the work rectangle).
TRect ProgressFillRect(const TRect& bar, int pos, int low, int high);

// Where the chunks of a chunked bar (skin style 1) go in the work rectangle
// `bar` filled up to `fill_right`.
struct TChunkStrip {
  // Tiled: the strip the chunk copies are laid along (drawn magenta
  // transparent), one chunk tall, vertically centred, starting at the chunk
  // element's left margin plus 2. Not tiled: the picture the chunk element
  // is sliced to, 2 pixels inside the bar. Empty when nothing is drawn.
  TRect Area;
  // Tiled only: the left edges of the copies inside the strip (0, w, 2w, ...).
  std::vector<int> Copies;
};
TChunkStrip PlanChunkStrip(const TRect& bar, int fill_right, TPoint chunk_size, int chunk_left,
                           bool tiled);

// ---- track bars ----------------------------------------------------------------

// A vertical bar's channel as the control reports it: some systems report it
// lying down (wider than tall), then x and y are exchanged; a rectangle that
// already stands is kept.
TRect VerticalChannelRect(const TRect& reported);

// The three pieces of a channel image (image_w by image_h, margins m) that
// make the channel `c`: a horizontal channel keeps the image's height and
// lies from half the channel's height down (from its top when the image is
// at least as tall); a vertical one keeps the image's width, centred across
// when narrower than the channel. The caps are unscaled, the middle
// stretched. Margins are fitted to the image; empty pieces are left out.
std::vector<TBlit> PlanTrackChannel(const TRect& c, int image_w, int image_h, TMargins m,
                                    bool vertical);

// The thumb shows one cell of its five-cell strip, whatever the mouse does.
constexpr int kThumbCells = 5, kThumbCell = 2;
TRect ThumbCellRect(int bitmap_w, int bitmap_h);

// ---- spin buttons --------------------------------------------------------------

enum class TSpinDirection { Up, Down, Left, Right };

struct TSpinHalf {
  TRect Rect;
  TSpinDirection Direction;
};
// The two halves of a spin of `r`: left and right for a horizontal spin,
// upper and lower otherwise (the first takes width / 2 or height / 2).
struct TSpinHalves {
  TSpinHalf First, Second;
};
TSpinHalves SplitSpin(const TRect& r, bool horizontal);

// The look of one half: 1 normal, 2 pressed, 3 disabled, 4 hot.
constexpr int kSpinNormal = 1, kSpinPressed = 2, kSpinDisabled = 3, kSpinHot = 4;
struct TSpinHalfFacts {
  bool Enabled = true;
  bool Pressed = false;       // the left button went down on the spin
  bool Hot = false;           // the mouse is over the spin
  bool CursorInHalf = false;  // the cursor is over this half
};
// Disabled wins; a pressed spin shows pressed in the half under the cursor
// and normal in the other; a hot spin shows hot in the half under the
// cursor.
int SpinHalfState(const TSpinHalfFacts& f);
// The 1-based frame of the 8-frame strip (and of its glyph strip) for a
// half's state: 1..4 for up or left, 5..8 for down or right.
int SpinFrame(TSpinDirection d, int state);

// A spin inside an edit's border keeps at least 3 pixels to the edit's top,
// bottom and right edges: `rect` (the spin at origin) shrunk by what is
// missing. Screen rectangles of the spin and of its parent.
constexpr int kEmbeddedClearance = 3;
TRect EmbeddedSpinRect(const TRect& rect, const TRect& spin_screen, const TRect& parent_screen);

// The classic arrow of a spin half without a skin element: polylines (each
// drawn from point to point, the last point itself left out) around the
// half's middle (2 pixels higher for up and down).
std::vector<std::vector<TPoint>> ClassicSpinArrow(const TRect& half, TSpinDirection d);
// The classic half's fill: the shadow colour for pressed and hot.
bool ClassicSpinShaded(int state);
