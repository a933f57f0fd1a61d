#include "engine_controls/skin_trackbar.h"

#include "engine/range_rules.h"
#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/messages.h"

namespace {

// No notification record lives in the lowest 64 KB of the address space;
// smaller values are numbers some sender put there.
constexpr ULONG_PTR kLowestRecord = 0x10000;

const TDataSkinObject* WithPicture(const TDataSkinObject* e) {
  return e && !e->Bitmap.Empty() ? e : nullptr;
}

}  // namespace

TSkinTrackBar::TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}

bool TSkinTrackBar::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NOTIFY:
    case CN_NOTIFY:
      if (const NMCUSTOMDRAW* draw = OwnCustomDraw(m)) {
        m.Result = CustomDraw(*draw);
        return false;
      }
      return true;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

const NMCUSTOMDRAW* TSkinTrackBar::OwnCustomDraw(const TMessage& m) const {
  // The number of the framework's reflected notification is also the
  // engine's "skinned" message, whose LParam is a marker, not a record.
  if (m.Msg == kSkmSkinned && m.LParam == kSkinMagic) return nullptr;
  if (static_cast<ULONG_PTR>(m.LParam) < kLowestRecord || !Handle) return nullptr;
  const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
  if (header->hwndFrom != Handle || header->code != static_cast<UINT>(NM_CUSTOMDRAW))
    return nullptr;
  return reinterpret_cast<const NMCUSTOMDRAW*>(header);
}

void TSkinTrackBar::SkinChanged() {
  TSkinControl::SkinChanged();
}

bool TSkinTrackBar::Vertical() const {
  return (GetLong(Handle, GWL_STYLE) & TBS_VERT) != 0;
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw) {
  if (!HasSkin() || !Form) return CDRF_DODEFAULT;
  switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      if (!draw.hdc) return CDRF_DODEFAULT;
      if (draw.dwItemSpec == TBCD_THUMB) {
        DrawThumb(draw.hdc);
        return CDRF_SKIPDEFAULT;
      }
      if (draw.dwItemSpec == TBCD_CHANNEL) {
        DrawChannel(draw.hdc);
        return CDRF_SKIPDEFAULT;
      }
      return CDRF_DODEFAULT;  // the tick marks
    default:
      return CDRF_DODEFAULT;
  }
}

void TSkinTrackBar::DrawChannel(HDC dc) {
  RECT reported{};
  SendMessageW(Handle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&reported));
  TRect channel{reported.left, reported.top, reported.right, reported.bottom};
  const TDataSkinObject* image = nullptr;
  bool vertical = false;
  if (Vertical() && (image = WithPicture(Skin().Element(ksTrackVert))) != nullptr) {
    vertical = true;
    channel = VerticalChannelRect(channel);
  } else {
    image = WithPicture(Skin().Element(ksTrack));
  }
  if (!image) return;
  const TNativeBitmap& picture = Form->Native(image->Bitmap);
  if (picture.Empty()) return;
  TMemoryDC src(picture);
  const int old_mode = SetStretchBltMode(dc, COLORONCOLOR);
  for (const TBlit& b :
       PlanTrackChannel(channel, picture.Width(), picture.Height(), image->Margins(), vertical)) {
    if (image->Trans != 0)
      TransparentBlt(dc, b.Dst.Left, b.Dst.Top, b.Dst.Width(), b.Dst.Height(), src.Handle(),
                     b.Src.Left, b.Src.Top, b.Src.Width(), b.Src.Height(), RGB(255, 0, 255));
    else
      StretchBlt(dc, b.Dst.Left, b.Dst.Top, b.Dst.Width(), b.Dst.Height(), src.Handle(), b.Src.Left,
                 b.Src.Top, b.Src.Width(), b.Src.Height(), SRCCOPY);
  }
  SetStretchBltMode(dc, old_mode);
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!IsWindow(Handle)) return;
  RECT t{};
  SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
  const TRect thumb{t.left, t.top, t.right, t.bottom};
  if (thumb.IsEmpty()) return;
  const TDataSkinObject* picture =
      Vertical() ? WithPicture(Skin().Element(ksTrackThumbVert)) : nullptr;
  if (!picture) picture = WithPicture(Skin().Element(ksTrackThumbHorz));
  if (picture && !ThumbCellRect(picture->Bitmap.Width, picture->Bitmap.Height).IsEmpty()) {
    DrawFrameScaled(dc, thumb, Form->Native(picture->Bitmap), true, kThumbCells, kThumbCell);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, SkinColour(kcButtonShadow));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  Rectangle(dc, thumb.Left, thumb.Top, thumb.Right, thumb.Bottom);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}
