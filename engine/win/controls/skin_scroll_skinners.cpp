// The skinners that cover scroll bars with overlays: framework controls with
// scroll bars, list views, bare windows and scroll-bar controls.
#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <string>

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_header.h"
#include "engine_controls/skin_scrollbar.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/controls.h"
#include "framework/messages.h"
#include "framework/props.h"

namespace {

constexpr UINT kFrameworkScrollReflection = 0xBD15;  // CN_VSCROLL

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool Has(const std::unique_ptr<TWScrollbar>& bar) {
  return bar && bar->Showing;
}

// Where the client area starts in the window (the border's width).
TPoint ClientOffset(HWND window) {
  RECT w;
  GetWindowRect(window, &w);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.x - w.left, origin.y - w.top};
}

TRect FromRect(const RECT& r) {
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
          static_cast<int>(r.bottom)};
}

void FillSquare(HDC dc, const TRect& r, COLORREF colour) {
  const RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  HBRUSH b = CreateSolidBrush(colour);
  FillRect(dc, &rr, b);
  DeleteObject(b);
}

// The corner square of a window covered by two overlays.
void FillCornerOf(HWND window, const TWScrollbar& vertical, const TWScrollbar& horizontal, HDC dc,
                  COLORREF face) {
  const TRect r = ScrollCornerRect(FromRect(vertical.ClientRect), FromRect(horizontal.ClientRect),
                                   ClientOffset(window));
  HDC own = dc ? dc : GetWindowDC(window);
  if (!own) return;
  FillSquare(own, r, face);
  if (!dc) ReleaseDC(window, own);
}

}  // namespace

// ---- framework controls with scroll bars --------------------------------------------

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::AttachControl(TSkinControlList* form, TSkinData* data, bool,
                                   TPaintBuffer* canvas) {
  if (auto* control = dynamic_cast<TControl*>(Owner()))
    AttachScrolling(control, data, form, canvas);
}

void TSkinScrollbar::AttachScrolling(TControl* control, TSkinData* data, TSkinControlList* form,
                                     TPaintBuffer* canvas) {
  if (Attached || !control || control != Owner()) return;
  // The base stores the control, hooks its handler and registers; the
  // control's Color stays its own.
  TSkinControl::AttachControl(form, data, false, canvas);
  if (!Attached) return;
  const std::string border = Lower(GetEnumPropByName(control, "BorderStyle"));
  Bordered = !border.empty() && border != "bsnone";
  if (Control->ClassName() == std::string("TImageScrollBox") || Mode == 1) Bordered = false;
  if (const TPropInfo* p = GetPropInfo(control, "FixedColor"); p && p->Kind == TPropKind::Integer) {
    SavedFixedColor = static_cast<uint32_t>(GetOrdPropByName(control, "FixedColor"));
    FixedColorSaved = true;
    SetPropFromText(control, "FixedColor", std::to_string(Skin().Colours[kcButtonFace]));
  }
  HorzBar = std::make_unique<TWScrollbar>(this);
  VertBar = std::make_unique<TWScrollbar>(this);
  HorzBar->AttachToControl(control, TWScrollbar::kHorizontal);
  VertBar->AttachToControl(control, TWScrollbar::kVertical);
  HorzBar->SetEnabled(control->Enabled());
  VertBar->SetEnabled(control->Enabled());
  if (!control->Visible()) HideBars();
  if (Bordered)
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollbar::Detach() {
  if (FixedColorSaved && Control)
    SetPropFromText(Control, "FixedColor", std::to_string(SavedFixedColor));
  FixedColorSaved = false;
  TSkinControl::Detach();
  if (LifeState == kWindowGone) {
    HideBars();  // nothing left to cover; freed with the skinner
    return;
  }
  HorzBar.reset();
  VertBar.reset();
  if (Handle && IsWindow(Handle))
    RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TSkinScrollbar::SkinChanged() {
  if (FixedColorSaved && Control)
    SetPropFromText(Control, "FixedColor", std::to_string(Skin().Colours[kcButtonFace]));
  RepositionBars();
  TSkinControl::SkinChanged();
}

void TSkinScrollbar::ActiveChanged() {
  if (Active)
    RepositionBars();
  else
    HideBars();
}

void TSkinScrollbar::RepositionBars() {
  if (HorzBar) HorzBar->Reposition(Handle);
  if (VertBar) VertBar->Reposition(Handle);
}

void TSkinScrollbar::HideBars() {
  if (HorzBar) HorzBar->HideBar();
  if (VertBar) VertBar->HideBar();
}

void TSkinScrollbar::InvalidateShowingBars() {
  if (Has(HorzBar)) HorzBar->Invalidate();
  if (Has(VertBar)) VertBar->Invalidate();
}

void TSkinScrollbar::DrawBorder(HDC dc) {
  RECT r;
  if (!dc || !GetWindowRect(Handle, &r)) return;
  OffsetRect(&r, -r.left, -r.top);
  HBRUSH shadow = CreateSolidBrush(SkinColour(kcButtonShadow));
  HBRUSH face = CreateSolidBrush(SkinColour(kcButtonFace));
  FrameRect(dc, &r, shadow);
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, face);
  DeleteObject(shadow);
  DeleteObject(face);
}

void TSkinScrollbar::FillCorner(HDC window_dc) {
  if (Has(HorzBar) && Has(VertBar))
    FillCornerOf(Handle, *VertBar, *HorzBar, window_dc, SkinColour(kcButtonFace));
}

bool TSkinScrollbar::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_NCPAINT && Bordered) {
    CallOriginal(m);
    HDC dc = GetWindowDC(Handle);
    DrawBorder(dc);
    FillCorner(dc);
    ReleaseDC(Handle, dc);
    return false;
  }
  if (m.Msg == kSkmPaintFrame && m.LParam == kSkinMagic) {
    DrawBorder(reinterpret_cast<HDC>(m.WParam));
    m.Result = kSkinMagic;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      RepositionBars();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      TWScrollbar* bar = (m.Msg == WM_HSCROLL ? HorzBar : VertBar).get();
      if (bar) {
        bar->HotPart = ScrollPartOfRequest(LOWORD(m.WParam));
        bar->Invalidate();
      }
      break;
    }
    case WM_MOUSEWHEEL:
      InvalidateShowingBars();
      break;
    case WM_NCPAINT:
      FillCorner(nullptr);
      break;
    case CM_VISIBLECHANGED:
      if (m.WParam)
        RepositionBars();
      else
        HideBars();
      break;
    case CM_ENABLEDCHANGED:
      if (HorzBar) HorzBar->SetEnabled(Control && Control->Enabled());
      if (VertBar) VertBar->SetEnabled(Control && Control->Enabled());
      InvalidateShowingBars();
      TSkinControl::AfterMessage(m);
      break;
    case CM_RECREATEWND:
      if (HWND host = Form ? Form->HostWindow() : nullptr)
        PostMessageW(host, kSkmReskin, reinterpret_cast<WPARAM>(Handle), 0);
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT&) {
  const LONG_PTR style = GetLong(Handle, GWL_STYLE);
  for (auto* bar : {HorzBar.get(), VertBar.get()}) {
    if (!bar) continue;
    const LONG_PTR needs = bar == VertBar.get() ? WS_VSCROLL : WS_HSCROLL;
    // A bar that came back (or went) since the last look.
    if (bar->Showing || (style & needs))
      bar->Reposition(Handle);
    else
      bar->HideBar();
  }
  FillCorner(dc);
}

