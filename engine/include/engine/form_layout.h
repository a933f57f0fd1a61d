// The geometry of a skinned window frame, independent of the platform: the
// non-client sizes a skin gives a window, the client rectangle inside a window
// rectangle, hit testing of the caption and menu rows, the caption text
// placement and which title buttons show where.
#pragma once

#include <functional>

#include "engine/geometry.h"
#include "engine/skin_elements.h"

// How a window's frame is drawn.
enum class TBorderKind : int { Sizeable = 0, Fixed = 1, NoCaption = 2, Dialog = 3 };
enum class TWinState : int { Normal = 0, Maximised = 1, Minimised = 2 };

// The skin's non-client sizes for one window.
struct TFrameMetrics {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Menu = 0;  // menu-bar row below the caption
};

// Border thicknesses: the top and bottom strips' frame heights, the side
// strips' frame widths. A window without a caption keeps its native frame.
TFrameMetrics ComputeFrameMetrics(const TSkinContent& skin, TBorderKind kind, int menu_height);

// The client rectangle of a window at (x, y) of size cx by cy: the window
// less the skin's borders and menu row. Never of negative size: a window
// smaller than its borders has an empty client area at the inner edge.
TRect ClientFromWindow(int x, int y, int cx, int cy, const TFrameMetrics& m);

// Outer size that keeps a client area of cw by ch.
inline int OuterWidth(int cw, const TFrameMetrics& m) {
  return cw + m.Left + m.Right;
}
inline int OuterHeight(int ch, const TFrameMetrics& m) {
  return ch + m.Top + m.Bottom + m.Menu;
}

// Hit-test codes used here (the platform's values).
constexpr int kHitNowhere = 0, kHitClient = 1, kHitCaption = 2, kHitMenu = 5;
// Refines the platform's answer for a point in window coordinates: the
// platform's "nowhere" or "caption" become caption below the top 3 pixels and
// menu in the menu row.
int RefineHitTest(int platform_answer, TPoint window_point, const TFrameMetrics& m);

// Facts the title-button rules read.
struct TTitleFacts {
  TWinState State = TWinState::Normal;
  bool Active = true;
  bool SysMenu = true, MinBox = true, MaxBox = true, Help = false;
  TBorderKind Border = TBorderKind::Sizeable;
  bool IsDialog = false;
  // An MDI frame whose active child is maximised and which has a skinned bar.
  bool MdiChildMaximised = false;
  // The window's answer to the application's visibility query, or null
  // (answers 0).
  std::function<int(int visibility, int action)> Query;
};

struct TTitleVisibility {
  bool Visible = false;
  bool Enabled = true;
};

// Whether a title button shows, and whether it is enabled.
TTitleVisibility JudgeTitleButton(const TDataSkinSysButton& b, const TTitleFacts& f);

// The title button's rectangle in window coordinates (empty when the button
// has no bitmap). text: the caption text rectangle; menu_left: the menu-bar
// element's left margin (0 without it).
TRect LayoutTitleButton(const TDataSkinSysButton& b, int window_width, const TRect& text,
                        const TFrameMetrics& m, int menu_left);

// Where the caption text goes inside the caption rectangle c. measured: the
// text's size; right_buttons_left: the largest Xcoord of the visible
// right-aligned buttons.
struct TCaptionFacts {
  bool RightToLeft = false;
  bool Popup = false;  // WS_POPUP window
  TBorderKind Border = TBorderKind::Sizeable;
  int RightButtonsLeft = 0;
};
TRect LayoutCaptionText(const TRect& c, int text_width, int text_height,
                        const TDataSkinTitle& title, const TCaptionFacts& f);
