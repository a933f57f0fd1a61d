#include "engine_win/gdi_paint.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/image_ops.h"

// ---- TNativeBitmap -------------------------------------------------------------

TNativeBitmap::TNativeBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;  // CreateDIBSection gives zeroed pixels
}

TNativeBitmap::TNativeBitmap(const TPixmap& image) : TNativeBitmap(image.Width, image.Height) {
  if (!bits_) return;
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      SetPixelColour(x, y, GetPixel(image, x, y));
}

TNativeBitmap::~TNativeBitmap() {
  if (bitmap_) DeleteObject(bitmap_);
}

TNativeBitmap::TNativeBitmap(TNativeBitmap&& o) noexcept
    : bitmap_(o.bitmap_), bits_(o.bits_), width_(o.width_), height_(o.height_) {
  o.bitmap_ = nullptr;
  o.bits_ = nullptr;
  o.width_ = o.height_ = 0;
}

TNativeBitmap& TNativeBitmap::operator=(TNativeBitmap&& o) noexcept {
  if (this != &o) {
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = o.bitmap_;
    bits_ = o.bits_;
    width_ = o.width_;
    height_ = o.height_;
    o.bitmap_ = nullptr;
    o.bits_ = nullptr;
    o.width_ = o.height_ = 0;
  }
  return *this;
}

TColor TNativeBitmap::Pixel(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
  const uint32_t v = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x];
  return RGBColour(static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                   static_cast<int>(v & 0xFF));
}

void TNativeBitmap::SetPixelColour(int x, int y, TColor c) {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  c = ResolveColour(c);
  bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + x] =
      static_cast<uint32_t>(BlueOf(c)) | (static_cast<uint32_t>(GreenOf(c)) << 8) |
      (static_cast<uint32_t>(RedOf(c)) << 16);
}

TPixmap TNativeBitmap::ToImage() const {
  GdiFlush();
  TPixmap out(width_, height_, 24);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      SetPixel(out, x, y, Pixel(x, y));
  return out;
}

TMemoryDC::TMemoryDC(const TNativeBitmap& bitmap) : dc_(CreateCompatibleDC(nullptr)) {
  if (dc_ && bitmap.Handle()) old_ = SelectObject(dc_, bitmap.Handle());
}

TMemoryDC::~TMemoryDC() {
  if (!dc_) return;
  if (old_) SelectObject(dc_, old_);
  DeleteDC(dc_);
}

// ---- colours -----------------------------------------------------------------------

