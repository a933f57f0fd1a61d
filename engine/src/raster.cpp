#include "engine/raster.h"

#include <algorithm>
#include <cstring>

#include "engine/image_ops.h"

void StretchCopy(TPixmap& dst, const TRect& d, const TPixmap& src, const TRect& s,
                 bool transparent) {
  if (d.IsEmpty() || s.IsEmpty()) return;
  if (dst.BitsPerPixel != 24 || src.BitsPerPixel != 24) return;
  const TRect sc{std::max(s.Left, 0), std::max(s.Top, 0), std::min(s.Right, src.Width),
                 std::min(s.Bottom, src.Height)};
  if (sc.IsEmpty()) return;
  const int dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
  const int y1 = std::max(d.Top, 0), y2 = std::min(d.Bottom, dst.Height);
  const int x1 = std::max(d.Left, 0), x2 = std::min(d.Right, dst.Width);
  for (int y = y1; y < y2; ++y) {
    const int sy =
        s.Top + static_cast<int>((2 * static_cast<int64_t>(y - d.Top) + 1) * sh / (2 * dh));
    if (sy < sc.Top || sy >= sc.Bottom) continue;
    const uint8_t* srow = src.Row(sy);
    uint8_t* drow = dst.Row(y);
    for (int x = x1; x < x2; ++x) {
      const int sx =
          s.Left + static_cast<int>((2 * static_cast<int64_t>(x - d.Left) + 1) * sw / (2 * dw));
      if (sx < sc.Left || sx >= sc.Right) continue;
      const uint8_t* p = srow + 3 * sx;
      if (transparent && p[0] == 255 && p[1] == 0 && p[2] == 255) continue;
      std::memcpy(drow + 3 * x, p, 3);
    }
  }
}

void ExecutePlan(TPixmap& dst, int dx, int dy, const TPixmap& src, const std::vector<TBlit>& plan,
                 bool transparent) {
  for (const TBlit& b : plan) {
    const TRect d = b.Dst.Offset(dx, dy);
    if (!b.Tiled) {
      StretchCopy(dst, d, src, b.Src, transparent);
      continue;
    }
    const int w = b.Src.Width(), h = b.Src.Height();
    for (const TPoint& p : TilePositions(d, w, h)) {
      // Each tile is clipped to the piece it fills.
      const int cw = std::min(w, d.Right - p.X), ch = std::min(h, d.Bottom - p.Y);
      StretchCopy(dst, {p.X, p.Y, p.X + cw, p.Y + ch}, src,
                  {b.Src.Left, b.Src.Top, b.Src.Left + cw, b.Src.Top + ch}, transparent);
    }
  }
}

TPixmap SliceFrameImage(int width, int height, const TPixmap& src, TMargins m, bool vertical,
                        bool tile, int n, int k) {
  TPixmap out(std::max(width, 0), std::max(height, 0), 24);
  const TPixmap s = To24Bit(src);
  const TRect frame = FrameRect(s.Width, s.Height, n, k, vertical);
  ExecutePlan(out, 0, 0, s, PlanSliceFrame(out.Width, out.Height, frame, m, tile));
  return out;
}

void DrawElementImage(TPixmap& dst, const TRect& r, const TPixmap& src, bool vertical, bool tile,
                      bool transparent, int n, int k, TMargins m) {
  if (r.Right < r.Left || r.Bottom < r.Top) return;
  const TPixmap piece = SliceFrameImage(r.Width(), r.Height(), src, m, vertical, tile, n, k);
  StretchCopy(dst, r, piece, {0, 0, piece.Width, piece.Height}, transparent);
}

void DrawFrameScaledImage(TPixmap& dst, const TRect& r, const TPixmap& src, bool transparent, int n,
                          int k) {
  const TPixmap s = To24Bit(src);
  StretchCopy(dst, r, s, FrameRect(s.Width, s.Height, n, k, false), transparent);
}

void DrawFrameCentredImage(TPixmap& dst, const TRect& r, const TPixmap& src, bool transparent,
                           int n, int k) {
  const TPixmap s = To24Bit(src);
  const TRect f = FrameRect(s.Width, s.Height, n, k, false);
  const TPoint o = CentredOrigin(r, f.Width(), f.Height());
  StretchCopy(dst, {o.X, o.Y, o.X + f.Width(), o.Y + f.Height()}, s, f, transparent);
}
