#include "framework/graphics.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "format/bmp.h"
#include "format/file_io.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

HINSTANCE MainInstance() {
  return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

COLORREF ColorToRGB(TColor color) {
  if ((color & 0xFF000000) == clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

// --- Fonts, brushes, pens ------------------------------------------------------

TGraphicsObject::~TGraphicsObject() {
  if (handle_) DeleteObject(handle_);
}

void TGraphicsObject::Changed() {
  // The old handle may still be selected into a canvas's context; the canvas
  // selects it out before asking for the new one (TCanvas::RequireState), so
  // it is deleted then, in RefreshHandle.
  stale_ = true;
  if (OnChange) OnChange(this);
}

HGDIOBJ TGraphicsObject::RefreshHandle(HGDIOBJ (*make)(TGraphicsObject&)) {
  if (handle_ && stale_) {
    DeleteObject(handle_);
    handle_ = nullptr;
  }
  stale_ = false;
  if (!handle_) handle_ = make(*this);
  return handle_;
}

const TEnumInfo kFontStyleIdents{{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};

TFont::TFont() = default;

void TFont::PublishProperties(TClassInfo& info) {
  TPublisher<TFont>(info)
      .String("Name", &TFont::Name, &TFont::SetName)
      .Integer("Size", &TFont::Size, &TFont::SetSize)
      .Integer("Height", &TFont::Height, &TFont::SetHeight)
      .Integer("Color", &TFont::Color, &TFont::SetColor)
      .Set("Style", kFontStyleIdents, &TFont::Style, &TFont::SetStyle)
      .Integer("Charset", &TFont::Charset, &TFont::SetCharset);
}

void TFont::Assign(const TPersistent& source) {
  auto* f = dynamic_cast<const TFont*>(&source);
  if (!f) return TPersistent::Assign(source);
  name_ = f->name_;
  height_ = f->height_;
  color_ = f->color_;
  style_ = f->style_;
  charset_ = f->charset_;
  Changed();
}

HFONT TFont::Handle() {
  return static_cast<HFONT>(RefreshHandle([](TGraphicsObject& o) -> HGDIOBJ {
    auto& f = static_cast<TFont&>(o);
    LOGFONTA lf{};
    lf.lfHeight = f.height_;
    lf.lfWeight = (f.style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (f.style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (f.style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (f.style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(f.charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, f.name_.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&lf);
  }));
}

void TFont::SetFromHandle(HFONT font) {
  LOGFONTA lf{};
  if (!font || !GetObjectA(font, sizeof lf, &lf)) return;
  name_ = lf.lfFaceName;
  height_ = lf.lfHeight;
  style_ = (lf.lfWeight >= FW_BOLD ? fsBold : 0u) | (lf.lfItalic ? fsItalic : 0u) |
           (lf.lfUnderline ? fsUnderline : 0u) | (lf.lfStrikeOut ? fsStrikeOut : 0u);
  charset_ = lf.lfCharSet;
  Changed();
}

void TFont::SetName(const std::string& v) {
  if (v == name_ || v.empty()) return;
  name_ = v;
  Changed();
}
int TFont::Size() const {
  return -MulDiv(height_, 72, 96);
}
void TFont::SetSize(int points) {
  SetHeight(-MulDiv(points, 96, 72));
}
void TFont::SetHeight(int pixels) {
  if (pixels == height_) return;
  height_ = pixels;
  Changed();
}
void TFont::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  // The colour is not part of the GDI font: no new handle needed.
  if (OnChange) OnChange(this);
}
void TFont::SetStyle(unsigned v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}
void TFont::SetCharset(int v) {
  if (v == charset_) return;
  charset_ = v;
  Changed();
}

const TEnumInfo kBrushStyleIdents{{"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                   "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"}};

void TBrush::PublishProperties(TClassInfo& info) {
  TPublisher<TBrush>(info)
      .Integer("Color", &TBrush::Color, &TBrush::SetColor)
      .Enumeration("Style", kBrushStyleIdents, &TBrush::Style, &TBrush::SetStyle);
}

void TBrush::Assign(const TPersistent& source) {
  auto* b = dynamic_cast<const TBrush*>(&source);
  if (!b) return TPersistent::Assign(source);
  color_ = b->color_;
  style_ = b->style_;
  Changed();
}

HBRUSH TBrush::Handle() {
  return static_cast<HBRUSH>(RefreshHandle([](TGraphicsObject& o) -> HGDIOBJ {
    auto& b = static_cast<TBrush&>(o);
    static const int kHatch[] = {
        0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
    switch (b.style_) {
      case TBrushStyle::bsSolid:
        return CreateSolidBrush(ColorToRGB(b.color_));
      case TBrushStyle::bsClear:
        return GetStockObject(NULL_BRUSH);
      default:
        return CreateHatchBrush(kHatch[static_cast<int>(b.style_)], ColorToRGB(b.color_));
    }
  }));
}

void TBrush::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  if (style_ == TBrushStyle::bsClear) style_ = TBrushStyle::bsSolid;
  Changed();
}
void TBrush::SetStyle(TBrushStyle v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}

const TEnumInfo kPenStyleIdents{
    {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
const TEnumInfo kPenModeIdents{{"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor",
                                "pmNotXor"}};

void TPen::PublishProperties(TClassInfo& info) {
  TPublisher<TPen>(info)
      .Integer("Color", &TPen::Color, &TPen::SetColor)
      .Integer("Width", &TPen::Width, &TPen::SetWidth)
      .Enumeration("Style", kPenStyleIdents, &TPen::Style, &TPen::SetStyle)
      .Enumeration("Mode", kPenModeIdents, &TPen::Mode, &TPen::SetMode);
}

void TPen::Assign(const TPersistent& source) {
  auto* p = dynamic_cast<const TPen*>(&source);
  if (!p) return TPersistent::Assign(source);
  color_ = p->color_;
  width_ = p->width_;
  style_ = p->style_;
  mode_ = p->mode_;
  Changed();
}

HPEN TPen::Handle() {
  return static_cast<HPEN>(RefreshHandle([](TGraphicsObject& o) -> HGDIOBJ {
    auto& p = static_cast<TPen&>(o);
    static const int kStyle[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                 PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    return CreatePen(kStyle[static_cast<int>(p.style_)], p.width_, ColorToRGB(p.color_));
  }));
}

void TPen::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}
void TPen::SetWidth(int v) {
  if (v == width_) return;
  width_ = v;
  Changed();
}
void TPen::SetStyle(TPenStyle v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}
void TPen::SetMode(TPenMode v) {
  mode_ = v;  // a context setting, not part of the GDI pen
  if (OnChange) OnChange(this);
}

// --- TCanvas -----------------------------------------------------------------

TCanvas::TCanvas() = default;

TCanvas::~TCanvas() {
  ReleaseObjects();
}

HDC TCanvas::Handle() {
  if (!dc_) CreateHandle();
  if (!dc_) throw std::runtime_error("Canvas does not allow drawing");
  return dc_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  ReleaseObjects();
  dc_ = dc;
}

void TCanvas::ReleaseObjects() {
  if (!dc_) return;
  if (old_font_) SelectObject(dc_, old_font_);
  if (old_brush_) SelectObject(dc_, old_brush_);
  if (old_pen_) SelectObject(dc_, old_pen_);
  old_font_ = old_brush_ = old_pen_ = nullptr;
  dc_ = nullptr;
}

void TCanvas::RequireState() {
  HDC dc = Handle();
  // Select the stock objects back first: a changed object deletes its old
  // handle when asked for the new one, and a selected handle cannot be deleted.
  if (old_font_) SelectObject(dc, old_font_);
  if (old_brush_) SelectObject(dc, old_brush_);
  if (old_pen_) SelectObject(dc, old_pen_);
  old_font_ = SelectObject(dc, font_.Handle());
  old_brush_ = SelectObject(dc, brush_.Handle());
  old_pen_ = SelectObject(dc, pen_.Handle());
  SetTextColor(dc, ColorToRGB(font_.Color()));
  SetBkColor(dc, ColorToRGB(brush_.Color()));
  SetBkMode(dc, brush_.Style() == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
  static const int kRop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                              R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                              R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  SetROP2(dc, kRop2[static_cast<int>(pen_.Mode())]);
}

void TCanvas::FillRect(const RECT& r) {
  RequireState();
  ::FillRect(dc_, &r, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
  RequireState();
  ::FrameRect(dc_, &r, brush_.Handle());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  RequireState();
  ::Rectangle(dc_, x1, y1, x2, y2);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int ellipse_w, int ellipse_h) {
  RequireState();
  ::RoundRect(dc_, x1, y1, x2, y2, ellipse_w, ellipse_h);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  RequireState();
  ::Ellipse(dc_, x1, y1, x2, y2);
}

void TCanvas::Polygon(std::span<const POINT> points) {
  RequireState();
  ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::Polyline(std::span<const POINT> points) {
  RequireState();
  ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::MoveTo(int x, int y) {
  MoveToEx(Handle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  RequireState();
  ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  RequireState();
  ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::string& text) {
  RequireState();
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
  ::ExtTextOutA(dc_, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(const std::string& text, RECT& r, UINT format) {
  RequireState();
  return ::DrawTextA(dc_, text.data(), static_cast<int>(text.size()), &r, format);
}

SIZE TCanvas::TextExtent(const std::string& text) {
  RequireState();
  SIZE s{};
  GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
  return s;
}

void TCanvas::DrawFocusRect(const RECT& r) {
  RequireState();
  ::DrawFocusRect(dc_, &r);
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
  if (graphic.Empty()) return;
  RECT r{x, y, x + graphic.Width(), y + graphic.Height()};
  graphic.Draw(*this, r);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic& graphic) {
  if (!graphic.Empty()) graphic.Draw(*this, r);
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& source_rect) {
  RequireState();
  HDC src = source.Handle();
  int old_mode = SetStretchBltMode(dc_, COLORONCOLOR);
  StretchBlt(dc_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src,
             source_rect.left, source_rect.top, source_rect.right - source_rect.left,
             source_rect.bottom - source_rect.top, copy_mode_);
  SetStretchBltMode(dc_, old_mode);
}

TColor TCanvas::Pixel(int x, int y) {
  return GetPixel(Handle(), x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  ::SetPixel(Handle(), x, y, ColorToRGB(color));
}

RECT TCanvas::ClipRect() {
  RECT r{};
  GetClipBox(Handle(), &r);
  return r;
}

// --- TGraphic ----------------------------------------------------------------

void TGraphic::LoadFromFile(const std::string& path) {
  std::vector<uint8_t> data;
  std::string error;
  if (!ReadFileBytes(path, data, &error)) throw EFileError(error);
  LoadFromBytes(data);
}

void TGraphic::SaveToFile(const std::string& path) const {
  WriteFileAtomic(path, SaveToBytes());
}

// --- TBitmap -----------------------------------------------------------------

int BitsPerPixel(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::pf1bit:
      return 1;
    case TPixelFormat::pf4bit:
      return 4;
    case TPixelFormat::pf8bit:
      return 8;
    case TPixelFormat::pf24bit:
      return 24;
    case TPixelFormat::pf32bit:
      return 32;
  }
  return 24;
}

namespace {

TPixelFormat FormatOfBits(int bits) {
  switch (bits) {
    case 1:
      return TPixelFormat::pf1bit;
    case 4:
      return TPixelFormat::pf4bit;
    case 8:
      return TPixelFormat::pf8bit;
    case 32:
      return TPixelFormat::pf32bit;
    default:
      return TPixelFormat::pf24bit;
  }
}

// The palette a new indexed bitmap starts with: black and white; the 16
// standard colours; the 16 standard colours, a 6x6x6 colour cube and greys.
std::vector<uint32_t> DefaultPalette(int bits) {
  static const uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  std::vector<uint32_t> p;
  if (bits == 1) return {0x000000, 0xFFFFFF};
  p.assign(kVga, kVga + 16);
  if (bits == 4) return p;
  for (uint32_t r = 0; r < 6; ++r) {
    for (uint32_t g = 0; g < 6; ++g) {
      for (uint32_t b = 0; b < 6; ++b)
        p.push_back((r * 51) << 16 | (g * 51) << 8 | (b * 51));
    }
  }
  while (p.size() < 256) {
    uint32_t v = static_cast<uint32_t>((p.size() - 232) * 255 / 23);
    p.push_back(v << 16 | v << 8 | v);
  }
  return p;
}

}  // namespace

// The canvas of a bitmap: a memory context with the DIB section selected,
// made on demand and let go when the bitmap's handle is handed out.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override { Free(); }
  void Free() {
    if (!mem_dc_) return;
    ReleaseObjects();
    SelectObject(mem_dc_, old_bitmap_);
    DeleteDC(mem_dc_);
    mem_dc_ = nullptr;
  }

 protected:
  void CreateHandle() override {
    if (!bitmap_.dib_) throw std::runtime_error("Cannot draw on an empty bitmap");
    mem_dc_ = CreateCompatibleDC(nullptr);
    old_bitmap_ = SelectObject(mem_dc_, bitmap_.dib_);
    SetHandle(mem_dc_);
  }

 private:
  TBitmap& bitmap_;
  HDC mem_dc_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
};

TBitmap::TBitmap() : canvas_(std::make_unique<TBitmapCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : TBitmap() {
  format_ = format;
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  canvas_.reset();
  if (dib_) DeleteObject(dib_);
}

void TBitmap::Recreate(int width, int height, TPixelFormat format,
                       const std::vector<uint32_t>& palette, bool keep_pixels) {
  if (width < 0 || height < 0 || width > kMaxBmpDimension || height > kMaxBmpDimension ||
      int64_t{width} * height > kMaxBmpPixels) {
    throw std::invalid_argument("Bitmap size " + std::to_string(width) + "x" +
                                std::to_string(height) + " is out of range");
  }
  HBITMAP old = dib_;
  int old_w = width_, old_h = height_;
  canvas_->Free();
  dib_ = nullptr;
  bits_ = nullptr;
  width_ = width;
  height_ = height;
  format_ = format;
  if (width > 0 && height > 0) {
    struct {
      BITMAPINFOHEADER h;
      RGBQUAD colors[256];
    } bi{};
    bi.h.biSize = sizeof(BITMAPINFOHEADER);
    bi.h.biWidth = width;
    bi.h.biHeight = -height;  // top-down: row 0 first, as ScanLine hands them out
    bi.h.biPlanes = 1;
    bi.h.biBitCount = static_cast<WORD>(BitsPerPixel(format));
    bi.h.biCompression = BI_RGB;
    size_t colors = format <= TPixelFormat::pf8bit ? size_t{1} << bi.h.biBitCount : 0;
    std::vector<uint32_t> pal = palette.empty() ? DefaultPalette(bi.h.biBitCount) : palette;
    for (size_t i = 0; i < colors; ++i) {
      uint32_t c = i < pal.size() ? pal[i] : 0;
      bi.colors[i] =
          RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0};
    }
    bi.h.biClrUsed = static_cast<DWORD>(colors);
    void* bits = nullptr;
    dib_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits,
                            nullptr, 0);
    if (!dib_) {
      if (old) DeleteObject(old);
      width_ = height_ = 0;
      throw std::runtime_error("Out of system resources creating a " + std::to_string(width) + "x" +
                               std::to_string(height) + " bitmap");
    }
    bits_ = static_cast<uint8_t*>(bits);
    std::memset(bits_, 0, static_cast<size_t>(Stride()) * static_cast<size_t>(height));
    if (keep_pixels && old) {
      HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
      HGDIOBJ os = SelectObject(src, old), od = SelectObject(dst, dib_);
      BitBlt(dst, 0, 0, std::min(width, old_w), std::min(height, old_h), src, 0, 0, SRCCOPY);
      SelectObject(src, os);
      SelectObject(dst, od);
      DeleteDC(src);
      DeleteDC(dst);
    }
  }
  if (old) DeleteObject(old);
}

void TBitmap::SetSize(int width, int height) {
  if (width == width_ && height == height_ && (dib_ || width == 0 || height == 0)) return;
  Recreate(width, height, format_, Palette(), true);
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  Recreate(width_, height_, format, {}, true);
}

std::vector<uint32_t> TBitmap::Palette() const {
  if (!dib_ || format_ > TPixelFormat::pf8bit) return {};
  RGBQUAD q[256];
  HDC dc = CreateCompatibleDC(nullptr);
  // A DIB section cannot be selected into two contexts: use the canvas's
  // context when it has one.
  HGDIOBJ old = SelectObject(dc, dib_);
  UINT n = GetDIBColorTable(old ? dc : canvas_->Handle(), 0, 256, q);
  if (old) SelectObject(dc, old);
  DeleteDC(dc);
  std::vector<uint32_t> out;
  for (UINT i = 0; i < n; ++i) {
    out.push_back(uint32_t{q[i].rgbRed} << 16 | uint32_t{q[i].rgbGreen} << 8 | q[i].rgbBlue);
  }
  return out;
}

void TBitmap::SetPalette(std::span<const uint32_t> rgb) {
  if (!dib_ || format_ > TPixelFormat::pf8bit) return;
  RGBQUAD q[256]{};
  UINT n = static_cast<UINT>(std::min<size_t>(rgb.size(), size_t{1} << BitsPerPixel(format_)));
  for (UINT i = 0; i < n; ++i) {
    q[i] = RGBQUAD{static_cast<BYTE>(rgb[i]), static_cast<BYTE>(rgb[i] >> 8),
                   static_cast<BYTE>(rgb[i] >> 16), 0};
  }
  SetDIBColorTable(canvas_->Handle(), 0, n, q);
}

uint8_t* TBitmap::ScanLine(int y) {
  if (!bits_ || y < 0 || y >= height_) throw std::out_of_range("Scan line index out of range");
  GdiFlush();  // drawing through GDI may still be queued
  return bits_ + static_cast<size_t>(y) * static_cast<size_t>(Stride());
}

TCanvas& TBitmap::Canvas() {
  return *canvas_;
}

HBITMAP TBitmap::Handle() {
  canvas_->Free();
  return dib_;
}

TColor TBitmap::TransparentColor() const {
  if (transparent_color_ != clDefault) return transparent_color_;
  if (!bits_ || height_ == 0) return clBlack;
  GdiFlush();
  TPixmap img = ToImage();
  uint32_t rgb = img.PixelRGB(0, height_ - 1);
  return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
}

void TBitmap::Draw(TCanvas& canvas, const RECT& r) {
  if (!dib_) return;
  HDC dst = canvas.Handle();
  HDC src = Canvas().Handle();
  int w = r.right - r.left, h = r.bottom - r.top;
  if (Transparent()) {
    TransparentBlt(dst, r.left, r.top, w, h, src, 0, 0, width_, height_,
                   ColorToRGB(TransparentColor()));
  } else if (w == width_ && h == height_) {
    BitBlt(dst, r.left, r.top, w, h, src, 0, 0, canvas.CopyMode());
  } else {
    int old = SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, r.left, r.top, w, h, src, 0, 0, width_, height_, canvas.CopyMode());
    SetStretchBltMode(dst, old);
  }
}

TPixmap TBitmap::ToImage() const {
  TPixmap img;
  img.Width = width_;
  img.Height = height_;
  img.BitsPerPixel = BitsPerPixel(format_);
  img.Palette = Palette();
  if (bits_) {
    GdiFlush();
    img.Pixels.assign(bits_, bits_ + static_cast<size_t>(Stride()) * static_cast<size_t>(height_));
  }
  return img;
}

void TBitmap::FromImage(const TPixmap& image) {
  TPixelFormat format = FormatOfBits(image.BitsPerPixel);
  if (BitsPerPixel(format) != image.BitsPerPixel) {
    throw std::invalid_argument("Unsupported pixel format of " +
                                std::to_string(image.BitsPerPixel) + " bits");
  }
  std::vector<uint32_t> palette = image.Palette;
  if (format <= TPixelFormat::pf8bit && palette.empty()) palette = {0};
  Recreate(image.Width, image.Height, format, palette, false);
  if (bits_ &&
      image.Pixels.size() >= static_cast<size_t>(Stride()) * static_cast<size_t>(height_)) {
    std::memcpy(bits_, image.Pixels.data(),
                static_cast<size_t>(Stride()) * static_cast<size_t>(height_));
  }
}

void TBitmap::LoadFromBytes(std::span<const uint8_t> data) {
  FromImage(DecodeBmp(data));
}

std::vector<uint8_t> TBitmap::SaveToBytes() const {
  return EncodeBmp(ToImage());
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const char* name) {
  HRSRC res = FindResourceA(instance, name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  HGLOBAL mem = res ? LoadResource(instance, res) : nullptr;
  const void* p = mem ? LockResource(mem) : nullptr;
  if (!p) throw std::runtime_error(std::string("Bitmap resource not found: ") + name);
  DWORD size = SizeofResource(instance, res);
  FromImage(DecodeDib(std::span(static_cast<const uint8_t*>(p), size)));
}

void TBitmap::Assign(const TPersistent& source) {
  auto* b = dynamic_cast<const TBitmap*>(&source);
  if (!b) return TGraphic::Assign(source);
  if (b == this) return;
  FromImage(b->ToImage());
  SetTransparent(b->Transparent());
  transparent_color_ = b->transparent_color_;
}

// --- TPicture ----------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Assign(const TPersistent& source) {
  auto* p = dynamic_cast<const TPicture*>(&source);
  if (p) {
    if (p == this) return;
    if (auto* b = dynamic_cast<const TBitmap*>(p->graphic_.get())) {
      Bitmap().Assign(*b);
    } else {
      Clear();
    }
  } else if (auto* b = dynamic_cast<const TBitmap*>(&source)) {
    Bitmap().Assign(*b);
  } else {
    return TPersistent::Assign(source);
  }
  if (OnChange) OnChange(this);
}

TBitmap& TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) graphic_ = std::make_unique<TBitmap>();
  return static_cast<TBitmap&>(*graphic_);
}

void TPicture::LoadFromFile(const std::string& path) {
  auto b = std::make_unique<TBitmap>();
  b->LoadFromFile(path);
  graphic_ = std::move(b);
  if (OnChange) OnChange(this);
}

void TPicture::SaveToFile(const std::string& path) const {
  if (graphic_) graphic_->SaveToFile(path);
}

void TPicture::Clear() {
  graphic_.reset();
  if (OnChange) OnChange(this);
}
