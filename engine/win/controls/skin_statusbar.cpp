#include "engine_controls/skin_statusbar.h"

#include <commctrl.h>

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/comctrls.h"
#include "framework/messages.h"

namespace {

constexpr int kMostParts = 256;

TItemAlign FromAlignment(TAlignment a) {
  if (a == TAlignment::taRightJustify) return TItemAlign::Right;
  if (a == TAlignment::taCenter) return TItemAlign::Centre;
  return TItemAlign::Left;
}

TPanelBevel FromBevel(TStatusPanelBevel b) {
  if (b == TStatusPanelBevel::pbNone) return TPanelBevel::None;
  if (b == TStatusPanelBevel::pbRaised) return TPanelBevel::Raised;
  return TPanelBevel::Lowered;
}

// A part of a bar without a framework control: its text, its drawing flags
// and the tabs that align it (one centres, two right-align).
TSkinStatusBar::TPanel ReadPart(HWND bar, int index) {
  TSkinStatusBar::TPanel p;
  const LRESULT length = SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0);
  const UINT flags = HIWORD(length);
  if (flags & SBT_NOBORDERS) p.Bevel = TPanelBevel::None;
  if (flags & SBT_POPOUT) p.Bevel = TPanelBevel::Raised;
  p.OwnerDraw = (flags & SBT_OWNERDRAW) != 0;
  if (p.OwnerDraw) return p;
  std::wstring text(static_cast<size_t>(LOWORD(length)) + 1, L'\0');
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(wcsnlen(text.c_str(), text.size()));
  size_t tabs = 0;
  while (tabs < text.size() && tabs < 2 && text[tabs] == L'\t')
    ++tabs;
  p.Align = tabs == 2 ? TItemAlign::Right : tabs == 1 ? TItemAlign::Centre : TItemAlign::Left;
  p.Text = text.substr(tabs);
  return p;
}

}  // namespace

TSkinStatusBar::TSkinStatusBar(TComponent* owner) : TSkinControl(owner) {}