// ---- list views ---------------------------------------------------------------------

TSkinListView::TSkinListView(TComponent* owner) : TSkinScrollbar(owner) {}

void TSkinListView::AttachScrolling(TControl* control, TSkinData* data, TSkinControlList* form,
                                    TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinScrollbar::AttachScrolling(control, data, form, canvas);
  if (!Attached) return;
  HeaderWindow = reinterpret_cast<HWND>(SendMessageW(Handle, LVM_GETHEADER, 0, 0));
  if (HeaderWindow) AttachHeaderSkinner(HeaderWindow);
}

void TSkinListView::AttachHeaderSkinner(HWND header) {
  if (!Form || Form->Find(header)) return;
  // Owned by the list view, like this skinner: it goes with the control.
  auto* skinner = new TSkinHeader(Control ? static_cast<TComponent*>(Control) : this);
  skinner->AttachWindow(header, SkinData, Form, Canvas);
  if (!skinner->Attached) skinner->Free();
}

// ---- bare windows ---------------------------------------------------------------------

TSkinScrollbarH::TSkinScrollbarH(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                                   TPaintBuffer* canvas) {
  if (Attached || !window) return;
  TSkinControl::AttachWindow(window, data, form, canvas);
  if (!Attached) return;
  HorzBar = std::make_unique<TWScrollbar>(this);
  VertBar = std::make_unique<TWScrollbar>(this);
  HorzBar->AttachToWindow(window, TWScrollbar::kHorizontal);
  VertBar->AttachToWindow(window, TWScrollbar::kVertical);
}

void TSkinScrollbarH::Detach() {
  TSkinControl::Detach();
  if (LifeState == kWindowGone) {
    if (HorzBar) HorzBar->HideBar();
    if (VertBar) VertBar->HideBar();
    return;
  }
  HorzBar.reset();
  VertBar.reset();
}

void TSkinScrollbarH::ActiveChanged() {
  if (Active) {
    RepositionBars();
    return;
  }
  if (HorzBar) HorzBar->HideBar();
  if (VertBar) VertBar->HideBar();
}

