// Skin elements: the parsed pieces of a skin (a bitmap strip of state frames,
// the margins that are never scaled, flags and colours) and the holder of
// every element a skin can give.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/colour.h"
#include "engine/geometry.h"
#include "format/bmp.h"

// A skin bitmap: a 24-bit image, or empty.
struct TSkinBitmap : TPixmap {
  TSkinBitmap() : TPixmap() {}
  TSkinBitmap(TPixmap image) : TPixmap(std::move(image)) {}  // NOLINT: implicit on purpose
  bool Empty() const { return Width <= 0 || Height <= 0; }
  void Clear() { *this = TSkinBitmap(); }
};

class TDataSkinObject {
 public:
  virtual ~TDataSkinObject() = default;

  int LeftWidth = 0;
  int TopHeight = 0;
  int RightWidth = 0;
  int BottomHeight = 0;
  TSkinBitmap Bitmap;
  int Trans = 0;  // 1: magenta is transparent when drawn
  int Tile = 0;   // 1: the centre is tiled (borders: the skin's Stretch value)
  std::string Name;
  int FrameCount = 1;
  int Style = 0;
  int NormalColour = -1;
  int MouseOverColour = -1;
  int PressedColour = -1;
  TColor NormalColour2 = 0;
  TColor MouseOverColour2 = 0;
  TColor PressedColour2 = 0;

  TMargins Margins() const { return {LeftWidth, TopHeight, RightWidth, BottomHeight}; }
  void SetMargins(TMargins m) {
    LeftWidth = m.Left;
    TopHeight = m.Top;
    RightWidth = m.Right;
    BottomHeight = m.Bottom;
  }
  // Frame k (1-based, clamped) of the strip, side by side or stacked.
  TRect Frame(int k, bool vertical = false) const {
    return FrameRect(Bitmap.Width, Bitmap.Height, FrameCount, k, vertical);
  }
};

class TDataSkinBorder : public TDataSkinObject {
 public:
  TSkinBitmap SecondBitmap;
};

// The caption element: LeftWidth holds TextShift, TopHeight TextShiftVert,
// RightWidth TextRightClip; Bitmap is the caption-text background strip.
class TDataSkinTitle : public TDataSkinObject {
 public:
  int TextAlignment = 0;  // 0 left, 1 centre, 2 right
  int TXTBackleft = 0;
  int TXTBackRight = 0;
};

class TDataSkinButton : public TDataSkinObject {
 public:
  TSkinBitmap CheckBitmap;
  TSkinBitmap RadioBitmap;
  int RadioButtonFrame = 0;  // cells in RadioBitmap
  int CheckButtonFrame = 0;  // cells in CheckBitmap
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
 public:
  int Action = 0;
  int Align = 0;
  int Xcoord = 0;
  int Ycoord = 0;
  int CombineOp = -1;
  int Visibility = 0;
  int Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  int BackgroundLeftShift = 0;
  int BackgroundRightShift = 0;
  int BackgroundAlignment = 0;
};

// Slots of the [Colours] table.
enum TSkinColourSlot : int {
  kcWindowText = 0,
  kcTitleTextActive = 1,
  kcTitleTextNoActive = 2,
  kcButtonFace = 3,
  kcButtonText = 4,
  kcButtonHilight = 5,
  kcButtonlight = 6,
  kcButtonShadow = 7,
  kcButtonDkShadow = 8,
  kcHilightText = 11,
  kcHilight = 12,
  kcMenubar = 13,
  kcMenuBarText = 14,
  kcMenuText = 15,
  kcMenu = 16,
  kcScrollbar = 18,
  kSkinColourCount = 19
};

// Element slots, one per skin section the engine reads (plus two derived
// elements, ComboxArrow and Toolbar, that survive a reload).
enum TSkinSlot : int {
  ksProgress,
  ksProgressChunk,
  ksMenuBar,
  ksGroupBoxEdge,
  ksGroupBox,
  ksTabs,
  ksStatusBarEdges,
  ksTabPane,
  ksToolBars,
  ksComboButton,
  ksSunkEdge,
  ksExtraImages,
  ksHeaderbar,
  ksMenuItem,
  ksMenuBackground,
  ksScrollbar,
  ksHorzScroll,
  ksVertScroll,
  ksHorzScrollThumb,
  ksVertScrollThumb,
  ksTrackThumbHorz,
  ksTrackThumbVert,
  ksTrackThumbLeft,
  ksTrackThumbRight,
  ksTrackThumbUp,
  ksTrackThumbDown,
  ksUpDownHorz,
  ksUpDownVert,
  ksTrack,
  ksTrackVert,
  ksComboxArrow,
  ksToolbar,
  kSkinSlotCount
};

// The section (or fixed) name an element slot is read from.
std::string_view SkinSlotName(TSkinSlot slot);

// Everything a parsed skin gives the engine.
class TSkinContent {
 public:
  TSkinContent();

  bool SkinEmpty = true;
  std::array<TColor, kSkinColourCount> Colours{};
  std::array<bool, kSkinColourCount> ColourSet{};
  TColor FrameSample = 0;
  std::vector<TColor> Palette;
  std::array<TColor, 10> CustomColors{};

  TDataSkinTitle Title;
  TDataSkinButton Buttons;
  TDataSkinBorder LeftBorder, RightBorder, TopBorder, BottomBorder;
  std::vector<std::unique_ptr<TDataSkinSysButton>> TitleButtons;  // then the 3 MDI buttons
  std::array<std::unique_ptr<TDataSkinObject>, kSkinSlotCount> Slots;

  TDataSkinObject* Element(TSkinSlot slot) const { return Slots[slot].get(); }
  // A border-class slot (Progress, Tabs, ComboButton, UpDown.*), or null.
  TDataSkinBorder* Border(TSkinSlot slot) const;
  // The element a name as used by the tools stands for: a slot's section
  // name, "Left", "Right", "Top", "Bottom", "Title", "Buttons",
  // "Personality"/"MenuBar", or a title button's section name; null when the
  // skin lacks it.
  const TDataSkinObject* FindElement(std::string_view name) const;
  // True for the elements whose strips are stacked (Top, Bottom, the menu
  // bar, the caption-text strip).
  bool IsVerticalStrip(const TDataSkinObject* element) const;
};

// A compact text of every element: bitmap size, frame count, margins, flags
// and colours, one line each; for tests and the tools.
std::string DumpSkinContent(const TSkinContent& content);
