// Colours, fonts, brushes, pens, canvases over device contexts, and bitmaps
// kept as DIB sections in their own pixel format.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/props.h"

struct TPixmap;

// 0x00BBGGRR; a value with the high byte 0xFF names the system colour whose
// index is the low byte, resolved by ColorToRGB when drawn.
using TColor = uint32_t;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The RGB value to draw with: system colours looked up now, others masked to
// their low 24 bits.
COLORREF ColorToRGB(TColor color);

// Base of fonts, brushes and pens: a lazily created GDI handle and a change
// notification. Changing a property drops the handle; the next Handle() call
// makes a new one (the old one is deleted then, after the canvas that used it
// has selected it out).
class TGraphicsObject : public TPersistent {
  MV_CLASS(TGraphicsObject, TPersistent)
 public:
  ~TGraphicsObject() override;
  std::function<void(TObject*)> OnChange;

 protected:
  void Changed();
  // The handle for the current properties, made by `make` when there is none
  // or the properties changed since it was made.
  HGDIOBJ RefreshHandle(HGDIOBJ (*make)(TGraphicsObject&));
  HGDIOBJ handle_ = nullptr;
  bool stale_ = false;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
extern const TEnumInfo kFontStyleIdents;

class TFont : public TGraphicsObject {
  MV_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  static void PublishProperties(TClassInfo& info);
  void Assign(const TPersistent& source) override;
  HFONT Handle();
  // Takes the description of an existing font (the handle stays the caller's).
  void SetFromHandle(HFONT font);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& v);
  // Size in points; Height in pixels (negative: character height) at 96 DPI.
  int Size() const;
  void SetSize(int points);
  int Height() const { return height_; }
  void SetHeight(int pixels);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  unsigned Style() const { return style_; }
  void SetStyle(unsigned v);
  int Charset() const { return charset_; }
  void SetCharset(int v);

 private:
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  unsigned style_ = 0;
  int charset_ = DEFAULT_CHARSET;
};

enum class TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};
extern const TEnumInfo kBrushStyleIdents;

class TBrush : public TGraphicsObject {
  MV_CLASS(TBrush, TGraphicsObject)
 public:
  static void PublishProperties(TClassInfo& info);
  void Assign(const TPersistent& source) override;
  HBRUSH Handle();
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = TBrushStyle::bsSolid;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of a pen, in the order of the R2_ codes: pmNot inverts the
// destination, pmNotXor draws the pen colour xor-ed and inverted (drawing twice
// restores what was there).
enum class TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
extern const TEnumInfo kPenStyleIdents;
extern const TEnumInfo kPenModeIdents;

class TPen : public TGraphicsObject {
  MV_CLASS(TPen, TGraphicsObject)
 public:
  static void PublishProperties(TClassInfo& info);
  void Assign(const TPersistent& source) override;
  HPEN Handle();
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode v);

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = TPenStyle::psSolid;
  TPenMode mode_ = TPenMode::pmCopy;
};

class TGraphic;

// Drawing on a device context with the canvas's font, brush and pen, which
// are selected into the context before each operation and selected out when
// the context is let go. A canvas either gets a context from its owner on
// demand (CreateHandle) or is handed one (SetHandle, e.g. while painting).
class TCanvas : public TPersistent {
  MV_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  HDC Handle();
  // Uses `dc` (not owned) until SetHandle(nullptr); selects the canvas's
  // objects out of the previous context first.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont& Font() { return font_; }
  TBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }
  DWORD CopyMode() const { return copy_mode_; }
  void SetCopyMode(DWORD rop) { copy_mode_ = rop; }

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int ellipse_w, int ellipse_h);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Polygon(std::span<const POINT> points);
  void Polyline(std::span<const POINT> points);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, const std::string& text);
  // Text clipped to `r`, starting at (x, y).
  void TextRect(const RECT& r, int x, int y, const std::string& text);
  // DrawText with `format` (DT_ flags) in `r`; returns the text height.
  int DrawText(const std::string& text, RECT& r, UINT format);
  SIZE TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void DrawFocusRect(const RECT& r);
  void Draw(int x, int y, TGraphic& graphic);
  void StretchDraw(const RECT& r, TGraphic& graphic);
  // Copies `source_rect` of `source` into `dest` with CopyMode, stretching.
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& source_rect);
  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  RECT ClipRect();

 protected:
  // Asked for a context when an operation needs one and none is set.
  virtual void CreateHandle() {}
  // Selects the canvas's objects out and forgets the context.
  void ReleaseObjects();
  // Selects current font, brush and pen (re-creating changed ones) and sets
  // the text colour and background mode.
  void RequireState();

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_font_ = nullptr, old_brush_ = nullptr, old_pen_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  DWORD copy_mode_ = SRCCOPY;
};

