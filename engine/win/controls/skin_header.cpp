#include "engine_controls/skin_header.h"

#include <commctrl.h>
#include <windowsx.h>

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_tabs.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/messages.h"

namespace {

constexpr UINT kHeaderTextFlags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE;
constexpr int kHeaderTextChars = 200;

struct TSection {
  std::wstring Text;
  int Format = 0;
  int Image = -1;
};

TSection ReadSection(HWND window, int index) {
  wchar_t text[kHeaderTextChars + 1] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
  item.pszText = text;
  item.cchTextMax = kHeaderTextChars;
  item.iImage = -1;
  TSection s;
  if (!SendMessageW(window, HDM_GETITEMW, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&item)))
    return s;
  text[kHeaderTextChars] = L'\0';
  s.Text = item.pszText ? item.pszText : L"";
  s.Format = item.fmt;
  s.Image = item.iImage;
  return s;
}

}  // namespace

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

void TSkinHeader::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                TPaintBuffer* canvas) {
  TSkinControl::AttachControl(form, data, own_color, canvas);
  HotItem = PressedItem = -1;
}

void TSkinHeader::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                               TPaintBuffer* canvas) {
  TSkinControl::AttachWindow(window, data, form, canvas);
  HotItem = PressedItem = -1;
}

const TDataSkinObject* TSkinHeader::Bar() const {
  if (!HasSkin()) return nullptr;
  const TDataSkinObject* bar = Skin().Element(ksHeaderbar);
  return bar && !bar->Bitmap.Empty() ? bar : nullptr;
}

bool TSkinHeader::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!Bar()) break;
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      if (!Bar()) break;
      m.Result = 1;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinHeader::AfterMessage(TMessage& m) {
  const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      OnMouseMove(p);
      break;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      break;
    case WM_LBUTTONDOWN:
      OnButtonDown(p);
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      OnButtonUp();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

int TSkinHeader::SectionAt(TPoint p) const {
  HDHITTESTINFO hit{};
  hit.pt = {p.X, p.Y};
  const int index =
      static_cast<int>(SendMessageW(Handle, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (index < 0 || !(hit.flags & HHT_ONHEADER) || (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)))
    return -1;
  return index;
}

void TSkinHeader::OnMouseMove(TPoint p) {
  TRACKMOUSEEVENT t{};
  t.cbSize = sizeof(t);
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = Handle;
  TrackMouseEvent(&t);
  const int hot = SectionAt(p);
  if (hot == HotItem) return;
  HotItem = hot;
  Refresh();
}

void TSkinHeader::OnMouseLeave() {
  if (HotItem == -1) return;
  HotItem = -1;
  Refresh();
}

void TSkinHeader::OnButtonDown(TPoint p) {
  // The header captures the mouse for a press on a section (not for one on
  // a divider, which starts a drag).
  if (GetCapture() != Handle) return;
  PressedItem = SectionAt(p);
  if (PressedItem != -1) Refresh();
}

void TSkinHeader::OnButtonUp() {
  if (PressedItem == -1 || GetCapture() == Handle) return;
  PressedItem = -1;
  Refresh();
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinObject* bar = Bar();
  if (!dc || !Handle || !bar || !Form) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  TPaintBuffer::TLease lease(Canvas, w, h);
  HDC buffer = lease.Dc();
  if (!buffer) return;
  Enabled = true;
  FillFace(buffer, {0, 0, w, h});
  auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  HGDIOBJ old_font =
      SelectObject(buffer, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  const int count = std::max(static_cast<int>(SendMessageW(Handle, HDM_GETITEMCOUNT, 0, 0)), 0);
  ItemRects.assign(static_cast<size_t>(count), TRect{});
  int rightmost = 0;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!SendMessageW(Handle, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(&r)))
      continue;
    const TRect item{r.left, r.top, r.right, r.bottom};
    if (item.IsEmpty()) continue;
    DrawSection(buffer, i, item, *bar);
    ItemRects[static_cast<size_t>(i)] = {item.Left + 3, item.Top, item.Right - 3, item.Bottom};
    rightmost = std::max(rightmost, item.Right);
  }
  const TRect rest = HeaderRest({0, 0, w, h}, rightmost);
  if (!rest.IsEmpty())
    DrawElement(buffer, rest, Form->Native(bar->Bitmap), false, bar->Tile != 0, bar->Trans != 0,
                std::max(bar->FrameCount, 1), 1, bar->Margins());
  SelectObject(buffer, old_font);
  lease.CopyTo(dc, rect.left, rect.top);
}

void TSkinHeader::DrawSection(HDC dc, int index, const TRect& r, const TDataSkinObject& bar) {
  const int frames = std::max(bar.FrameCount, 1);
  const int frame = HeaderSectionFrame(index == HotItem, index == PressedItem, frames);
  DrawElement(dc, r, Form->Native(bar.Bitmap), false, bar.Tile != 0, bar.Trans != 0, frames, frame,
              bar.Margins());
  const TSection s = ReadSection(Handle, index);
  if (s.Text.empty()) return;
  SetTextColor(
      dc, Skin().ColourSet[kcWindowText] ? SkinColour(kcWindowText) : GetSysColor(COLOR_BTNTEXT));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, HDM_GETIMAGELIST, 0, 0));
  const int image = HeaderUsesImage(s.Format) ? s.Image : -1;
  DrawItemContent(*this, dc, r, HeaderAlign(s.Format), s.Text, image, images, kHeaderTextFlags);
}
