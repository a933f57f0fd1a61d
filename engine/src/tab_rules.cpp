#include "engine/tab_rules.h"

#include <algorithm>

namespace {

constexpr uint32_t kTabsBottom = 0x2, kTabsVertical = 0x80;
constexpr int kHdfRight = 0x1, kHdfCenter = 0x2, kHdfImage = 0x800, kHdfOwnerDraw = 0x8000;
constexpr unsigned kTextCenter = 0x1, kTextRight = 0x2;

TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

}  // namespace

TTabSide TabSideFromStyle(uint32_t style) {
  const bool bottom = (style & kTabsBottom) != 0, vertical = (style & kTabsVertical) != 0;
  if (vertical) return bottom ? TTabSide::Right : TTabSide::Left;
  return bottom ? TTabSide::Bottom : TTabSide::Top;
}

TRect TabPaneRect(const TRect& display, const TRect& control) {
  const TRect grown{display.Left - 4, display.Top - 4, display.Right + 4, display.Bottom + 4};
  return Intersect(grown, control);
}

TRect TabStripRect(const TRect& control, const TRect& pane, TTabSide side) {
  TRect s = control;
  switch (side) {
    case TTabSide::Top:
      s.Bottom = std::clamp(pane.Top, control.Top, control.Bottom);
      break;
    case TTabSide::Bottom:
      s.Top = std::clamp(pane.Bottom, control.Top, control.Bottom);
      break;
    case TTabSide::Left:
      s.Right = std::clamp(pane.Left, control.Left, control.Right);
      break;
    case TTabSide::Right:
      s.Left = std::clamp(pane.Right, control.Left, control.Right);
      break;
  }
  return s;
}

TPoint TabLyingSize(const TRect& strip, TTabSide side) {
  const int w = std::max(strip.Width(), 0), h = std::max(strip.Height(), 0);
  return TabSideVertical(side) ? TPoint{h, w} : TPoint{w, h};
}

TRect TabToLying(const TRect& r, const TRect& s, TTabSide side) {
  switch (side) {
    case TTabSide::Top:
      return r.Offset(-s.Left, -s.Top);
    case TTabSide::Bottom:
      return {r.Left - s.Left, s.Bottom - r.Bottom, r.Right - s.Left, s.Bottom - r.Top};
    case TTabSide::Left:
      return {s.Bottom - r.Bottom, r.Left - s.Left, s.Bottom - r.Top, r.Right - s.Left};
    case TTabSide::Right:
      return {r.Top - s.Top, s.Right - r.Right, r.Bottom - s.Top, s.Right - r.Left};
  }
  return r;
}

TRect TabFromLying(const TRect& l, const TRect& s, TTabSide side) {
  switch (side) {
    case TTabSide::Top:
      return l.Offset(s.Left, s.Top);
    case TTabSide::Bottom:
      return {l.Left + s.Left, s.Bottom - l.Bottom, l.Right + s.Left, s.Bottom - l.Top};
    case TTabSide::Left:
      return {l.Top + s.Left, s.Bottom - l.Right, l.Bottom + s.Left, s.Bottom - l.Left};
    case TTabSide::Right:
      return {s.Right - l.Bottom, l.Left + s.Top, s.Right - l.Top, l.Right + s.Top};
  }
  return l;
}

TRect GrowLyingTab(const TRect& lying, bool selected, TPoint lying_size) {
  if (!selected) return lying;
  TRect r = lying;
  r.Left -= kSelectedTabGrowth;
  r.Right += kSelectedTabGrowth;
  r.Top = std::max(0, r.Top - kSelectedTabGrowth);
  r.Bottom = std::max(r.Bottom, lying_size.Y);
  return r;
}

bool TabShows(const TRect& item, const TRect& strip, const TRect& arrows) {
  if (item.IsEmpty() || Intersect(item, strip).IsEmpty()) return false;
  return arrows.IsEmpty() || !Inside(item, arrows);
}

int TabFrame(bool selected) {
  return selected ? kTabSelected : kTabNormal;
}

int ButtonTabFrame(bool selected, bool hot, bool enabled) {
  if (!enabled) return 3;
  if (selected) return 2;
  return hot ? 4 : 1;
}

TMargins TabPaneMargins(int tabs_style, TMargins tab_pane) {
  return tabs_style != 0 ? tab_pane : TMargins{4, 5, 4, 4};
}

TRect TabCloseBox(const TRect& tab) {
  return {tab.Right - 8, tab.Top + 2, tab.Right - 2, tab.Top + 8};
}