namespace {

TColor SysColour(int index) {
  return static_cast<TColor>(GetSysColor(index)) & 0xFFFFFFu;
}

void Stretch(HDC dst, const TRect& d, HDC src, const TRect& s) {
  StretchBlt(dst, d.Left, d.Top, d.Width(), d.Height(), src, s.Left, s.Top, s.Width(), s.Height(),
             SRCCOPY);
}

// Tiling from a device context that holds the source (a bitmap can be
// selected into one device context only).
void TileFromDC(HDC dc, const TRect& target, HDC src_dc, const TRect& src_rect) {
  const int w = src_rect.Width(), h = src_rect.Height();
  if (w <= 0 || h <= 0 || target.IsEmpty()) return;
  TNativeBitmap tile(w, h);
  if (tile.Empty()) return;
  TMemoryDC tdc(tile);
  BitBlt(tdc.Handle(), 0, 0, w, h, src_dc, src_rect.Left, src_rect.Top, SRCCOPY);
  // Tiles are clipped to the target rectangle.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, target.Left, target.Top, target.Right, target.Bottom);
  for (const TPoint& p : TilePositions(target, w, h))
    BitBlt(dc, p.X, p.Y, w, h, tdc.Handle(), 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

// Paints a plan into `dc` from the source bitmap's DC.
void Execute(HDC dc, HDC src_dc, const std::vector<TBlit>& plan) {
  for (const TBlit& b : plan) {
    if (b.Tiled)
      TileFromDC(dc, b.Dst, src_dc, b.Src);
    else
      Stretch(dc, b.Dst, src_dc, b.Src);
  }
}

void Present(HDC dc, const TRect& r, const TNativeBitmap& piece, bool transparent) {
  if (transparent) {
    BlitTransparent(dc, r, piece, kMagenta);
    return;
  }
  TMemoryDC pdc(piece);
  BitBlt(dc, r.Left, r.Top, piece.Width(), piece.Height(), pdc.Handle(), 0, 0, SRCCOPY);
}

bool Negative(const TRect& r) {
  return r.Right < r.Left || r.Bottom < r.Top;
}

// ---- composing straight into a memory DIB --------------------------------------

// The pixels of the 32-bit DIB section selected into a memory device context
// with plain coordinates (no clip region, no origin shifts, no transform).
struct TDibTarget {
  uint8_t* Bits = nullptr;
  int Width = 0, Height = 0;
  ptrdiff_t Stride = 0;  // bytes from one row to the next (negative bottom-up)
  uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(Bits + Stride * y); }
};

bool DirectTarget(HDC dc, TDibTarget& t) {
  if (GetObjectType(dc) != OBJ_MEMDC) return false;
  HBITMAP bmp = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
  DIBSECTION ds{};
  if (!bmp || GetObject(bmp, sizeof ds, &ds) != sizeof ds) return false;
  if (ds.dsBm.bmBitsPixel != 32 || !ds.dsBm.bmBits || ds.dsBmih.biCompression != BI_RGB)
    return false;
  POINT p;
  if (!GetViewportOrgEx(dc, &p) || p.x || p.y || !GetWindowOrgEx(dc, &p) || p.x || p.y)
    return false;
  if (GetMapMode(dc) != MM_TEXT || GetGraphicsMode(dc) != GM_COMPATIBLE) return false;
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  const int has_clip = GetClipRgn(dc, clip);
  DeleteObject(clip);
  if (has_clip != 0) return false;
  t.Width = ds.dsBm.bmWidth;
  t.Height = ds.dsBm.bmHeight;
  if (t.Width <= 0 || t.Height <= 0) return false;
  const ptrdiff_t stride = ds.dsBm.bmWidthBytes;
  uint8_t* base = static_cast<uint8_t*>(ds.dsBm.bmBits);
  GdiFlush();
  // Which way the rows run: not every GDI reports a top-down section's
  // height as negative, so the first word of memory is probed instead.
  uint32_t* first = reinterpret_cast<uint32_t*>(base);
  const uint32_t saved = *first;
  *first = 0x00123456;
  const bool top_down = GetPixel(dc, 0, 0) == RGB(0x12, 0x34, 0x56);
  *first = saved;
  if (top_down) {
    t.Bits = base;
    t.Stride = stride;
  } else {
    t.Bits = base + stride * (t.Height - 1);
    t.Stride = -stride;
  }
  GdiFlush();
  return true;
}

constexpr uint32_t kKeyWord = 0x00FF00FF;  // magenta as a DIB word

// Nearest-pixel stretch of src's rectangle s onto d, sampling at pixel
// centres as StretchBlt does; rows that repeat the previous source row are
// copied from the row above.
void ComposeStretch(const TDibTarget& t, const TRect& d, const TNativeBitmap& src, const TRect& s,
                    bool transparent) {
  if (d.IsEmpty() || s.IsEmpty() || src.Empty()) return;
  const int x1 = std::max(d.Left, 0), x2 = std::min(d.Right, t.Width);
  const int y1 = std::max(d.Top, 0), y2 = std::min(d.Bottom, t.Height);
  if (x1 >= x2 || y1 >= y2) return;
  const int dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
  std::vector<int> map(static_cast<size_t>(x2 - x1));
  for (int x = x1; x < x2; ++x)
    map[static_cast<size_t>(x - x1)] = std::clamp(
        s.Left + static_cast<int>((2 * static_cast<int64_t>(x - d.Left) + 1) * sw / (2 * dw)), 0,
        src.Width() - 1);
  // One mapped source row, and its opaque runs when transparent, serves every
  // target row that samples the same source row.
  std::vector<uint32_t> row(map.size());
  std::vector<std::pair<int, int>> runs;  // [start, end) of non-key words
  int last_sy = -1;
  for (int y = y1; y < y2; ++y) {
    const int sy = std::clamp(
        s.Top + static_cast<int>((2 * static_cast<int64_t>(y - d.Top) + 1) * sh / (2 * dh)), 0,
        src.Height() - 1);
    uint32_t* out = t.Row(y) + x1;
    if (sy == last_sy && !transparent) {
      std::memcpy(out, t.Row(y - 1) + x1, static_cast<size_t>(x2 - x1) * 4);
      continue;
    }
    if (sy != last_sy) {
      last_sy = sy;
      const uint32_t* in = src.Bits() + static_cast<size_t>(sy) * src.Width();
      for (size_t i = 0; i < map.size(); ++i)
        row[i] = in[map[i]] & 0x00FFFFFF;
      runs.clear();
      if (transparent) {
        const int n = static_cast<int>(row.size());
        for (int i = 0; i < n;) {
          while (i < n && row[static_cast<size_t>(i)] == kKeyWord)
            ++i;
          const int a = i;
          while (i < n && row[static_cast<size_t>(i)] != kKeyWord)
            ++i;
          if (i > a) runs.emplace_back(a, i);
        }
      }
    }
    if (!transparent) {
      std::memcpy(out, row.data(), row.size() * 4);
      continue;
    }
    for (const auto& [a, b] : runs)
      std::memcpy(out + a, row.data() + a, static_cast<size_t>(b - a) * 4);
  }
}

// A tiled piece: the first band of tiles is composed, every later row is a
// copy of the row one tile height above (opaque pieces starting inside the
// target only).
void ComposeTiled(const TDibTarget& t, const TRect& d, const TNativeBitmap& src, const TRect& s,
                  bool transparent) {
  const int w = s.Width(), h = s.Height();
  if (w <= 0 || h <= 0 || d.IsEmpty()) return;
  const bool banded = !transparent && d.Top >= 0;
  const int band_bottom = banded ? std::min(d.Bottom, d.Top + h) : d.Bottom;
  for (const TPoint& p : TilePositions({d.Left, d.Top, d.Right, band_bottom}, w, h)) {
    const int cw = std::min(w, d.Right - p.X), ch = std::min(h, band_bottom - p.Y);
    ComposeStretch(t, {p.X, p.Y, p.X + cw, p.Y + ch}, src, {s.Left, s.Top, s.Left + cw, s.Top + ch},
                   transparent);
  }
  if (!banded) return;
  const int x1 = std::max(d.Left, 0), x2 = std::min(d.Right, t.Width);
  if (x1 >= x2) return;
  for (int y = std::max(band_bottom, 0); y < std::min(d.Bottom, t.Height); ++y)
    if (y - h >= 0) std::memcpy(t.Row(y) + x1, t.Row(y - h) + x1, static_cast<size_t>(x2 - x1) * 4);
}

void ComposePlan(const TDibTarget& t, int dx, int dy, const TNativeBitmap& src,
                 const std::vector<TBlit>& plan, bool transparent) {
  for (const TBlit& b : plan) {
    const TRect d = b.Dst.Offset(dx, dy);
    if (b.Tiled)
      ComposeTiled(t, d, src, b.Src, transparent);
    else
      ComposeStretch(t, d, src, b.Src, transparent);
  }
}

}  // namespace

void InstallSystemColourResolver() {
  SetSystemColourResolver(&SysColour);
}

COLORREF ToColorRef(TColor c) {
  return static_cast<COLORREF>(ResolveColour(c) & 0xFFFFFFu);
}

// ---- primitives ---------------------------------------------------------------------

TNativeBitmap SliceFrame(const TRect& target, const TNativeBitmap& src, TMargins m, bool vertical,
                         bool tile, int n, int k, TStretchQuality quality) {
  TNativeBitmap out(target.Width(), target.Height());
  if (out.Empty() || src.Empty()) return out;
  const TRect frame = FrameRect(src.Width(), src.Height(), n, k, vertical);
  TMemoryDC odc(out), sdc(src);
  if (quality == TStretchQuality::Halftone) {
    SetStretchBltMode(odc.Handle(), HALFTONE);
    SetBrushOrgEx(odc.Handle(), 0, 0, nullptr);
  } else {
    SetStretchBltMode(odc.Handle(), COLORONCOLOR);
  }
  Execute(odc.Handle(), sdc.Handle(), PlanSliceFrame(out.Width(), out.Height(), frame, m, tile));
  GdiFlush();
  return out;
}

void DrawElement(HDC dc, const TRect& r, const TNativeBitmap& src, bool vertical, bool tile,
                 bool transparent, int n, int k, TMargins m, TStretchQuality quality) {
  if (Negative(r) || r.IsEmpty()) return;
  TDibTarget t;
  if (quality == TStretchQuality::ColourOnColour && !src.Empty() && DirectTarget(dc, t)) {
    const TRect frame = FrameRect(src.Width(), src.Height(), n, k, vertical);
    ComposePlan(t, r.Left, r.Top, src, PlanSliceFrame(r.Width(), r.Height(), frame, m, tile),
                transparent);
    return;
  }
  const TNativeBitmap piece = SliceFrame(r, src, m, vertical, tile, n, k, quality);
  if (!piece.Empty()) Present(dc, r, piece, transparent);
}

void DrawCappedStrip(HDC dc, const TRect& r, const TNativeBitmap& src, bool vertical,
                     bool transparent, int n, int k, TMargins m) {
  if (Negative(r) || r.IsEmpty() || src.Empty()) return;
  TDibTarget t;
  if (DirectTarget(dc, t)) {
    const TRect frame = FrameRect(src.Width(), src.Height(), n, k, vertical);
    ComposePlan(t, r.Left, r.Top, src,
                PlanCappedStrip(r.Width(), r.Height(), frame, m.Left, m.Right), transparent);
    return;
  }
  TNativeBitmap piece(r.Width(), r.Height());
  if (piece.Empty()) return;
  {
    TMemoryDC pdc(piece), sdc(src);
    SetStretchBltMode(pdc.Handle(), COLORONCOLOR);
    const TRect frame = FrameRect(src.Width(), src.Height(), n, k, vertical);
    Execute(pdc.Handle(), sdc.Handle(),
            PlanCappedStrip(piece.Width(), piece.Height(), frame, m.Left, m.Right));
  }
  GdiFlush();
  Present(dc, r, piece, transparent);
}

void DrawFrameScaled(HDC dc, const TRect& r, const TNativeBitmap& src, bool transparent, int n,
                     int k) {
  if (Negative(r) || r.IsEmpty() || src.Empty()) return;
  // Into a plain memory DIB a frame kept at its size or grown is stretched
  // straight across, as the piece below would be, without a piece of its
  // own. Shrinking is left to GDI, which samples differently then.
  const TRect frame = FrameRect(src.Width(), src.Height(), n, k, false);
  const bool grown = r.Width() >= frame.Width() && r.Height() >= frame.Height();
  TDibTarget t;
  if (!frame.IsEmpty() && grown && DirectTarget(dc, t)) {
    ComposeStretch(t, r, src, frame, transparent);
    return;
  }
  TNativeBitmap piece(r.Width(), r.Height());
  if (piece.Empty()) return;
  {
    TMemoryDC pdc(piece), sdc(src);
    SetStretchBltMode(pdc.Handle(), COLORONCOLOR);
    if (!frame.IsEmpty()) Stretch(pdc.Handle(), {0, 0, r.Width(), r.Height()}, sdc.Handle(), frame);
  }
  GdiFlush();
  Present(dc, r, piece, transparent);
}

void DrawFrameCentred(HDC dc, const TRect& r, const TNativeBitmap& src, bool transparent, int n,
                      int k) {
  if (Negative(r) || src.Empty()) return;
  const TRect f = FrameRect(src.Width(), src.Height(), n, k, false);
  if (f.IsEmpty()) return;
  TDibTarget t;
  if (DirectTarget(dc, t)) {
    const TPoint o = CentredOrigin(r, f.Width(), f.Height());
    ComposeStretch(t, {o.X, o.Y, o.X + f.Width(), o.Y + f.Height()}, src, f, transparent);
    return;
  }
  TNativeBitmap piece(f.Width(), f.Height());
  if (piece.Empty()) return;
  {
    TMemoryDC pdc(piece), sdc(src);
    BitBlt(pdc.Handle(), 0, 0, f.Width(), f.Height(), sdc.Handle(), f.Left, f.Top, SRCCOPY);
  }
  GdiFlush();
  const TPoint o = CentredOrigin(r, f.Width(), f.Height());
  Present(dc, {o.X, o.Y, o.X + f.Width(), o.Y + f.Height()}, piece, transparent);
}

void DrawThreePartStretch(HDC dc, const TRect& r, const TNativeBitmap& src, bool vertical, int n,
                          int k, TMargins m) {
  if (Negative(r) || r.IsEmpty() || src.Empty()) return;
  TNativeBitmap piece(r.Width(), r.Height());
  if (piece.Empty()) return;
  {
    TMemoryDC pdc(piece), sdc(src);
    SetStretchBltMode(pdc.Handle(), COLORONCOLOR);
    const TRect frame = FrameRect(src.Width(), src.Height(), n, k, vertical);
    Execute(pdc.Handle(), sdc.Handle(),
            PlanThreePartStretch({0, 0, r.Width(), r.Height()}, frame, m.Left, m.Right));
  }
  GdiFlush();
  Present(dc, r, piece, false);
}

void TileBitmap(HDC dc, const TRect& target, const TNativeBitmap& src, const TRect& src_rect) {
  if (src.Empty()) return;
  TMemoryDC sdc(src);
  TileFromDC(dc, target, sdc.Handle(), src_rect);
}

void BlitTransparent(HDC dc, const TRect& r, const TNativeBitmap& src, TColor key) {
  if (Negative(r) || src.Empty()) return;
  GdiFlush();
  const int w = src.Width(), h = src.Height();
  key = ResolveColour(key);
  TDibTarget t;
  if (key == kMagenta && DirectTarget(dc, t)) {
    ComposeStretch(t, {r.Left, r.Top, r.Left + w, r.Top + h}, src, {0, 0, w, h}, true);
    return;
  }
  // A monochrome mask, set where the bitmap shows the key colour.
  const int stride = ((w + 15) / 16) * 2;
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * static_cast<size_t>(h), 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (src.Pixel(x, y) == key)
        bits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  HBITMAP mask = CreateBitmap(w, h, 1, 1, bits.data());
  TMemoryDC sdc(src);
  // Mask bit set (foreground): keep the target; clear (background): copy.
  const DWORD rop = MAKEROP4(0x00AA0029, SRCCOPY);
  const bool done = mask && MaskBlt(dc, r.Left, r.Top, w, h, sdc.Handle(), 0, 0, mask, 0, 0, rop);
  if (mask) DeleteObject(mask);
  if (done) return;
  // Without MaskBlt: compose in memory from a copy of the target.
  TNativeBitmap under(w, h);
  if (under.Empty()) return;
  TMemoryDC udc(under);
  BitBlt(udc.Handle(), 0, 0, w, h, dc, r.Left, r.Top, SRCCOPY);
  GdiFlush();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TColor c = src.Pixel(x, y);
      if (c != key) under.SetPixelColour(x, y, c);
    }
  BitBlt(dc, r.Left, r.Top, w, h, udc.Handle(), 0, 0, SRCCOPY);
}