// A picture that can draw itself and live in a file.
class TGraphic : public TPersistent {
  MV_CLASS(TGraphic, TPersistent)
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  virtual void Draw(TCanvas& canvas, const RECT& r) = 0;
  virtual void LoadFromBytes(std::span<const uint8_t> data) = 0;
  virtual std::vector<uint8_t> SaveToBytes() const = 0;
  // Throws EFileError when the file cannot be read or written, and the
  // format's own error when the data is not a picture of this kind.
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }

 private:
  bool transparent_ = false;
};

enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };
int BitsPerPixel(TPixelFormat format);

class TBitmapCanvas;

// A device-independent bitmap (a DIB section, rows top-down) in 1, 4, 8, 24
// or 32 bits per pixel. Indexed formats carry a palette. Files load through
// the hardened BMP decoder and save in the bitmap's own pixel format.
class TBitmap : public TGraphic {
  MV_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
  ~TBitmap() override;

  void Assign(const TPersistent& source) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(TCanvas& canvas, const RECT& r) override;
  void LoadFromBytes(std::span<const uint8_t> data) override;
  std::vector<uint8_t> SaveToBytes() const override;
  // A bitmap resource of the module (RT_BITMAP), decoded as a DIB. Throws
  // when it is missing or malformed.
  void LoadFromResourceName(HINSTANCE instance, const char* name);

  // Keeps the top-left part of the picture; new area is black (index 0).
  void SetSize(int width, int height);
  void SetWidth(int w) { SetSize(w, height_); }
  void SetHeight(int h) { SetSize(width_, h); }
  TPixelFormat PixelFormat() const { return format_; }
  // Converts the picture (through GDI colour matching for indexed formats).
  void SetPixelFormat(TPixelFormat format);
  // 0x00RRGGBB entries; 2^bits entries for indexed formats, empty otherwise.
  std::vector<uint32_t> Palette() const;
  void SetPalette(std::span<const uint32_t> rgb);

  // Row y of the pixels, BMP byte order; valid until the bitmap is resized.
  uint8_t* ScanLine(int y);
  int Stride() const { return ((width_ * BitsPerPixel(format_) + 31) / 32) * 4; }

  TCanvas& Canvas();
  // The DIB section, selected out of the canvas's context so that other code
  // (image lists, other contexts) can use it. Null while empty.
  HBITMAP Handle();

  // The colour drawn as transparent when Transparent is set: the given
  // colour, or with clDefault the bottom-left pixel's.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor c) { transparent_color_ = c; }

  TPixmap ToImage() const;
  void FromImage(const TPixmap& image);

 private:
  friend class TBitmapCanvas;
  void Recreate(int width, int height, TPixelFormat format, const std::vector<uint32_t>& palette,
                bool keep_pixels);
  int width_ = 0, height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
  HBITMAP dib_ = nullptr;
  uint8_t* bits_ = nullptr;
  TColor transparent_color_ = clDefault;
  std::unique_ptr<TBitmapCanvas> canvas_;
};

// Holds one graphic (a bitmap here) and hands it out.
class TPicture : public TPersistent {
  MV_CLASS(TPicture, TPersistent)
 public:
  TPicture();
  ~TPicture() override;
  void Assign(const TPersistent& source) override;
  TGraphic* Graphic() const { return graphic_.get(); }
  // The picture as a bitmap, an empty one created when there is none.
  TBitmap& Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;
  void Clear();
  std::function<void(TObject*)> OnChange;

 private:
  std::unique_ptr<TGraphic> graphic_;
};

// Module instance of the program (the framework is linked statically).
HINSTANCE MainInstance();
