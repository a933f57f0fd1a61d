// Tab controls, page controls, headers and status bars wearing the skin:
// where the tab strip and the pane lie for every tab side, how a tab's
// rectangle maps into the strip composed lying down (as tabs on top) and
// back, how the selected tab grows, which tabs the overflow arrows hide,
// which frame a tab, a button tab or a header section shows, where an item's
// image and text go, and how status panels and the size grip are laid out.
// Independent of the platform; the Windows skinners read the controls and
// draw.
#pragma once

#include <cstdint>

#include "engine/geometry.h"

// ---- tab controls ----------------------------------------------------------

// The side the tabs are on, from the control's style: the bottom bit (2)
// and the vertical bit (0x80); vertical with the bottom bit is the right.
enum class TTabSide : int { Top = 0, Bottom = 1, Left = 2, Right = 3 };
TTabSide TabSideFromStyle(uint32_t style);
constexpr bool TabSideVertical(TTabSide s) {
  return s == TTabSide::Left || s == TTabSide::Right;
}

// The pane: the control's display area grown by the 4 pixels of its frame,
// kept inside the control's rectangle.
TRect TabPaneRect(const TRect& display, const TRect& control);
// The strip: the part of the control outside the pane on the tab side.
TRect TabStripRect(const TRect& control, const TRect& pane, TTabSide side);

// The strip is composed lying down, as if the tabs were on top: `Along` is
// the strip's extent along the tabs, `Across` its depth from the outer edge
// (y 0) to the pane (y Across). Top strips are composed as they are, bottom
// strips upside down, left strips turned clockwise (they are turned back
// counter-clockwise) and right strips turned counter-clockwise.
TPoint TabLyingSize(const TRect& strip, TTabSide side);
// A rectangle of the control (a tab's item rectangle) in the lying strip,
// and back. The two are exact inverses, and a lying picture turned back
// puts the rectangle's pixels exactly where the item is.
TRect TabToLying(const TRect& item, const TRect& strip, TTabSide side);
TRect TabFromLying(const TRect& lying, const TRect& strip, TTabSide side);

// How much the selected tab grows beside and beyond its item rectangle.
constexpr int kSelectedTabGrowth = 2;
// A tab in the lying strip: the selected one grows by 2 at its sides and
// its outer edge (never past the strip) and reaches down to the pane.
TRect GrowLyingTab(const TRect& lying, bool selected, TPoint lying_size);

// Whether a tab is drawn: its item rectangle meets the strip and is not
// wholly under the overflow arrows (empty `arrows` when they are hidden).
bool TabShows(const TRect& item, const TRect& strip, const TRect& arrows);

// Frames of the Tabs strip and of the [Buttons] strip for button tabs.
constexpr int kTabFrames = 5, kTabNormal = 1, kTabSelected = 2;
int TabFrame(bool selected);
// Button tabs: the pressed frame for the selected tab, the hot frame under
// the mouse, disabled for a disabled control, else normal.
int ButtonTabFrame(bool selected, bool hot, bool enabled);

// The pane's margins: those of Tab.Pane when the pane is from that
// element (Tabs style 1), else the Tabs border picture's fixed 4, 5, 4, 4.
TMargins TabPaneMargins(int tabs_style, TMargins tab_pane);

// A tab's close glyph: a 6 x 6 box in its top-right corner, crossed; the
// box is also where a click closes the page (edges included).
TRect TabCloseBox(const TRect& tab);
bool InCloseBox(const TRect& box, TPoint p);

// The page behind a tab: pages whose tab is hidden have no tab, so tab i
// is the i-th page whose tab shows; -1 when there is none.
int PageOfTab(const bool* tab_visible, int page_count, int tab);

// ---- item content (tabs and headers) ---------------------------------------

enum class TItemAlign : int { Left = 0, Right = 1, Centre = 2 };
// The platform's alignment flags: left 0, right DT_RIGHT, centre DT_CENTER.
unsigned ItemAlignFlags(TItemAlign a);

// Where an item's image and text go in its rectangle: `icon` is the image
// list's icon size (no image when there is no list, no index, or the icon
// is not narrower than the rectangle), `text` the measured text.
struct TItemContentPlace {
  bool HasImage = false;
  TPoint Image;  // top-left of the image
  TRect Text;    // where the text is drawn, clipped across to the rectangle
};
TItemContentPlace PlaceItemContent(const TRect& rect, TItemAlign align, TPoint text, TPoint icon,
                                   bool has_image);

// ---- headers ---------------------------------------------------------------

// A header section's frame of the Headerbar strip of `frames` frames:
// 1 normal, 2 under the mouse, 3 pressed when the strip has a third frame
// (else the hot one); always within the strip.
int HeaderSectionFrame(bool hot, bool pressed, int frames);
// From a section's format: HDF_RIGHT 1, HDF_CENTER 2, else left.
TItemAlign HeaderAlign(int format);
// A section's image index is used only with HDF_IMAGE or HDF_OWNERDRAW.
bool HeaderUsesImage(int format);
// The part of the header right of its last section (empty when none).
TRect HeaderRest(const TRect& header, int rightmost);
// The section whose rectangle holds the point, -1 when none.
int HeaderSectionAt(const TRect* sections, int count, TPoint p);

// ---- status bars -----------------------------------------------------------

// StatusBarEdges frames: 1 lowered, 2 raised, 3 no bevel.
enum class TPanelBevel : int { None, Lowered, Raised };
int StatusPanelFrame(TPanelBevel bevel);
// A panel as the bar reports it, widened by 2 to meet the next; the last
// one reaches the bar's right edge. Kept inside the bar.
TRect StatusPanelRect(const TRect& reported, bool last, const TRect& bar);
// A right-to-left panel exchanges left and right.
TItemAlign StatusPanelAlign(TItemAlign a, bool right_to_left);
// Where a panel's text measured as `text` is drawn: 2 pixels in from the
// sides, centred down (one pixel higher); centred text also centred across,
// other alignments span the panel.
TRect StatusPanelTextRect(const TRect& panel, TItemAlign align, TPoint text);
// The size grip cell (cell 5 of ExtraImages, `cell` its size): its
// bottom-right corner 1 pixel in from the bar's bottom-right corner; empty
// for a cell of no size.
constexpr int kGripCell = 5, kExtraImageCells = 5;
TRect StatusGripRect(const TRect& bar, TPoint cell);
