// The bitmap panel's decisions: how the selected element's bitmap is cut
// into frames, where the bitmap and its margin preview sit on the panel, the
// margin preview's pixels, the coordinates read out under the mouse and the
// screen square the zoom view magnifies. The form only blits what these say.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "editor/editor_schema.h"
#include "format/bmp.h"
#include "format/mem_ini.h"

// How a bitmap is cut into frames ("BitmapFrames"): a value below 30 is that
// many frames side by side, 30 or more is (value - 30) frames stacked top to
// bottom, kNoFrameLayout an element without frames.
constexpr int kNoFrameLayout = -1;
constexpr int kStackedFrames = 30;

struct TFrameCut {
  int Count = 0;
  bool Stacked = false;
};
TFrameCut CutOf(int bitmap_frames);

// The frame layout of the element shown under a tree node. Counts come from
// the skin's INI as the engine reads them: the borders' [Personality] keys,
// the thumbs' FrameCount, the header bar's Frame (0 or absent: 5), the
// progress bar's Style (1 frame for a chunked bar, else 2) and a title
// button's "frame" key in its own section (0: 3 or 6 by the bitmap's shape,
// 6 for a button without an action). `title_button` says the node is a child
// of "Title Button"; the bitmap's size only matters for title buttons.
int GetFrameCount(std::string_view caption, bool title_button, const TMemIniFile& skin,
                  const TEditorSchema& schema, int bitmap_width, int bitmap_height);

struct TPos {
  int X = 0, Y = 0;
  bool operator==(const TPos&) const = default;
};
struct TBox {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TBox&) const = default;
};

// The two scroll boxes on the bitmap page: each is half the page's client
// area less 10 pixels, the bitmap's box doubled along the bitmap's longer
// side, the margin preview's box 3 pixels below (a wide bitmap) or to the
// right (a tall or square one).
struct TPanelLayout {
  TBox Bitmap;
  TBox Margins;
};
TPanelLayout LayoutBitmapPage(int client_width, int client_height, int bitmap_width,
                              int bitmap_height);

// Height of the caption bar at the top of each box, and the image's lowest
// top (2 pixels below it).
constexpr int kBoxCaptionHeight = 17;
constexpr int kBoxImageTop = 19;
// Where an image sits in its box: centred across (1 when it is as wide as the
// box or wider), centred in the space below the caption bar (19 when it does
// not fit).
TPos CentreInBox(int box_width, int box_height, int image_width, int image_height);

// The stretch margins typed in the grid.
struct TMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TMargins&) const = default;
};
struct TMarginCell {
  int Type = vtNumber;  // the row's value type; only 21 to 24 count
  std::string Text;     // its value cell
};
// Every non-empty margin cell's integer value (decimal, or hexadecimal after
// "$" or "0x"). False, with the platform's wording in `error`, for a value
// that is not an integer; `margins` then holds the cells read before it.
bool ReadMargins(std::span<const TMarginCell> cells, TMargins& margins, std::string& error);
// "left,top,right,bottom", as the status bar shows them.
std::string FormatMargins(const TMargins& margins);

// Border of grey around the preview, and how far in the frame is drawn.
constexpr int kPreviewInset = 4;
// The margin preview: the bitmap's first frame at (4, 4) in a picture 8
// pixels wider and higher, filled with `face_rgb` (0x00RRGGBB), with blue
// bars along the edges as long as each margin (plus the 4-pixel inset) and a
// one-pixel grey border. False (and `out` untouched) when there is nothing to
// preview: no bitmap, or fewer than one frame.
bool MakeMarginPreview(const TPixmap& bitmap, int bitmap_frames, const TMargins& margins,
                       uint32_t face_rgb, TPixmap& out);
constexpr uint32_t kMarginBarRGB = 0x0000FF;
constexpr uint32_t kPreviewBorderRGB = 0x808080;

// The corner the coordinates are measured from: the tag of the corner
// button that is down (none down counts as top left).
enum TCorner : int { kTopLeft = 1, kTopRight = 2, kBottomLeft = 3, kBottomRight = 4 };
// The read-out for mouse position (x, y) over an image of w by h pixels. Over
// the margin preview the coordinates count from the frame's corner inside the
// border, so that corner pixel reads 1.
TPos ReadOutPosition(int x, int y, int width, int height, int corner, bool margin_preview);

// The zoom view: the screen square around the mouse a quarter of the paint
// box's size, stretched over the whole box, and the cross-hair drawn over it.
struct TZoomView {
  TBox Source;  // screen coordinates
  TPos VertFrom, VertTo, HorzFrom, HorzTo;
};
TZoomView ZoomViewAt(int screen_x, int screen_y, int box_width, int box_height);

// Where a picture is drawn in a preview box: whole, centred, shrunk to fit,
// or magnified by a whole factor (at most 4) when it is small.
TBox FitPicture(int box_width, int box_height, int picture_width, int picture_height);

// Largest bitmap the editor loads; anything bigger is refused before its
// pixels are decoded.
constexpr int kMaxEditorBitmapSide = 8192;
constexpr int64_t kMaxEditorBitmapPixels = int64_t{1} << 24;
// Decodes a member or an imported file. Throws EBmpError for bytes that are
// not a BMP and for a bitmap past the limits above.
TPixmap DecodeEditorBitmap(std::span<const uint8_t> bytes);
// The picture in 24 bits per pixel (exported bitmaps are written so).
TPixmap To24BitPixmap(const TPixmap& image);