bool InCloseBox(const TRect& box, TPoint p) {
  return p.X >= box.Left && p.X <= box.Right && p.Y >= box.Top && p.Y <= box.Bottom;
}

int PageOfTab(const bool* tab_visible, int page_count, int tab) {
  if (!tab_visible || tab < 0) return -1;
  int seen = 0;
  for (int i = 0; i < page_count; ++i) {
    if (!tab_visible[i]) continue;
    if (seen++ == tab) return i;
  }
  return -1;
}

unsigned ItemAlignFlags(TItemAlign a) {
  switch (a) {
    case TItemAlign::Right:
      return kTextRight;
    case TItemAlign::Centre:
      return kTextCenter;
    default:
      return 0;
  }
}

TItemContentPlace PlaceItemContent(const TRect& rect, TItemAlign align, TPoint text, TPoint icon,
                                   bool has_image) {
  TItemContentPlace p;
  p.HasImage = has_image && icon.X > 0 && icon.Y > 0 && icon.X < rect.Width();
  const int cx = p.HasImage ? icon.X : 0, cy = p.HasImage ? icon.Y : 0;
  const int gap = p.HasImage ? 2 : 0;
  const int tw = std::max(text.X, 0), th = std::max(text.Y, 0);
  const int w = rect.Width(), h = rect.Height();
  int x = 3;
  if (align == TItemAlign::Centre) x = (w - tw - cx - gap) / 2;
  if (align == TItemAlign::Right) x = w - tw - cx - gap - 2;
  if (x < 2) x = 1;
  p.Image = {rect.Left + x, rect.Top + (h - cy) / 2};
  const int tx = rect.Left + x + cx + gap, ty = rect.Top + (h - th) / 2;
  p.Text = {std::max(tx, rect.Left), ty, std::min(tx + tw, rect.Right), ty + th};
  if (p.Text.Right < p.Text.Left) p.Text.Right = p.Text.Left;
  return p;
}

int HeaderSectionFrame(bool hot, bool pressed, int frames) {
  frames = std::max(frames, 1);
  int f = 1;
  if (pressed)
    f = frames >= 3 ? 3 : 2;
  else if (hot)
    f = 2;
  return std::min(f, frames);
}

TItemAlign HeaderAlign(int format) {
  if ((format & 3) == kHdfRight) return TItemAlign::Right;
  if ((format & 3) == kHdfCenter) return TItemAlign::Centre;
  return TItemAlign::Left;
}

bool HeaderUsesImage(int format) {
  return (format & (kHdfImage | kHdfOwnerDraw)) != 0;
}

TRect HeaderRest(const TRect& header, int rightmost) {
  const int left = std::max(rightmost, header.Left);
  if (left >= header.Right) return {};
  return {left, header.Top, header.Right, header.Bottom};
}

int HeaderSectionAt(const TRect* sections, int count, TPoint p) {
  if (!sections) return -1;
  for (int i = 0; i < count; ++i) {
    const TRect& r = sections[i];
    if (p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom) return i;
  }
  return -1;
}

int StatusPanelFrame(TPanelBevel bevel) {
  switch (bevel) {
    case TPanelBevel::Raised:
      return 2;
    case TPanelBevel::None:
      return 3;
    default:
      return 1;
  }
}

TRect StatusPanelRect(const TRect& reported, bool last, const TRect& bar) {
  TRect r = reported;
  r.Right = last ? bar.Right : r.Right + 2;
  return Intersect(r, bar);
}

TItemAlign StatusPanelAlign(TItemAlign a, bool right_to_left) {
  if (!right_to_left) return a;
  if (a == TItemAlign::Left) return TItemAlign::Right;
  if (a == TItemAlign::Right) return TItemAlign::Left;
  return a;
}

TRect StatusPanelTextRect(const TRect& panel, TItemAlign align, TPoint text) {
  const TRect inner{panel.Left + 2, panel.Top, std::max(panel.Right - 2, panel.Left + 2),
                    panel.Bottom};
  const int th = std::max(text.Y, 0), tw = std::max(text.X, 0);
  const int top = inner.Top + (inner.Height() - th) / 2 - 1;
  TRect r{inner.Left, top, inner.Right, top + th};
  if (align == TItemAlign::Centre && tw < inner.Width()) {
    r.Left = inner.Left + (inner.Width() - tw) / 2;
    r.Right = r.Left + tw;
  }
  return r;
}

TRect StatusGripRect(const TRect& bar, TPoint cell) {
  if (cell.X <= 0 || cell.Y <= 0) return {};
  const int right = bar.Right - 1, bottom = bar.Bottom - 1;
  return {right - cell.X, bottom - cell.Y, right, bottom};
}
