#include "engine_controls/skin_combo.h"

#include <windowsx.h>

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_scrollbar.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/messages.h"

namespace {

// A list that pops up (its own window, or one whose parent is the desktop)
// is not covered by overlays.
bool IsPopup(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  return (style & WS_POPUP) || GetParent(window) == GetDesktopWindow();
}

TRect ToTRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The picture of an element is there to be drawn.
bool Usable(const TDataSkinObject* e) {
  return e && !e->Bitmap.Empty() && e->FrameCount > 0;
}

}  // namespace

void DrawFrameRings(HDC dc, const std::vector<TFrameRing>& rings, COLORREF shadow, HBRUSH brush) {
  HBRUSH shadow_brush = CreateSolidBrush(shadow);
  for (const TFrameRing& ring : rings) {
    const RECT r{ring.Rect.Left, ring.Rect.Top, ring.Rect.Right, ring.Rect.Bottom};
    HBRUSH b = ring.Ink == TFrameInk::Shadow  ? shadow_brush
               : ring.Ink == TFrameInk::White ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))
                                              : brush;
    if (b) FrameRect(dc, &r, b);
  }
  DeleteObject(shadow_brush);
}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() {
  edit_sub_.Detach();
  FreeListSkinners();
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == DropScroll) DropScroll = nullptr;
  if (component == ListScroll) ListScroll = nullptr;
}

bool TSkinComBox::ReadInfo() {
  Info = {};
  Info.cbSize = sizeof Info;
  return Handle && GetComboBoxInfo(Handle, &Info);
}

bool TSkinComBox::EditHooked() const {
  return edit_sub_.Attached();
}

void TSkinComBox::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, own_color, canvas);
  if (!Attached || !Handle) return;
  Style = static_cast<uint32_t>(GetLong(Handle, GWL_STYLE));
  if (Simple()) {
    AttachSimpleList();
    return;
  }
  AttachDropList();
  HookEdit();
}

void TSkinComBox::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                               TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachWindow(window, data, form, canvas);
  if (!Attached) return;
  Style = static_cast<uint32_t>(GetLong(Handle, GWL_STYLE));
  if (Simple()) {
    if (ReadInfo()) ListHandle = Info.hwndList;
    return;
  }
  HookEdit();
}

void TSkinComBox::AttachDropList() {
  ListHandle = nullptr;
  if (!(Style & CBS_DROPDOWN) || !ReadInfo() || !Info.hwndList || DropScroll) return;
  DropScroll = new TComboxScrollBar(this);
  DropScroll->AttachWindow(Info.hwndList, SkinData, Form, Canvas);
  if (!DropScroll->Attached) DropScroll->Free();  // leaves through Notification
}

void TSkinComBox::AttachSimpleList() {
  if (!ReadInfo()) return;
  ListHandle = Info.hwndList;
  if (!ListHandle || ListScroll || IsPopup(ListHandle) ||
      !(GetWindowLongPtrW(ListHandle, GWL_STYLE) & WS_CHILD))
    return;
  ListScroll = new TSkinScrollbarH(this);
  ListScroll->AttachWindow(ListHandle, SkinData, Form, Canvas);
  if (!ListScroll->Attached) ListScroll->Free();
}

void TSkinComBox::HookEdit() {
  // The first child is the edit part (a drop-down list has none). The
  // helper puts the handler in front of it in the window's own width and
  // gives back exactly what was there, once, and only to a living window.
  EditHandle = GetWindow(Handle, GW_CHILD);
  if (!EditHandle || !(GetWindowLongPtrW(EditHandle, GWL_STYLE) & WS_CHILD)) {
    EditHandle = nullptr;
    return;
  }
  edit_sub_.Attach(EditHandle, [this](UINT msg, WPARAM wparam, LPARAM lparam) {
    return EditProc(msg, wparam, lparam);
  });
}

