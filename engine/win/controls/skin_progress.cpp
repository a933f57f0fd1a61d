#include "engine_controls/skin_progress.h"

#include <commctrl.h>

#include "engine/image_ops.h"
#include "engine/range_rules.h"
#include "engine/raster.h"
#include "engine/skin_elements.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/messages.h"

namespace {

// The largest side a bar is composed at (a bigger one is drawn by the
// control itself).
constexpr int kLargestSide = 16384;

const TDataSkinObject* WithPicture(const TDataSkinObject* e) {
  return e && !e->Bitmap.Empty() ? e : nullptr;
}

}  // namespace

TSkinProgress::TSkinProgress(TComponent* owner) : TSkinControl(owner) {}

const TDataSkinObject* TSkinProgress::Bar() const {
  if (!HasSkin()) return nullptr;
  const TDataSkinObject* bar = WithPicture(Skin().Element(ksProgress));
  // A chunked skin without its chunk picture cannot show the position.
  if (bar && bar->Style == 1 && !WithPicture(Skin().Element(ksProgressChunk))) return nullptr;
  return bar;
}

bool TSkinProgress::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!Bar()) return TSkinControl::BeforeMessage(m);
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      if (!Bar()) return TSkinControl::BeforeMessage(m);
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

TSkinProgress::TRange TSkinProgress::ReadRange() const {
  TRange r;
  r.Pos = static_cast<int>(SendMessageW(Handle, PBM_GETPOS, 0, 0));
  r.High = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, 0, 0));
  r.Low = static_cast<int>(SendMessageW(Handle, PBM_GETRANGE, 1, 0));
  return r;
}

void TSkinProgress::ComposeSmooth(TPixmap& buffer, const TDataSkinObject& bar,
                                  const TRange& range) const {
  const TRect all{0, 0, buffer.Width, buffer.Height};
  const bool tile = bar.Tile != 0;
  DrawElementImage(buffer, all, bar.Bitmap, false, tile, true, 2, 1, bar.Margins());
  const TRect fill = ProgressFillRect(all, range.Pos, range.Low, range.High);
  if (!fill.IsEmpty())
    DrawElementImage(buffer, fill, bar.Bitmap, false, tile, true, 2, 2, bar.Margins());
}

void TSkinProgress::ComposeChunked(TPixmap& buffer, const TDataSkinObject& bar,
                                   const TRange& range) const {
  const TRect all{0, 0, buffer.Width, buffer.Height};
  DrawElementImage(buffer, all, bar.Bitmap, false, false, true, 1, 1, bar.Margins());
  const TDataSkinObject* chunk = WithPicture(Skin().Element(ksProgressChunk));
  if (!chunk) return;
  const int fill_right = ProgressFillLength(all.Width(), range.Pos, range.Low, range.High);
  const TPixmap picture = To24Bit(chunk->Bitmap);
  const TPoint size{picture.Width, picture.Height};
  const bool tiled = chunk->Tile != 0;
  const TChunkStrip s = PlanChunkStrip(all, fill_right, size, chunk->LeftWidth, tiled);
  if (s.Area.IsEmpty()) return;
  const TRect whole{0, 0, s.Area.Width(), s.Area.Height()};
  if (!tiled) {
    const TPixmap sliced = SliceFrameImage(whole.Width(), whole.Height(), picture, chunk->Margins(),
                                           false, false, 1, 1);
    StretchCopy(buffer, s.Area, sliced, whole, true);
    return;
  }
  TPixmap strip = SolidImage(whole.Width(), whole.Height(), kMagenta);
  for (int x : s.Copies)
    StretchCopy(strip, {x, 0, x + size.X, size.Y}, picture, {0, 0, size.X, size.Y});
  StretchCopy(buffer, s.Area, strip, whole, true);
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinObject* bar = Bar();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (!bar || !dc || w <= 0 || h <= 0 || w > kLargestSide || h > kLargestSide) return;
  const bool vertical = (GetLong(Handle, GWL_STYLE) & PBS_VERTICAL) != 0;
  const TRect work = ProgressWorkRect({0, 0, w, h}, vertical);
  TPixmap buffer = SolidImage(work.Width(), work.Height(), Skin().Colours[kcButtonFace]);
  const TRange range = ReadRange();
  if (bar->Style == 1)
    ComposeChunked(buffer, *bar, range);
  else
    ComposeSmooth(buffer, *bar, range);
  if (vertical) RotateLeft(buffer);
  const TNativeBitmap out(buffer);
  if (out.Empty()) return;
  TMemoryDC src(out);
  BitBlt(dc, rect.left, rect.top, w, h, src.Handle(), 0, 0, SRCCOPY);
}
