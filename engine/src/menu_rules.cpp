#include "engine/menu_rules.h"

#include <algorithm>

TMenuSize MeasureNativeEntry(const TMenuMeasureFacts& f) {
  TMenuSize s;
  s.Width = std::max(0, f.TextWidth) + 26 + (f.HasElement ? std::max(0, f.ElementLeftWidth) : 0);
  s.Height = f.HasText ? std::max(0, f.TextHeight) + 4 : 8;
  if (f.Win95Family) s.Height += 4;
  return s;
}

namespace {

int Widen(int width, bool has_element, int left_width, bool has_images, int no_images, int more) {
  int w = std::max(0, width);
  if (has_element) w += std::max(0, left_width);
  if (!has_images) w += no_images;
  return w + more;
}

// x mirrored inside [left, right).
TRect Mirror(const TRect& in, const TRect& r) {
  if (in.IsEmpty() && in.Width() == 0 && in.Height() == 0) return in;
  return {r.Left + r.Right - in.Right, in.Top, r.Left + r.Right - in.Left, in.Bottom};
}

}  // namespace

int WidenForSkinA(int width, bool has_element, int left_width, bool has_images) {
  return Widen(width, has_element, left_width, has_images, 25, 10);
}

int WidenForSkinB(int width, bool has_element, int left_width, bool has_images) {
  return Widen(width, has_element, left_width, has_images, 23, 12);
}

int MenuGlyphSize(int image_width, bool checked) {
  const int g = image_width > 0 ? image_width : 16;
  return checked ? std::max(g, 16) : g;
}

TMenuEntryLayout LayoutMenuEntry(const TRect& r, const TMenuEntryFacts& f) {
  TMenuEntryLayout out;
  const int start = r.Left + 1 + (f.HasElement ? std::max(0, f.LeftWidth) : 0);
  const int g = std::max(0, f.GlyphSize);
  const int gh = std::max(0, f.GlyphHeight);
  out.HasGlyph = !f.Separator;
  if (out.HasGlyph) out.Glyph = {start, r.Top + 1, start + g, r.Top + 1 + gh};
  const int arrow = f.HasSubmenu ? std::max(0, f.ArrowWidth) : 0;
  if (f.HasSubmenu) out.Arrow = {r.Right - 2 - arrow, r.Top, r.Right - 2, r.Bottom};
  const int text_left = (out.HasGlyph ? out.Glyph.Right : start) + 3;
  const int text_right = std::max(text_left, f.HasSubmenu ? out.Arrow.Left : r.Right - 1);
  const int th = std::max(0, f.TextHeight);
  const int top = r.Top + (r.Height() - th) / 2;
  out.Text = {text_left, top, text_right, top + th};
  const int text_end = std::min(text_right, text_left + std::max(0, f.TextWidth));
  const int shortcut_right = std::max(text_end, r.Right - 10 - arrow);
  out.Shortcut = {text_end, top, shortcut_right, top + th};
  if (f.Separator) {
    const int mid = r.Top + r.Height() / 2 - 1;
    out.Line = {start, mid, std::max(start, r.Right - 1), mid + 2};
  }
  if (f.RightToLeft) {
    out.Glyph = Mirror(out.Glyph, r);
    out.Text = Mirror(out.Text, r);
    out.Shortcut = Mirror(out.Shortcut, r);
    out.Arrow = Mirror(out.Arrow, r);
    out.Line = Mirror(out.Line, r);
  }
  return out;
}

TSeparatorPiece CutSeparatorPiece(int frame_width, int frame_height, const TRect& r, int left_width,
                                  int right_width) {
  TSeparatorPiece p;
  if (frame_width <= 0 || frame_height <= 0 || r.IsEmpty()) return p;
  const int h = std::min(frame_height, r.Height());
  const int sy = frame_height - h;
  const int sx = frame_width;  // frame 2
  // Caps never wider than the frame or the target together.
  int lw = std::clamp(left_width, 0, frame_width);
  int rw = std::clamp(right_width, 0, frame_width - lw);
  const int tw = r.Width();
  if (lw + rw > tw) {
    lw = std::min(lw, tw / 2);
    rw = std::min(rw, tw - lw);
  }
  const int ty = r.Bottom - h;
  p.Source[0] = {sx, sy, sx + lw, frame_height};
  p.Source[1] = {sx + lw, sy, sx + frame_width - rw, frame_height};
  p.Source[2] = {sx + frame_width - rw, sy, sx + frame_width, frame_height};
  p.Target[0] = {r.Left, ty, r.Left + lw, r.Bottom};
  p.Target[1] = {r.Left + lw, ty, r.Right - rw, r.Bottom};
  p.Target[2] = {r.Right - rw, ty, r.Right, r.Bottom};
  p.Valid = true;
  return p;
}

TRect PopupEntryClip(int width, int height, int border) {
  const int b = std::max(0, border);
  if (width <= 2 * b || height <= 2 * b) return {};
  return {b, b, width - b, height - b};
}

TPoint PopupClientOffset(TPoint window_origin, TPoint client_origin, int width, int height) {
  const int dx = std::clamp(client_origin.X - window_origin.X, 0, std::max(0, width));
  const int dy = std::clamp(client_origin.Y - window_origin.Y, 0, std::max(0, height));
  return {dx, dy};
}

TFrameDc ChoosePopupFrameDc(uintptr_t region, bool nt_family, int major, int minor) {
  if (region <= 1) return TFrameDc::Window;
  if (nt_family && major >= 5 && minor >= 2) return TFrameDc::Window;
  return TFrameDc::UpdateRegion;
}
