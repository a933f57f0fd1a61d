#include "engine/geometry.h"

#include <algorithm>

#include "engine/image_ops.h"

TRect FrameRect(int bitmap_w, int bitmap_h, int n, int k, bool vertical) {
  bitmap_w = std::max(bitmap_w, 0);
  bitmap_h = std::max(bitmap_h, 0);
  n = std::max(n, 1);
  k = std::clamp(k, 1, n);
  if (vertical) {
    const int fh = bitmap_h / n;
    return {0, (k - 1) * fh, bitmap_w, k * fh};
  }
  const int fw = bitmap_w / n;
  return {(k - 1) * fw, 0, k * fw, bitmap_h};
}

TMargins FitMargins(TMargins m, int fw, int fh) {
  fw = std::max(fw, 0);
  fh = std::max(fh, 0);
  m.Left = std::clamp(m.Left, 0, fw);
  m.Right = std::clamp(m.Right, 0, fw - m.Left);
  m.Top = std::clamp(m.Top, 0, fh);
  m.Bottom = std::clamp(m.Bottom, 0, fh - m.Top);
  return m;
}

std::vector<TBlit> PlanSliceFrame(int width, int height, const TRect& frame, TMargins m,
                                  bool tile) {
  std::vector<TBlit> plan;
  if (width <= 0 || height <= 0 || frame.IsEmpty()) return plan;
  const int W = width, H = height;
  const int fw = frame.Width(), fh = frame.Height();
  const int sx = frame.Left, sy = frame.Top;
  m = FitMargins(m, fw, fh);
  int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  if (W < L + R) L = R = 0;
  if (H < T + B) T = B = 0;
  auto add = [&](TRect dst, TRect src, bool tiled = false) {
    if (dst.IsEmpty() || src.IsEmpty()) return;
    plan.push_back({dst, src, tiled});
  };
  if (L * T > 0) add({0, 0, L, T}, {sx, sy, sx + L, sy + T});
  if (L * B > 0) add({0, H - B, L, H}, {sx, sy + fh - B, sx + L, sy + fh});
  if (R * T > 0) add({W - R, 0, W, T}, {sx + fw - R, sy, sx + fw, sy + T});
  if (L > 0) add({0, T, L, H - B}, {sx, sy + T, sx + L, sy + fh - B});
  if (T > 0) add({L, 0, W - R, T}, {sx + L, sy, sx + fw - R, sy + T});
  add({L, T, W - R, H - B}, {sx + L, sy + T, sx + fw - R, sy + fh - B}, tile);
  if (R * B > 0) add({W - R, H - B, W, H}, {sx + fw - R, sy + fh - B, sx + fw, sy + fh});
  if (R > 0) add({W - R, T, W, H - B}, {sx + fw - R, sy + T, sx + fw, sy + fh - B});
  if (B > 0) add({L, H - B, W - R, H}, {sx + L, sy + fh - B, sx + fw - R, sy + fh});
  return plan;
}

std::vector<TPoint> TilePositions(const TRect& target, int w, int h) {
  std::vector<TPoint> out;
  if (w <= 0 || h <= 0 || target.IsEmpty()) return out;
  for (int x = target.Left; x < target.Right; x += w) {
    for (int y = target.Top; y < target.Bottom; y += h)
      out.push_back({x, y});
  }
  return out;
}

std::vector<TBlit> PlanCappedStrip(int width, int height, const TRect& frame, int left, int right) {
  std::vector<TBlit> plan;
  if (width <= 0 || height <= 0 || frame.IsEmpty()) return plan;
  const TMargins m = FitMargins({left, 0, right, 0}, frame.Width(), frame.Height());
  const int L = m.Left, R = m.Right, W = width, H = height;
  const int sx = frame.Left, sy = frame.Top, fw = frame.Width(), fh = frame.Height();
  if (L > 0) plan.push_back({{0, 0, L, H}, {sx, sy, sx + L, sy + fh}, false});
  const int mid = fw - L - R;
  if (mid > 0) {
    for (int x = L; x < W - R; x += mid)
      plan.push_back({{x, 0, x + mid, H}, {sx + L, sy, sx + L + mid, sy + fh}, false});
  }
  if (R > 0) plan.push_back({{W - R, 0, W, H}, {sx + fw - R, sy, sx + fw, sy + fh}, false});
  return plan;
}

std::vector<TBlit> PlanThreePartStretch(const TRect& target, const TRect& frame, int left,
                                        int right) {
  std::vector<TBlit> plan;
  if (target.IsEmpty() || frame.IsEmpty()) return plan;
  if (frame.Width() > target.Width()) {
    plan.push_back({target, frame, false});
    return plan;
  }
  const TMargins m = FitMargins({left, 0, right, 0}, frame.Width(), frame.Height());
  const int L = m.Left, R = m.Right;
  const TRect& t = target;
  const TRect& f = frame;
  auto add = [&](TRect dst, TRect src) {
    if (!dst.IsEmpty() && !src.IsEmpty()) plan.push_back({dst, src, false});
  };
  add({t.Left, t.Top, t.Left + L, t.Bottom}, {f.Left, f.Top, f.Left + L, f.Bottom});
  add({t.Left + L, t.Top, t.Right - R, t.Bottom}, {f.Left + L, f.Top, f.Right - R, f.Bottom});
  add({t.Right - R, t.Top, t.Right, t.Bottom}, {f.Right - R, f.Top, f.Right, f.Bottom});
  return plan;
}

TPoint CentredOrigin(const TRect& target, int fw, int fh) {
  return {target.Left + (target.Width() - fw) / 2, target.Top + (target.Height() - fh) / 2};
}

bool TKeyMatch::Matches(TColor c) const {
  auto in = [](int v, int v0, int tol) { return v0 <= v && v <= std::min(255, v0 + tol); };
  return in(RedOf(c), RedOf(Key), TolRed) && in(GreenOf(c), GreenOf(Key), TolGreen) &&
         in(BlueOf(c), BlueOf(Key), TolBlue);
}

std::vector<TRect> RegionRuns(const TPixmap& image, const TKeyMatch& key, int dx, int dy) {
  std::vector<TRect> runs;
  for (int y = 0; y < image.Height; ++y) {
    int x = 0;
    while (x < image.Width) {
      while (x < image.Width && key.Matches(GetPixel(image, x, y)))
        ++x;
      const int x1 = x;
      while (x < image.Width && !key.Matches(GetPixel(image, x, y)))
        ++x;
      if (x > x1) runs.push_back({x1 + dx, y + dy, x + dx, y + dy + 1});
    }
  }
  return runs;
}