HRGN RegionFromBitmap(const TPixmap& image, int dx, int dy, int tol_blue, int tol_green,
                      int tol_red, TColor key) {
  const std::vector<TRect> runs =
      RegionRuns(image, {ResolveColour(key), tol_blue, tol_green, tol_red}, dx, dy);
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  constexpr size_t kBatch = 2000;
  std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + kBatch * sizeof(RECT));
  for (size_t start = 0; start < runs.size(); start += kBatch) {
    const size_t count = std::min(kBatch, runs.size() - start);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < count; ++i) {
      const TRect& t = runs[start + i];
      rects[i] = {t.Left, t.Top, t.Right, t.Bottom};
      bounds.left = std::min(bounds.left, static_cast<LONG>(t.Left));
      bounds.top = std::min(bounds.top, static_cast<LONG>(t.Top));
      bounds.right = std::max(bounds.right, static_cast<LONG>(t.Right));
      bounds.bottom = std::max(bounds.bottom, static_cast<LONG>(t.Bottom));
    }
    data->rdh.rcBound = bounds;
    HRGN part = ExtCreateRegion(
        nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + count * sizeof(RECT)), data);
    if (part) {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
  }
  return result;
}

void GradientFill(HDC dc, const TRect& r, TColor start, bool vertical, TColor end) {
  RECT clip;
  if (GetClipBox(dc, &clip) == NULLREGION || GetClipBox(dc, &clip) == ERROR) return;
  const RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  RECT visible;
  if (!IntersectRect(&visible, &rr, &clip)) return;
  const int n = vertical ? r.Height() : r.Width();
  if (n <= 0) return;
  const int origin = vertical ? r.Top : r.Left;
  const int clip_first = vertical ? clip.top : clip.left;
  const int clip_end = vertical ? clip.bottom : clip.right;
  const int first = origin < clip_first ? clip_first - origin : 0;
  const int last = clip_end < origin + n ? clip_end - origin - 1 : n - 1;
  const std::vector<TColor> ramp = GradientRamp(n, start, end);
  for (int i = first; i <= last && i < n; ++i) {
    HBRUSH b = CreateSolidBrush(ToColorRef(ramp[static_cast<size_t>(i)]));
    const RECT step = vertical ? RECT{r.Left, r.Top + i, r.Right, r.Top + i + 1}
                               : RECT{r.Left + i, r.Top, r.Left + i + 1, r.Bottom};
    FillRect(dc, &step, b);
    DeleteObject(b);
  }
}

void PaintParentBackground(HWND control, HDC dc) {
  HWND parent = control ? GetParent(control) : nullptr;
  if (!parent) return;
  RECT wr;
  GetWindowRect(control, &wr);
  POINT pos{wr.left, wr.top};
  ScreenToClient(parent, &pos);
  RECT client;
  GetClientRect(control, &client);
  const int saved = SaveDC(dc);
  POINT old;
  OffsetViewportOrgEx(dc, -pos.x, -pos.y, &old);
  IntersectClipRect(dc, pos.x, pos.y, pos.x + client.right, pos.y + client.bottom);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
}

int DrawTextAuto(HDC dc, std::wstring_view text, RECT* rect, UINT format) {
  return DrawTextW(dc, text.data(), static_cast<int>(text.size()), rect, format);
}
