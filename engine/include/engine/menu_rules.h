// The decisions behind skinned menus, independent of the platform: how big a
// menu entry is, where its glyph, text, short cut and submenu arrow go (also
// mirrored for right-to-left menus), which frame of the skin's MenuItem strip
// an entry shows, how the separator piece is cut from that strip, and how a
// popup-menu window's background picture, border and device context are
// chosen.
#pragma once

#include <cstdint>

#include "engine/geometry.h"

// ---- measuring -------------------------------------------------------------

// What measuring a native entry needs to know.
struct TMenuMeasureFacts {
  int TextWidth = 0;   // the caption (and short cut) in the menu font
  int TextHeight = 0;  // the font's line height
  bool HasText = true;
  bool HasElement = false;  // the skin has a MenuItem element
  int ElementLeftWidth = 0;
  bool Win95Family = false;
};
struct TMenuSize {
  int Width = 0, Height = 0;
  friend constexpr bool operator==(const TMenuSize&, const TMenuSize&) = default;
};
// Width = text + 26 (+ the element's LeftWidth); height = line + 4, or 8
// without text; 4 more on Windows 95-family systems. Never negative.
TMenuSize MeasureNativeEntry(const TMenuMeasureFacts& f);

// The two widenings of a framework item's own measurement: A for menu-bar
// dropdown items (+ LeftWidth, + 25 without an image list, + 10), B for popup
// and system-menu items (+ LeftWidth, + 23 without an image list, + 12).
int WidenForSkinA(int width, bool has_element, int left_width, bool has_images);
int WidenForSkinB(int width, bool has_element, int left_width, bool has_images);

// ---- drawing an entry -----------------------------------------------------------

// Frame of the 5-frame MenuItem strip: 4 selected, 1 otherwise.
constexpr int MenuItemFrame(bool selected) {
  return selected ? 4 : 1;
}
constexpr int kMenuItemFrames = 5;

// The glyph box's side: 16, or the image list's width; at least 16 for a
// checked entry. A list of zero or negative width counts as none.
int MenuGlyphSize(int image_width, bool checked);

struct TMenuEntryFacts {
  bool HasElement = false;
  int LeftWidth = 0;     // the element's, when it exists
  int GlyphSize = 16;    // MenuGlyphSize
  int GlyphHeight = 16;  // the box's height (the image list's, 16 for checks)
  bool Separator = false;
  bool RightToLeft = false;
  int TextWidth = 0;  // DT_CALCRECT of the caption
  int TextHeight = 0;
  bool HasSubmenu = false;
  int ArrowWidth = 0;  // the system's submenu arrow
};
struct TMenuEntryLayout {
  bool HasGlyph = false;
  TRect Glyph;     // the glyph / check box
  TRect Text;      // where the caption is drawn (vertically centred)
  TRect Shortcut;  // right-aligned (left-aligned right to left) column
  TRect Arrow;     // the submenu arrow's cell (empty without a submenu)
  TRect Line;      // a separator's etched line (top edge)
};
// The layout of an entry in rectangle r (left to right, or mirrored).
TMenuEntryLayout LayoutMenuEntry(const TRect& r, const TMenuEntryFacts& f);

// How the separator piece is cut from frame 2 of the MenuItem strip: the
// bottom part of the frame, r_height high (the whole frame when it is
// shorter), in three columns (left cap, stretched middle, right cap).
struct TSeparatorPiece {
  TRect Source[3];  // in the strip bitmap
  TRect Target[3];  // in the entry rectangle
  bool Valid = false;
};
TSeparatorPiece CutSeparatorPiece(int frame_width, int frame_height, const TRect& r, int left_width,
                                  int right_width);

// ---- the popup window ---------------------------------------------------------

// The rectangle a popup's entries are printed through: the window less its
// border on every side; empty when the window is not larger than its border.
TRect PopupEntryClip(int width, int height, int border);

// Where the client area (the entries' coordinates) sits in the window: the
// client origin's screen point less the window's top-left, never negative
// and never beyond the window.
TPoint PopupClientOffset(TPoint window_origin, TPoint client_origin, int width, int height);

// Which device context paints a popup's frame at WM_NCPAINT.
enum class TFrameDc { Window, UpdateRegion };
// The region in WM_NCPAINT's wParam: 0 and 1 mean the whole window, so the
// window's DC paints it. Otherwise systems of version 5.2 or 6.2 (major >= 5
// and minor >= 2 tested separately) use the window DC; others the update
// region.
TFrameDc ChoosePopupFrameDc(uintptr_t region, bool nt_family, int major, int minor);

// Whether a skin's MenuBackground picture can be used: a parsed skin and a
// bitmap of positive size.
constexpr bool PopupBackgroundUsable(bool skin_empty, int bitmap_width, int bitmap_height) {
  return !skin_empty && bitmap_width > 0 && bitmap_height > 0;
}
