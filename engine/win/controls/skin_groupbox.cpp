#include "engine_controls/skin_groupbox.h"

#include "engine/container_rules.h"
#include "engine/skin_elements.h"
#include "engine_win/gdi_paint.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/messages.h"
#include "framework/props.h"

TSkinGroupBox::TSkinGroupBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinGroupBox::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                  TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, own_color, canvas);
  Mode = 1;
}

// A dialog's group box: painted by the skin as well (Mode 1), but without
// filling its inside, where its sibling controls lie.
void TSkinGroupBox::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                                 TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachWindow(window, data, form, canvas);
  Mode = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (m.Msg != WM_PAINT || Mode != 1 || !HasSkin()) return true;
  PaintMessage(m);
  return false;
}

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& rect) {
  DrawGroupBox(dc, rect);
}

HGDIOBJ TSkinGroupBox::SelectCaptionFont(HDC dc) {
  if (Control && Control->Font()) {
    SetTextColor(dc, ToColorRef(Control->Font()->Color()));
    return SelectObject(dc, Control->Font()->Handle());
  }
  auto font = reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return SelectObject(dc, font);
}

void TSkinGroupBox::DrawFrameLine(HDC dc, const RECT& frame) {
  HPEN pen = CreatePen(PS_SOLID, 1, SkinColour(kcButtonShadow));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, kGroupCorner, kGroupCorner);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  DeleteObject(pen);
}

void TSkinGroupBox::DrawGroupBox(HDC dc, const RECT& rect) {
  if (!Handle) return;
  Caption = GroupBoxCaption(WindowText(Handle), Control ? WidenText(Control->Caption()) : L"");
  // A dialog's group box leaves its inside to the dialog's face-coloured
  // background and the controls lying there.
  if (Control) FillFace(dc, rect);
  const int saved = SaveDC(dc);
  SelectCaptionFont(dc);
  SIZE digit{0, 0};
  if (!GetTextExtentPoint32A(dc, "0", 1, &digit)) digit.cy = 0;
  const bool right = (GetLong(Handle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
  const TGroupBoxLayout l =
      PlaceGroupBox({rect.left, rect.top, rect.right, rect.bottom}, static_cast<int>(digit.cy),
                    right, (ReadingFlags(0) & DT_RTLREADING) != 0);
  DrawFrameLine(dc, {l.Frame.Left, l.Frame.Top, l.Frame.Right, l.Frame.Bottom});
  // Opaque on the face colour: the caption hides the line behind it.
  SetBkColor(dc, SkinColour(kcButtonFace));
  SetBkMode(dc, OPAQUE);
  RECT text{l.Caption.Left, l.Caption.Top, l.Caption.Right, l.Caption.Bottom};
  if (!Caption.empty())
    DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &text, l.Flags);
  RestoreDC(dc, saved);
  if (auto* win = dynamic_cast<TWinControl*>(Control); win && Mode == 1) win->PaintControls(dc);
}