void TSkinScrollbarH::RepositionBars() {
  if (HorzBar) HorzBar->Reposition(Handle);
  if (VertBar) VertBar->Reposition(Handle);
}

void TSkinScrollbarH::AfterMessage(TMessage& m) {
  if (VertBar && !IsWindowVisible(Handle)) VertBar->HideBar();
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
    case WM_WINDOWPOSCHANGED:
      RepositionBars();
      if (m.Msg == WM_NCPAINT && Has(HorzBar) && Has(VertBar))
        FillCornerOf(Handle, *VertBar, *HorzBar, nullptr, SkinColour(kcButtonFace));
      break;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      TWScrollbar* bar = (m.Msg == WM_HSCROLL ? HorzBar : VertBar).get();
      if (bar) {
        bar->HotPart = ScrollPartOfRequest(LOWORD(m.WParam));
        bar->Invalidate();
      }
      break;
    }
    case WM_MOUSEWHEEL:
      if (Has(HorzBar)) HorzBar->Invalidate();
      if (Has(VertBar)) VertBar->Invalidate();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScrollbarH::DrawSkin(HDC dc, const RECT&) {
  if (Has(HorzBar)) HorzBar->Invalidate();
  if (Has(VertBar)) VertBar->Invalidate();
  if (Has(HorzBar) && Has(VertBar))
    FillCornerOf(Handle, *VertBar, *HorzBar, dc, SkinColour(kcButtonFace));
}

// ---- scroll-bar controls ----------------------------------------------------------------

TSkinScControl::TSkinScControl(TComponent* owner) : TSkinControl(owner) {}

TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::AttachControl(TSkinControlList* form, TSkinData* data, bool,
                                   TPaintBuffer* canvas) {
  if (auto* control = dynamic_cast<TControl*>(Owner()))
    AttachScrollBar(control, data, form, canvas);
}

void TSkinScControl::AttachScrollBar(TControl* control, TSkinData* data, TSkinControlList* form,
                                     TPaintBuffer* canvas) {
  if (Attached || !control || control != Owner()) return;
  TSkinControl::AttachControl(form, data, false, canvas);
  if (!Attached) return;
  Bar = std::make_unique<TWScrollbar>(this);
  Bar->AttachToControl(control, TWScrollbar::kControl);
  if (!control->Visible()) Bar->HideBar();
}

void TSkinScControl::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                                  TPaintBuffer* canvas) {
  if (Attached || !window) return;
  TSkinControl::AttachWindow(window, data, form, canvas);
  if (!Attached) return;
  Bar = std::make_unique<TWScrollbar>(this);
  Bar->AttachToWindow(window, TWScrollbar::kControl);
}

void TSkinScControl::Detach() {
  TSkinControl::Detach();
  if (LifeState != kWindowGone)
    Bar.reset();
  else if (Bar)
    Bar->HideBar();
}

void TSkinScControl::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_SHOWWINDOW:
      if (Bar) Bar->Reposition(Handle);
      break;
    case WM_NCPAINT:
      if (auto* win = dynamic_cast<TWinControl*>(Control); win && win->HandleAllocated())
        Handle = win->WindowHandle();
      if (Bar) Bar->Reposition(Handle);
      break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case kFrameworkScrollReflection:
    case WM_ENABLE:
      if (Bar) Bar->Invalidate();
      TSkinControl::AfterMessage(m);
      break;
    case CM_VISIBLECHANGED:
      if (!Bar) break;
      if (m.WParam)
        Bar->Reposition(Handle);
      else
        Bar->HideBar();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinScControl::ActiveChanged() {
  if (!Bar) return;
  if (Active)
    Bar->Reposition(Handle);
  else
    Bar->HideBar();
}

void TSkinScControl::DrawSkin(HDC, const RECT&) {
  if (Bar) Bar->Invalidate();
}

// ---- a re-created window ------------------------------------------------------------------

void ReskinScrollControl(TSkinControlList& list, HWND old_window) {
  TSkinControl* old = list.Find(old_window);
  auto* scrolling = dynamic_cast<TSkinScrollbar*>(old);
  if (!scrolling || !scrolling->Control) return;
  TControl* control = scrolling->Control;
  const bool list_view = dynamic_cast<TSkinListView*>(old) != nullptr;
  const int mode = old->Mode;
  if (old->LifeState != TSkinControl::kWindowGone) old->Detach();
  old->Free();
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win || !win->Handle()) return;
  TSkinScrollbar* fresh = list_view ? new TSkinListView(control) : new TSkinScrollbar(control);
  fresh->Mode = mode;
  fresh->AttachScrolling(control, list.Data(), &list, list.Canvas());
  if (!fresh->Attached) fresh->Free();
}
