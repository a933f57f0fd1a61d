#include "engine_controls/skin_panel.h"

#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/controls.h"
#include "framework/messages.h"

// ---- recoloured containers --------------------------------------------------------

TSkinBox::TSkinBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinBox::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                             TPaintBuffer* canvas) {
  if (Attached) return;
  auto* control = dynamic_cast<TControl*>(Owner());
  if (!control) return;
  OwnColor = own_color;
  SkinData = data;
  Canvas = canvas;
  Control = control;
  if (auto* win = dynamic_cast<TWinControl*>(control)) Handle = win->WindowHandle();
  Form = form;
  if (Form) Form->Add(this);
  if (OwnColor) {
    SwitchParentBackground(true);
    SaveColour();
    Control->SetColor(Skin().Colours[kcButtonFace]);
  }
  // The list keeps only skinners that attached; this one never sees a
  // message, so its life state stays as created.
  Attached = true;
}

void TSkinBox::Detach() {
  if (OwnColor && Control) {
    SwitchParentBackground(false);
    RestoreColour();
  }
  LifeState = kDetachedBox;
}

void TSkinBox::AfterMessage(TMessage&) {}

// ---- dialogs and native tool bars -------------------------------------------------

TSkinBoxH::TSkinBoxH(TComponent* owner) : TSkinControl(owner) {}

bool TSkinBoxH::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      OnEraseBackground(m);
      return false;
    case WM_CTLCOLORSTATIC:
      OnStaticColour(m);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

// Erased means erased: the answer 1 keeps the window from painting its own
// background over the face colour afterwards.
void TSkinBoxH::OnEraseBackground(TMessage& m) {
  RECT r;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (dc && GetWindowRect(Handle, &r)) {
    OffsetRect(&r, -r.left, -r.top);
    FillFace(dc, r);
  }
  m.Result = 1;
}

// A static fills its background with the brush answered here and draws its
// text cells in the DC's background colour: both become the face colour.
void TSkinBoxH::OnStaticColour(TMessage& m) {
  CallOriginal(m);
  HBRUSH brush = SkinData ? SkinData->FaceBrush() : nullptr;
  if (!brush) return;
  if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, SkinColour(kcButtonFace));
  }
  m.Result = reinterpret_cast<LRESULT>(brush);
}

// ---- size grips --------------------------------------------------------------------

TSkinSizer::TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

void TSkinSizer::DrawSkin(HDC dc, const RECT& rect) {
  FillFace(dc, rect);
}
