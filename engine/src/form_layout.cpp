#include "engine/form_layout.h"

#include <algorithm>

namespace {

int StripFrame(const TSkinBitmap& b, int frames, bool vertical) {
  if (b.Empty()) return 0;
  const int n = std::max(1, frames);
  return vertical ? b.Height / n : b.Width / n;
}

}  // namespace

TFrameMetrics ComputeFrameMetrics(const TSkinContent& skin, TBorderKind kind, int menu_height) {
  TFrameMetrics m;
  if (kind == TBorderKind::NoCaption) return m;
  m.Top = StripFrame(skin.TopBorder.Bitmap, skin.TopBorder.FrameCount, true);
  m.Bottom = StripFrame(skin.BottomBorder.Bitmap, skin.BottomBorder.FrameCount, true);
  m.Left = StripFrame(skin.LeftBorder.Bitmap, skin.LeftBorder.FrameCount, false);
  m.Right = StripFrame(skin.RightBorder.Bitmap, skin.RightBorder.FrameCount, false);
  m.Menu = std::max(0, menu_height);
  return m;
}

TRect ClientFromWindow(int x, int y, int cx, int cy, const TFrameMetrics& m) {
  TRect r{x + m.Left, y + m.Top + m.Menu, x + cx - m.Right, y + cy - m.Bottom};
  // Smaller than its borders (or minimised): an empty client area, never a
  // negative one.
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

int RefineHitTest(int platform_answer, TPoint p, const TFrameMetrics& m) {
  // The platform's own caption parts (its buttons, its system-menu icon and
  // menu row) lie where the skin paints something else.
  constexpr int kSysMenu = 3, kMin = 8, kMax = 9, kClose = 20, kHelp = 21;
  const bool caption_like = platform_answer == kHitNowhere || platform_answer == kHitCaption ||
                            platform_answer == kSysMenu || platform_answer == kMin ||
                            platform_answer == kMax || platform_answer == kClose ||
                            platform_answer == kHelp || platform_answer == kHitMenu;
  if (!caption_like) return platform_answer;
  if (m.Menu > 0 && p.Y >= m.Top && p.Y < m.Top + m.Menu) return kHitMenu;
  if (p.Y > 3 && p.Y < m.Top + m.Menu) return kHitCaption;
  if (platform_answer == kHitNowhere || platform_answer == kHitCaption) return platform_answer;
  return kHitCaption;
}

namespace {

bool FirstCondition(int v, const TTitleFacts& f, int action) {
  const bool max = f.State == TWinState::Maximised;
  switch (v) {
    case 0:
      return true;
    case 1:
      return max;
    case 2:
      return !max;
    case 3:
      return f.Active;
    case 4:
      return !f.Active;
    case 5:
      return false;
    case 6:
    case 8:
      return (f.MinBox || f.MaxBox) && f.SysMenu;
    case 7:
      return !f.MaxBox;
    case 9:
      return !f.MinBox;
    case 10:
      return f.Help && !f.MinBox && !f.MaxBox;
    case 100:
      return f.MdiChildMaximised;
    case 200:
      return f.Border == TBorderKind::Dialog && !f.IsDialog;
    default:
      break;
  }
  if (v >= 201 && v <= 999) return true;
  if (v >= 1000 && v <= 2000) return f.Query && f.Query(v, action) > 0;
  return false;
}

bool SecondCondition(int v, const TTitleFacts& f, bool first) {
  const bool max = f.State == TWinState::Maximised;
  switch (v) {
    case 0:
      return true;
    case 1:
      return max;
    case 2:
      return !max;
    case 3:
      return f.Active;
    case 4:
      return !f.Active;
    case 5:
      return false;
    case 6:
    case 8:
      return f.MinBox || f.MaxBox;
    case 7:
      return !f.MaxBox;
    case 9:
      return !f.MinBox;
    case 10:
      return f.Help;
    case 100:
      return first;
    case 200:
      return f.Border == TBorderKind::Dialog && !f.IsDialog;
    default:
      break;
  }
  return v >= 201 && v <= 2000;
}

}  // namespace

TTitleVisibility JudgeTitleButton(const TDataSkinSysButton& b, const TTitleFacts& f) {
  TTitleVisibility r;
  const bool first = FirstCondition(b.Visibility, f, b.Action);
  r.Visible = first && SecondCondition(b.Visibility1, f, first);
  switch (b.Action) {
    case 0:
      if (!f.SysMenu) r.Visible = false;
      break;
    case 1:
    case 22:
      r.Enabled = f.MaxBox && f.SysMenu;
      break;
    case 2:
    case 23:
      r.Enabled = f.MinBox && f.SysMenu;
      break;
    case 3:
    case 11:
    case 12:
      if (f.Border == TBorderKind::Dialog) r.Visible = false;
      break;
    default:
      break;
  }
  return r;
}

TRect LayoutTitleButton(const TDataSkinSysButton& b, int window_width, const TRect& text,
                        const TFrameMetrics& m, int menu_left) {
  if (b.Bitmap.Empty()) return {};
  const int w = b.Bitmap.Width / std::max(1, b.FrameCount);
  const int h = b.Bitmap.Height;
  int x = 0, y = 0;
  switch (b.Align) {
    case 0:
      x = b.Xcoord, y = b.Ycoord;
      break;
    case 1:
      x = window_width - b.Xcoord, y = b.Ycoord;
      break;
    case 2:
    case 8:
      x = text.Left - w - b.Xcoord, y = b.Ycoord;
      break;
    case 3:
    case 9:
      x = b.Xcoord + text.Right, y = b.Ycoord;
      break;
    case 100:
      x = window_width - b.Xcoord - m.Right - menu_left;
      y = m.Top + (m.Menu - h) / 2;
      break;
    default:
      x = b.Xcoord, y = b.Ycoord;
      break;
  }
  return TRect{0, 0, w, h}.Offset(x, y);
}

TRect LayoutCaptionText(const TRect& c, int text_width, int text_height, const TDataSkinTitle& t,
                        const TCaptionFacts& f) {
  const int shift = t.LeftWidth, shift_vert = t.TopHeight, right_clip = t.RightWidth;
  TRect r{c.Left, c.Top, c.Left + std::max(0, text_width), c.Top + std::max(0, text_height)};
  r.Right += t.TXTBackleft + t.TXTBackRight;
  const int tw = r.Width(), cw = c.Width();
  int x = 0;
  if (!f.RightToLeft) {
    switch (t.TextAlignment) {
      case 1:
        x = (cw - tw) / 2;
        break;
      case 2:
        x = cw - right_clip - tw;
        break;
      default:
        x = shift;
        break;
    }
  } else {
    switch (t.TextAlignment) {
      case 1:
        x = (cw - tw - f.RightButtonsLeft) / 2;
        break;
      case 2:
        x = shift;
        break;
      default:
        x = cw - f.RightButtonsLeft - tw;
        break;
    }
  }
  const int y = (c.Height() - text_height) / 2 + shift_vert / 2;
  r = r.Offset(x, y);
  if (f.RightToLeft && x <= 0) r.Left = c.Left + shift;
  if (f.RightToLeft) {
    r = r.Offset(10, 0);
  } else if (!f.Popup) {
    r.Right = std::min(r.Right, c.Right - right_clip);
  } else if (f.RightButtonsLeft > 5) {
    r.Right = std::min(r.Right, c.Right - f.RightButtonsLeft - 5);
  }
  if (f.Border == TBorderKind::Dialog && t.TextAlignment == 0) r.Left -= 16;
  // Never left of the caption strip (the text would run into the border).
  r.Left = std::max(r.Left, c.Left);
  r.Right = std::max(r.Right, r.Left);
  return r;
}