LRESULT TSkinComBox::EditProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = edit_sub_.CallOld(msg, wparam, lparam);
  if (!Active || LifeState == kWindowGone) return result;
  switch (msg) {
    case WM_PAINT:
      PaintWindow(nullptr);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetPressed(true);
      break;
    case WM_LBUTTONUP:
      SetPressed(false);
      break;
    default:
      break;
  }
  return result;
}

void TSkinComBox::FreeListSkinners() {
  for (TSkinControl* s :
       {static_cast<TSkinControl*>(DropScroll), static_cast<TSkinControl*>(ListScroll)}) {
    if (!s) continue;
    if (s->LifeState != kWindowGone) s->Detach();
    s->Free();  // the pointer is cleared through Notification
  }
  DropScroll = nullptr;
  ListScroll = nullptr;
}

void TSkinComBox::Detach() {
  TSkinControl::Detach();
  edit_sub_.Detach();
  FreeListSkinners();
}

// ---- messages ---------------------------------------------------------------------

void TSkinComBox::SetPressed(bool pressed) {
  SetStateBit(kPressed, pressed);
  Refresh();
}

void TSkinComBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      break;  // the control repaints itself
    case WM_MOUSEMOVE:
      OnMouseMove(m);
      break;
    case WM_DRAWITEM:
    case WM_NCPAINT:
      Refresh();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetPressed(true);
      break;
    case WM_LBUTTONUP:
      SetPressed(false);
      break;
    case WM_CAPTURECHANGED:
      // A press that ends without its release (the list took the mouse
      // and was closed elsewhere) is over too.
      if (Pressed() && !(GetKeyState(VK_LBUTTON) & 0x8000)) SetPressed(false);
      break;
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
      OnMouseLeave();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinComBox::OnMouseMove(const TMessage& m) {
  if (!tracking_leave_) {
    TRACKMOUSEEVENT t{};
    t.cbSize = sizeof t;
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = Handle;
    tracking_leave_ = TrackMouseEvent(&t) != FALSE;
  }
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const bool enabled = (GetLong(Handle, GWL_STYLE) & WS_DISABLED) == 0;
  const bool over = enabled && Contains(ButtonRect, p);
  if (over == Hot()) return;
  SetStateBit(kHot, over);
  Refresh();
}

void TSkinComBox::OnMouseLeave() {
  tracking_leave_ = false;
  if (!Hot()) return;
  SetStateBit(kHot, false);
  Refresh();
}

// ---- painting ---------------------------------------------------------------------