bool TSkinStatusBar::BeforeMessage(TMessage& m) {
  if (!HasSkin()) return TSkinControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

bool TSkinStatusBar::Simple() const {
  if (auto* bar = dynamic_cast<TCustomStatusBar*>(Control))
    return bar->SimplePanel() || bar->PanelCount() == 0;
  return SendMessageW(Handle, SB_ISSIMPLE, 0, 0) != 0;
}

std::vector<TSkinStatusBar::TPanel> TSkinStatusBar::ReadPanels(const TRect& bar) const {
  std::vector<TPanel> panels;
  auto* control = dynamic_cast<TCustomStatusBar*>(Control);
  const int count =
      control ? control->PanelCount() : static_cast<int>(SendMessageW(Handle, SB_GETPARTS, 0, 0));
  const bool rtl = (ReadingFlags(0) & DT_RTLREADING) != 0;
  for (int i = 0; i < std::min(count, kMostParts); ++i) {
    RECT r{};  // stays empty (the panel is not drawn) when the bar has no such part
    SendMessageW(Handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    TPanel p;
    if (control) {
      TStatusPanel* source = control->Panels(i);
      p.Bevel = FromBevel(source->Bevel());
      p.Align = FromAlignment(source->Alignment());
      p.Text = WidenText(source->Text());
      p.OwnerDraw = source->Style() == TStatusPanelStyle::psOwnerDraw;
    } else {
      p = ReadPart(Handle, i);
    }
    p.Align = StatusPanelAlign(p.Align, rtl);
    p.Rect = StatusPanelRect({r.left, r.top, r.right, r.bottom}, i + 1 == count, bar);
    panels.push_back(std::move(p));  // one per panel, also those not shown
  }
  return panels;
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
  if (!dc || !Handle || !HasSkin()) return;
  ReadWindowState();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  TPaintBuffer::TLease lease(Canvas, w, h);
  HDC buffer = lease.Dc();
  if (!buffer) return;
  const TRect bar{0, 0, w, h};
  FillFace(buffer, {0, 0, w, h});
  auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  HGDIOBJ old_font =
      SelectObject(buffer, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  const TDataSkinObject* edges = Skin().Element(ksStatusBarEdges);
  SetTextColor(buffer, edges && !edges->Bitmap.Empty() ? ToColorRef(edges->NormalColour2)
                                                       : SkinColour(kcButtonText));
  std::vector<TPanel> panels;
  if (Simple()) {
    auto* control = dynamic_cast<TCustomStatusBar*>(Control);
    std::wstring text = control ? WidenText(control->SimpleText()) : WindowText(Handle);
    if (text.empty()) text = L" ";
    const bool rtl = (ReadingFlags(0) & DT_RTLREADING) != 0;
    DrawPanelFrame(buffer, bar, StatusPanelFrame(TPanelBevel::Lowered));
    DrawPanelText(buffer, bar, rtl ? TItemAlign::Right : TItemAlign::Left, text);
  } else {
    panels = ReadPanels(bar);
    for (const TPanel& p : panels) {
      if (p.Rect.IsEmpty()) continue;
      DrawPanelFrame(buffer, p.Rect, StatusPanelFrame(p.Bevel));
      if (!p.OwnerDraw) DrawPanelText(buffer, p.Rect, p.Align, p.Text.empty() ? L" " : p.Text);
    }
  }
  const TRect grip =
      (GetLong(Handle, GWL_STYLE) & SBARS_SIZEGRIP) ? DrawGrip(buffer, bar) : TRect{};
  SelectObject(buffer, old_font);
  lease.CopyTo(dc, rect.left, rect.top);
  if (auto* win = dynamic_cast<TWinControl*>(Control)) win->PaintControls(dc);
  // The application's drawing stays off the grip, as on a bare bar.
  const int saved = SaveDC(dc);
  if (!grip.IsEmpty()) ExcludeClipRect(dc, grip.Left, grip.Top, grip.Right, grip.Bottom);
  DrawOwnerPanels(dc, panels);
  RestoreDC(dc, saved);
}

void TSkinStatusBar::DrawPanelFrame(HDC dc, const TRect& r, int frame) {
  const TDataSkinObject* edges = Skin().Element(ksStatusBarEdges);
  if (edges && !edges->Bitmap.Empty() && Form) {
    DrawElement(dc, r, Form->Native(edges->Bitmap), false, edges->Tile != 0, edges->Trans != 0, 3,
                frame, edges->Margins());
    return;
  }
  if (frame == 3 || r.IsEmpty()) return;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF top_left = frame == 1 ? shadow : light, bottom_right = frame == 1 ? light : shadow;
  auto line = [dc](int x1, int y1, int x2, int y2, COLORREF c) {
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(pen);
  };
  line(r.Left, r.Bottom - 1, r.Left, r.Top, top_left);
  line(r.Left, r.Top, r.Right, r.Top, top_left);
  line(r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom, bottom_right);
  line(r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom - 1, bottom_right);
}

void TSkinStatusBar::DrawPanelText(HDC dc, const TRect& r, TItemAlign align,
                                   const std::wstring& text) {
  const UINT flags = ItemAlignFlags(align) | DT_EXPANDTABS;
  RECT measure{r.Left + 2, r.Top, std::max(r.Right - 2, r.Left + 2), r.Bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
            flags | DT_CALCRECT | DT_NOCLIP);
  const TRect place =
      StatusPanelTextRect(r, align, {measure.right - measure.left, measure.bottom - measure.top});
  RECT out{place.Left, place.Top, place.Right, place.Bottom};
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &out,
            ReadingFlags(flags | DT_SINGLELINE | DT_END_ELLIPSIS));
  SetBkMode(dc, old_mode);
}

TRect TSkinStatusBar::DrawGrip(HDC dc, const TRect& bar) {
  const TDataSkinObject* extra = Skin().Element(ksExtraImages);
  if (!extra || extra->Bitmap.Empty() || !Form) return {};
  const TRect cell =
      FrameRect(extra->Bitmap.Width, extra->Bitmap.Height, kExtraImageCells, kGripCell, false);
  const TRect grip = StatusGripRect(bar, {cell.Width(), cell.Height()});
  if (grip.IsEmpty()) return {};
  DrawFrameScaled(dc, grip, Form->Native(extra->Bitmap), true, kExtraImageCells, kGripCell);
  return grip;
}

void TSkinStatusBar::DrawOwnerPanels(HDC dc, const std::vector<TPanel>& panels) {
  auto* bar = dynamic_cast<TCustomStatusBar*>(Control);
  if (!bar || !bar->OnDrawPanel) return;
  // Only the panels the application draws itself: the others show their
  // text and must not get the application's drawing over it.
  for (int i = 0; i < bar->PanelCount() && i < static_cast<int>(panels.size()); ++i) {
    const TPanel& p = panels[static_cast<size_t>(i)];
    if (!p.OwnerDraw || p.Rect.IsEmpty()) continue;
    const TRect& r = p.Rect;
    const RECT inner{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
    bar->Canvas().SetHandle(dc);
    bar->Canvas().Font().Assign(*bar->Font());
    try {
      bar->OnDrawPanel(bar, bar->Panels(i), inner);
    } catch (...) {
      // The bar keeps what was drawn.
    }
    bar->Canvas().SetHandle(nullptr);
  }
}
