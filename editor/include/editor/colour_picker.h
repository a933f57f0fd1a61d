// The colour picker of the colour page and the screen pick's magnifier, as
// pure functions over 24-bit pixel buffers and one small state machine.
//
// The picker is a square picture W x W: on the left a drawing of the RGB
// cube (blue at the top, black in the centre) with a handle each for red,
// green and blue and a point for the colour, beside it three vertical
// channel sliders; on the right a strip of ready-made colours and a grey bar;
// below the cube the colour's values as RGB, HSV, HLS and hexadecimal text.
// Everything that does not depend on the colour is drawn once per layout into
// a static image; a colour change copies it and draws the markers over it.
// The window control only blits the result, draws the text read-outs and
// routes the mouse.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "format/bmp.h"

// Colours here are 0x00BBGGRR (red in the low byte).
constexpr uint32_t kPickerInitialColour = 0x0052D191;  // red 145, green 209, blue 82
constexpr int kPickerStripWidth = 50;
constexpr int kPickerMinWidth = 180;
constexpr int kPickerMaxWidth = 560;

inline int RedOf(uint32_t c) {
  return static_cast<int>(c & 0xFF);
}
inline int GreenOf(uint32_t c) {
  return static_cast<int>(c >> 8 & 0xFF);
}
inline int BlueOf(uint32_t c) {
  return static_cast<int>(c >> 16 & 0xFF);
}
inline uint32_t MakeColour(int red, int green, int blue) {
  return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
         static_cast<uint32_t>(blue & 0xFF) << 16;
}

// What a width asks of the control: the width it must take (clamped to
// 180..560), whether it must give up a client alignment first (only when it
// was wider than 560), the marker size and the font size in points.
struct TPickerLayout {
  int Width = 0;
  bool DropAlignment = false;
  int MarkerSize = 2;
  int FontSize = 8;
};
TPickerLayout PickerLayoutFor(int width);

// Every position of the picture, derived from its width W and the strip's
// width; names as in the drawing rules (s the left square's side, k the cube's
// scale, r the cube's upper half, d a negative inset, x0..x1 the slider block,
// o the slider margin, m the swatch margin, L the slider travel, cx the cube's
// axis column, e the cube's half-width, h2 the rise of a sideways edge, c the
// marker size).
struct TPickerGeometry {
  int W = 0, s = 0;
  double k = 0;
  int r = 0, d = 0, x0 = 0, x1 = 0, sw = 0, o = 0, m = 0, L = 0, cx = 0, e = 0, h2 = 0, c = 0;
  // Columns where the three slider bars meet (trunc(x0 + sw / 3) and
  // trunc(x0 + 2 sw / 3)), and the press bounds between them (one further).
  int GreenBarLeft = 0, BlueBarLeft = 0, GreenPressLeft = 0, BluePressLeft = 0;
};
TPickerGeometry PickerGeometryFor(int width, int marker_size, int strip_width = kPickerStripWidth);

// Where a colour's markers lie: the slider rows, the handles (cx, Bz),
// (Rx, Ry), (Gx, Gy), the box corners and the colour point Q.
struct TPickerMarks {
  int yR = 0, yG = 0, yB = 0;
  int Bz = 0, Rx = 0, Ry = 0, Gx = 0, Gy = 0;
  int Rtop = 0, Gtop = 0, Px = 0, Py = 0, Qx = 0, Qy = 0;
};
TPickerMarks PickerMarksFor(const TPickerGeometry& g, uint32_t colour);

// Hue, saturation and value (or lightness) of 0..255 channels, each on a 0 to
// 255 scale. The hue comes from the first channel equal to the maximum,
// tested red, green, blue; saturation of HLS is (max - min) / (max + min) at
// every lightness.
struct TColourTriple {
  double A = 0, B = 0, C = 0;
};
TColourTriple RgbToHsv(double red, double green, double blue);  // H, S, V
TColourTriple RgbToHls(double red, double green, double blue);  // H, L, S

// The strip's colour at t (0 top .. 1 bottom): magenta, blue, cyan, green,
// yellow, red, then pastels; black outside 0 <= t < 1.
uint32_t PaletteColor(double t);

// The colour at (x, y) of a 24-bit image, or `fallback` outside it.
uint32_t PixelOf(const TPixmap& image, int x, int y, uint32_t fallback = 0);

// Draws the colour-independent picture into `image` (made W x W, 24 bits):
// background, slider bars, cube faces, strip and grey bar, axes, frames and
// the swatch of `colour`.
void DrawPickerStatic(TPixmap& image, const TPickerGeometry& g, uint32_t background,
                      uint32_t colour);