TComboState TSkinComBox::CurrentState() const {
  return {Enabled, Pressed(), Focused, Hot()};
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinBorder* button = Skin().Border(ksComboButton);
  if (!dc || !Form || !Handle || !button || button->Bitmap.Empty()) return;
  Style = static_cast<uint32_t>(GetLong(Handle, GWL_STYLE));
  ExStyle = static_cast<uint32_t>(GetLong(Handle, GWL_EXSTYLE));
  if (ReadInfo()) {
    ButtonRect = Info.rcButton;
    if (Info.stateButton & STATE_SYSTEM_INVISIBLE) return;
  }
  ReadWindowState();
  const int frame = ComboFrame(CurrentState());
  const TRect r{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  // The caller's device context is given back as it came (clipping,
  // objects, colours).
  const int saved = SaveDC(dc);
  if (FrameOnly)
    DrawFrameOnly(dc, r, frame);
  else if (ComboLookOfStyle(button->Style) == TComboLook::SingleButton)
    DrawSingleButton(dc, r, frame);
  else if (ComboLookOfStyle(button->Style) == TComboLook::Composite)
    DrawComposite(dc, r, frame);
  else
    DrawClassic(dc, r, frame);
  RestoreDC(dc, saved);
}

void TSkinComBox::DrawSingleButton(HDC dc, const TRect& r, int frame) {
  const TDataSkinBorder& button = *Skin().Border(ksComboButton);
  const int frames = std::max(button.FrameCount, 1);
  const TPoint cell{button.Bitmap.Width / frames, button.Bitmap.Height};
  const bool left = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const TComboSingleParts p = PlanSingleButtonCombo(r, cell, GetSystemMetrics(SM_CYVTHUMB), left);
  auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
  const RECT inner{p.Inner.Left, p.Inner.Top, p.Inner.Right, p.Inner.Bottom};
  const RECT strip{p.Strip.Left, p.Strip.Top, p.Strip.Right, p.Strip.Bottom};
  if (brush) {
    FrameRect(dc, &inner, brush);
    FillRect(dc, &strip, brush);
  }
  DrawFrameRings(dc, {{p.Outer, TFrameInk::Shadow}}, SkinColour(kcButtonShadow), nullptr);
  ButtonRect = {p.Button.Left, p.Button.Top, p.Button.Right, p.Button.Bottom};
  if (!p.Button.IsEmpty())
    DrawFrameScaled(dc, p.Button, Form->Native(button.Bitmap), true, frames, frame);
}

void TSkinComBox::DrawFrameOnly(HDC dc, const TRect& r, int frame) {
  RECT client{};
  GetClientRect(Handle, &client);
  DrawFrameRings(dc, PickerFrameRings({r.Width(), r.Height()}, {client.right, client.bottom}),
                 SkinColour(kcButtonShadow), nullptr);
  HWND child = GetWindow(Handle, GW_CHILD);
  const TDataSkinObject* arrow = Skin().Element(ksComboxArrow);
  if (!child) return;
  RECT box{}, self{};
  GetWindowRect(child, &box);
  GetWindowRect(Handle, &self);
  OffsetRect(&box, -self.left, -self.top);
  FillFace(dc, box);
  if (Usable(arrow))
    DrawFrameScaled(dc, ToTRect(box), Form->Native(arrow->Bitmap), true, arrow->FrameCount, frame);
}

void TSkinComBox::DrawComposite(HDC dc, const TRect& r, int frame) {
  // The mirrored composite (held by SunkEdge) for a button on the left.
  // Mirrored as a whole, that strip holds its frames in reverse order.
  const bool left = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const TDataSkinObject* e = left ? Skin().Element(ksSunkEdge) : Skin().Border(ksComboButton);
  if (!Usable(e)) return;
  DrawElement(dc, r, Form->Native(e->Bitmap), false, false, true, e->FrameCount,
              left ? MirroredFrame(frame, e->FrameCount) : frame, e->Margins());
}

void TSkinComBox::DrawClassic(HDC dc, const TRect& r, int frame) {
  const TDataSkinBorder& button = *Skin().Border(ksComboButton);
  const bool left = (ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
  const TComboClassicParts p = PlanClassicCombo(r, GetSystemMetrics(SM_CXHSCROLL), left);
  ExcludeClipRect(dc, p.EditArea.Left, p.EditArea.Top, p.EditArea.Right, p.EditArea.Bottom);
  if (const TDataSkinObject* sunk = Skin().Element(ksSunkEdge); Usable(sunk))
    DrawElement(dc, r, Form->Native(sunk->Bitmap), false, sunk->Tile != 0, sunk->Trans != 0,
                sunk->FrameCount, frame, sunk->Margins());
  const bool mirrored = left && !button.SecondBitmap.Empty();
  const int frames = std::max(button.FrameCount, 1);
  DrawFrameScaled(dc, p.Button, Form->Native(mirrored ? button.SecondBitmap : button.Bitmap), true,
                  frames, mirrored ? MirroredFrame(frame, frames) : frame);
  ButtonRect = {p.Button.Left, p.Button.Top, p.Button.Right, p.Button.Bottom};
  const TDataSkinObject* extra = Skin().Element(ksExtraImages);
  if (!Usable(extra)) return;
  const TPoint cell{extra->Bitmap.Width / 5, extra->Bitmap.Height};
  if (cell.X <= 0) return;
  DrawFrameScaled(dc, CentreCell(p.ArrowArea, cell), Form->Native(extra->Bitmap), true, 5, frame);
}