// Copies `static_image` into `overlay` and draws the colour's slider
// markers, box, handles, colour point (filled with the colour) and swatch.
void DrawPickerOverlay(const TPixmap& static_image, TPixmap& overlay, const TPickerGeometry& g,
                       const TPickerMarks& marks, uint32_t colour);

// One text of the read-outs below the cube: drawn at (X, Y) in Colour.
struct TPickerReadout {
  int X = 0, Y = 0;
  std::string Text;
  uint32_t Colour = 0;
};
// The sizes the read-outs are placed by, measured in the picture's font.
struct TReadoutMetrics {
  int LineHeight = 0;   // height of "I"
  int LetterWidth = 0;  // width of "G"
  int ColumnWidth = 0;  // width of "555555"
};
// Four columns (R G B, H S V, H L S, hexadecimal R G B) of three rows: a
// letter and, one letter width to its right, its value.
std::vector<TPickerReadout> PickerReadouts(const TPickerGeometry& g, uint32_t background,
                                           uint32_t colour, const TReadoutMetrics& metrics);

// What a drag changes.
enum TPickMode : uint8_t {
  pmRedSlider,
  pmGreenSlider,
  pmBlueSlider,
  pmRedHandle,
  pmGreenHandle,
  pmBlueHandle,
  pmStrip,
  pmIdle
};

// The picker's state: layout, background, colour, the cached images and the
// drag in progress. Points are in the picture's coordinates; points outside
// the W x W square never take a colour.
class TColourPicker {
 public:
  TColourPicker();

  // Lays the picture out for `width` (clamped): the static image must be
  // drawn again. Returns what the control must do about its own size.
  TPickerLayout AdjustLayout(int width);
  int LaidOutWidth() const { return geometry_.W; }
  const TPickerGeometry& Geometry() const { return geometry_; }
  int FontSize() const { return font_size_; }

  uint32_t BackGround() const { return background_; }
  // A new background: laid out again for the same width.
  void SetBackGround(uint32_t colour);
  uint32_t CurrentColor() const { return colour_; }
  void SetCurrentColor(uint32_t colour);
  TPickMode PickMode() const { return mode_; }
  const TPickerMarks& Marks() const { return marks_; }
  bool StaticValid() const { return static_valid_; }

  // The finished picture (static image rebuilt when it is stale).
  const TPixmap& Render();
  const TPixmap& StaticImage() const { return static_image_; }

  // Mouse input; true when the picture changed and must be shown again.
  bool MouseDown(int x, int y);
  bool MouseMove(int x, int y);
  void MouseUp() { mode_ = pmIdle; }
  // The crosshair shows over the sliders' markers, the handles and the strip.
  bool CrossCursorAt(int x, int y) const;

 private:
  TPickMode HitTest(int x, int y) const;
  bool TakeStripPixel(int x, int y);
  void ColourChanged();

  TPickerGeometry geometry_;
  int font_size_ = 8;
  uint32_t background_ = 0;
  uint32_t colour_ = kPickerInitialColour;
  TPickMode mode_ = pmIdle;
  TPickerMarks marks_;
  TPixmap static_image_, overlay_image_;
  bool static_valid_ = false, overlay_valid_ = false;
};

// --- The screen pick's magnifier ---------------------------------------------

// The lens: 80 x 80 pixels showing the 20 x 20 captured pixels around the
// cursor, each as a 4 x 4 block; the cursor's pixel covers (48, 48)-(52, 52).
constexpr int kLensSize = 80;
constexpr int kLensZoom = 4;
constexpr int kLensCursorCell = 12;          // the cursor's pixel is the 13th of a row
constexpr uint32_t kLensOutside = 0x404040;  // shown where the capture ends

// The captured pixel under the cursor, the point clamped to the capture
// (black when the capture is empty).
uint32_t CapturedPixelAt(const TPixmap& screen, int x, int y);
// Draws the lens for the cursor at (x, y) of the capture: always centred on
// the cursor's pixel, the part past the capture's edges in kLensOutside, with
// an inverted crosshair through (50, 50) that leaves that pixel as captured.
void DrawLens(const TPixmap& screen, int x, int y, TPixmap& lens);

// The magnifier's top-left for the cursor at (x, y): right of and below the
// cursor (10, 8 pixels away), flipped to the left or above when it would pass
// the screen's right or bottom edge, and kept on the screen.
struct TMagnifierPlace {
  int Left = 0, Top = 0;
};
TMagnifierPlace PlaceMagnifier(int x, int y, int screen_width, int screen_height, int panel_width,
                               int panel_height);

// "$00RRGGBB": red first, as the colour reads, not its byte order.
std::string HexColourLabel(uint32_t colour);
