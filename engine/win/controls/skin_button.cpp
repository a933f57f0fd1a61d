#include "engine_controls/skin_button.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "engine/control_rules.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_manage.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/imglist.h"
#include "framework/messages.h"
#include "framework/props.h"
#include "framework/stdctrls.h"

namespace {

bool IsTrue(const std::string& ident) {
  return ident == "True" || ident == "true" || ident == "TRUE";
}

RECT Inflated(RECT r, int d) {
  InflateRect(&r, d, d);
  return r;
}

TPoint MeasureText(HDC dc, const std::wstring& text, RECT bounds, UINT flags) {
  if (text.empty()) return {0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, flags | DT_CALCRECT);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// The skin bitmap as a GDI bitmap (the list converts each once).
const TNativeBitmap& StripOf(TSkinControlList* form, const TSkinBitmap& bitmap) {
  static const TNativeBitmap* none = new TNativeBitmap;
  return form ? form->Native(bitmap) : *none;
}

bool HasGlyphStrip(TControl* c) {
  auto* glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(c, "Glyph", TBitmap::StaticClass()));
  return glyph && !glyph->Empty();
}

TButtonTextColours SkinTextColours(const TDataSkinButton& e) {
  return {e.HasNormalColour2, e.HasMouseOverColour2, e.HasPressedColour2,
          e.NormalColour2,    e.MouseOverColour2,    e.PressedColour2};
}

// The glyph's image drawn in the disabled style: its black pixels embossed
// in highlight and shadow on the button face (transparent by the face).
void DrawEmbossed(HDC dc, POINT pos, HDC glyph_dc, int x, int w, int h) {
  HDC mask_dc = CreateCompatibleDC(dc);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ old_mask = SelectObject(mask_dc, mask);
  SetBkColor(glyph_dc, RGB(0, 0, 0));
  BitBlt(mask_dc, 0, 0, w, h, glyph_dc, x, 0, SRCCOPY);
  HDC out_dc = CreateCompatibleDC(dc);
  HBITMAP out = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old_out = SelectObject(out_dc, out);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  HBRUSH face_brush = CreateSolidBrush(face);
  RECT all{0, 0, w, h};
  FillRect(out_dc, &all, face_brush);
  DeleteObject(face_brush);
  SetTextColor(out_dc, RGB(0, 0, 0));
  SetBkColor(out_dc, RGB(255, 255, 255));
  const COLORREF shades[2] = {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW)};
  for (int pass = 0; pass < 2; ++pass) {
    HBRUSH brush = CreateSolidBrush(shades[pass]);
    HGDIOBJ old_brush = SelectObject(out_dc, brush);
    const int d = pass == 0 ? 1 : 0;
    BitBlt(out_dc, d, d, w, h, mask_dc, 0, 0, 0x00E20746);
    SelectObject(out_dc, old_brush);
    DeleteObject(brush);
  }
  TransparentBlt(dc, pos.x, pos.y, w, h, out_dc, 0, 0, w, h, face);
  SelectObject(out_dc, old_out);
  DeleteObject(out);
  DeleteDC(out_dc);
  SelectObject(mask_dc, old_mask);
  DeleteObject(mask);
  DeleteDC(mask_dc);
}

}  // namespace

// ---- push buttons --------------------------------------------------------------

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}

TSkinButton::~TSkinButton() {
  if (Handle && GetCapture() == Handle && Pressed()) ReleaseCapture();
}

void TSkinButton::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, own_color, canvas);
  if (!Control) return;
  std::string cls = Control->ClassName();
  for (char& c : cls)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  Mode = ButtonMouseMode(cls);
  Transparent =
      SkinData && TransparentButton(static_cast<int>(Control->Tag()), SkinData->Options());
}

void TSkinButton::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                               TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachWindow(window, data, form, canvas);
  Transparent = SkinData && TransparentButton(0, SkinData->Options());
}

bool TSkinButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      m.Result = 1;
      return false;
    case WM_TIMER:
      if (m.WParam != 1) return true;
      KillTimer(Handle, 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnPress();
      if (Mode == 0 && Control) ForwardMouseDown(m);
      return false;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      OnCaptureLost(m);
      return true;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONUP:
      OnRelease();
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(m);
      break;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        SetStateBit(kPressed, m.Msg == WM_KEYDOWN);
        Refresh();
      }
      break;
    case WM_SETTEXT:
      PaintWindow(nullptr);
      break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
    // The native button paints its own look straight away on these.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case BM_SETCHECK:
    case WM_UPDATEUISTATE:
      Refresh();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinButton::OnPress() {
  if (GetFocus() != Handle) SetFocus(Handle);
  SetStateBit(kPressed, true);
  SetCapture(Handle);
  PaintWindow(nullptr);
}

void TSkinButton::OnRelease() {
  if (!Pressed()) return;
  // Cleared before the capture goes, so losing it does not count as a cancel.
  SetStateBit(kPressed, false);
  if (GetCapture() == Handle) ReleaseCapture();
  Refresh();
  Click();
}

void TSkinButton::OnCaptureLost(const TMessage& m) {
  if (!Pressed()) return;
  if (m.Msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(m.LParam) == Handle) return;
  SetStateBit(kPressed, false);
  if (m.Msg == WM_CANCELMODE && GetCapture() == Handle) ReleaseCapture();
  Refresh();
}

void TSkinButton::OnMouseMove(const TMessage& m) {
  RECT client;
  GetClientRect(Handle, &client);
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const bool inside = PtInRect(&client, p) != FALSE;
  if (inside && Enabled && !Hot()) {
    SetStateBit(kHot, true);
    Refresh();
  } else if (!inside && Hot()) {  // dragged out while captured
    SetStateBit(kHot, false);
    Refresh();
  }
  TrackLeave();
}

void TSkinButton::TrackLeave() {
  TRACKMOUSEEVENT t{};
  t.cbSize = sizeof(t);
  t.dwFlags = TME_LEAVE;
  t.hwndTrack = Handle;
  TrackMouseEvent(&t);
}

void TSkinButton::OnMouseLeave() {
  SetStateBit(kHot, false);
  // While the press holds the capture, only the hot look goes.
  if (GetCapture() != Handle) SetStateBit(kPressed, false);
  Refresh();
}

void TSkinButton::Click() {
  if (Control) {
    Control->Click();
    return;
  }
  if (!IsWindow(Handle)) return;
  const std::string cls = WindowClassName(Handle);
  const bool framework_class = cls == "TButton" || cls == "tbutton" || cls == "TBUTTON";
  const WPARAM id = framework_class ? 0 : MAKEWPARAM(GetDlgCtrlID(Handle), BN_CLICKED);
  PostMessageW(GetParent(Handle), WM_COMMAND, id, reinterpret_cast<LPARAM>(Handle));
}

int TSkinButton::ChooseFrame() {
  TButtonState s;
  s.Hot = Hot();
  s.Pressed = Pressed();
  s.Focused = Focused;
  s.Default = IsDefault();
  s.Disabled = !Enabled;
  return PushButtonFrame(s);
}

namespace {

// A push button other than this one has the focus: it shows the default look
// meanwhile, as native dialogs do.
bool AnotherPushButtonFocused(HWND self) {
  HWND focus = GetFocus();
  if (!focus || focus == self) return false;
  if (TControl* c = FindControl(focus)) return dynamic_cast<TButton*>(c) != nullptr;
  return lstrcmpiA(WindowClassName(focus).c_str(), "button") == 0 &&
         ClassifyButtonStyle(static_cast<uint32_t>(GetWindowLongPtrW(focus, GWL_STYLE))) ==
             TButtonType::Push;
}

}  // namespace

bool TSkinButton::IsDefault() const {
  if (AnotherPushButtonFocused(Handle)) return false;
  if (Control) return IsTrue(GetEnumPropByName(Control, "Default"));
  return Handle && (GetLong(Handle, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

bool TSkinButton::HasElement() const {
  return HasSkin() && !Skin().Buttons.Bitmap.Empty();
}

void TSkinButton::DrawFace(HDC buffer, const RECT& rect, int frame) {
  if (Transparent && Handle)
    PaintParentBackground(Handle, buffer);
  else
    FillFace(buffer, rect);
  const TDataSkinButton& e = Skin().Buttons;
  const TNativeBitmap& strip = StripOf(Form, e.Bitmap);
  if (strip.Empty()) return;
  DrawElement(buffer, {rect.left, rect.top, rect.right, rect.bottom}, strip, false, e.Tile == 1,
              e.Trans == 1, kButtonFrames, frame, e.Margins());
}

COLORREF TSkinButton::TextColour(int frame, bool normal_everywhere) const {
  if (!Enabled) return GetSysColor(COLOR_BTNSHADOW);
  TControl* c = Control ? Control : GraphicControl;
  const TColor fallback = c && c->Font() ? c->Font()->Color() : Skin().Colours[kcButtonText];
  return ToColorRef(
      ButtonTextColour(SkinTextColours(Skin().Buttons), frame, normal_everywhere, fallback));
}

HFONT TSkinButton::WindowFont() const {
  HFONT f = Handle ? reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0)) : nullptr;
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT TSkinButton::ControlFont() const {
  TControl* c = Control ? Control : GraphicControl;
  if (c && c->Font()) return c->Font()->Handle();
  return WindowFont();
}

void TSkinButton::DrawFocusAround(HDC dc, RECT text) const {
  if (!Focused || (SkinData && SkinData->Options().Has(xoNoFocusRect))) return;
  InflateRect(&text, 2, 2);
  DrawFocusRect(dc, &text);
}

void TSkinButton::DrawCaption(HDC dc, const RECT& rect, UINT alignment) {
  Caption = BreakAtFirstBars(Caption);
  const RECT r = Inflated(rect, -2);
  const UINT flags = alignment | DT_EXPANDTABS | DT_WORDBREAK;
  const TPoint size = MeasureText(dc, Caption, r, flags | DT_NOCLIP);
  const TRect placed =
      PlaceCaption({r.left, r.top, r.right, r.bottom}, size, (alignment & DT_CENTER) != 0);
  RECT text{placed.Left, placed.Top, placed.Right, placed.Bottom};
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &text, ReadingFlags(flags));
  SetBkMode(dc, old_mode);
  DrawFocusAround(dc, text);
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasElement()) return;
  ReadWindowState();
  Caption = CurrentCaption();
  const int frame = ChooseFrame();
  TPaintBuffer::TLease buffer(Canvas, rect.right - rect.left, rect.bottom - rect.top);
  HDC b = buffer.Dc();
  if (!b) return;
  const RECT face{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  DrawFace(b, face, frame);
  SelectObject(b, ControlFont());
  SetTextColor(b, TextColour(frame, true));
  DrawCaption(b, face, DT_CENTER);
  buffer.CopyTo(dc, rect.left, rect.top);
}

// ---- buttons with a glyph ---------------------------------------------------------

TSkinBitButton::TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}

struct TSkinBitButton::TGlyphSource {
  TBitmap* Glyph = nullptr;     // a strip of NumGlyphs cells
  TGraphic* Picture = nullptr;  // a picture property's, drawn whole
  TCustomImageList* Images = nullptr;
  int NumGlyphs = 1, ImageIndex = -1, DisabledIndex = -1;
  TPoint Size;
};

namespace {

// What a control's properties give as its glyph: a picture property's
// picture, else the Glyph strip, else an image of its image list.
void ReadGlyph(TControl* c, const std::string& picture_property, TSkinBitButton::TGlyphSource& g) {
  if (!c) return;
  if (!picture_property.empty()) {
    g.Picture =
        dynamic_cast<TGraphic*>(GetObjectPropByName(c, picture_property, TGraphic::StaticClass()));
    if (g.Picture && g.Picture->Empty()) g.Picture = nullptr;
    if (g.Picture) g.Size = {g.Picture->Width(), g.Picture->Height()};
    return;
  }
  g.NumGlyphs = static_cast<int>(GetOrdPropByName(c, "NumGlyphs"));
  if (g.NumGlyphs < 1) g.NumGlyphs = 1;
  g.Glyph = dynamic_cast<TBitmap*>(GetObjectPropByName(c, "Glyph", TBitmap::StaticClass()));
  if (g.Glyph && !g.Glyph->Empty()) {
    g.Size = {GlyphCellWidth(g.Glyph->Width(), g.NumGlyphs), g.Glyph->Height()};
    return;
  }
  g.Glyph = nullptr;
  g.Images = dynamic_cast<TCustomImageList*>(
      GetObjectPropByName(c, "Images", TCustomImageList::StaticClass()));
  g.ImageIndex = static_cast<int>(GetOrdPropByName(c, "ImageIndex"));
  g.DisabledIndex = static_cast<int>(GetOrdPropByName(c, "DisabledIndex"));
  if (g.Images && g.ImageIndex != -1)
    g.Size = {g.Images->Width(), g.Images->Height()};
  else
    g.Images = nullptr;
}

}  // namespace

void TSkinBitButton::DrawGlyphCell(HDC dc, POINT pos, int num_glyphs, int cell_state,
                                   HBITMAP glyph) {
  BITMAP info{};
  if (!glyph || !GetObjectW(glyph, sizeof(info), &info) || info.bmWidth <= 0) return;
  const int cw = GlyphCellWidth(info.bmWidth, num_glyphs);
  const int n = std::max(1, num_glyphs);
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, glyph);
  if (cell_state == 2 && n < 2) {
    // No disabled cell of its own: the up cell embossed.
    DrawEmbossed(dc, pos, src, 0, cw, info.bmHeight);
  } else {
    const int x = GlyphCellIndex(n, cell_state) * cw;
    const COLORREF key = GetPixel(src, 0, info.bmHeight - 1);
    TransparentBlt(dc, pos.x, pos.y, cw, info.bmHeight, src, x, 0, cw, info.bmHeight, key);
  }
  SelectObject(src, old);
  DeleteDC(src);
}

void TSkinBitButton::DrawGlyphFace(HDC b, const RECT& face, int frame, int cell, bool speed,
                                   bool centred_align, bool normal_everywhere) {
  TControl* c = Control ? Control : GraphicControl;
  TGlyphSource g;
  ReadGlyph(c, GlyphProperty, g);
  const int margin = c ? static_cast<int>(GetOrdPropByName(c, "Margin")) : -1;
  const int64_t spacing_prop = c ? GetOrdPropByName(c, "Spacing") : -1;
  const TGlyphLayout layout = GlyphLayoutFromName(c ? GetEnumPropByName(c, "Layout") : "");
  Caption = BreakAtFirstBars(Caption);
  const TRect measure =
      CaptionMeasureRect({face.left, face.top, face.right, face.bottom}, layout, g.Size);
  const TPoint text_size = MeasureText(
      b, Caption, {measure.Left, measure.Top, measure.Right, measure.Bottom}, DT_WORDBREAK);
  const TGlyphCaptionPlace place =
      PlaceGlyphAndCaption({face.right, face.bottom}, g.Size, text_size, layout, margin,
                           static_cast<int>(spacing_prop), centred_align, speed);
  const POINT at{place.Glyph.X, place.Glyph.Y};
  if (g.Picture) {
    TCanvas canvas;
    canvas.SetHandle(b);
    canvas.Draw(at.x, at.y, *g.Picture);
    canvas.SetHandle(nullptr);
    SelectObject(b, ControlFont());
  } else if (g.Glyph) {
    DrawGlyphCell(b, at, g.NumGlyphs, cell, g.Glyph->Handle());
  } else if (g.Images) {
    const int index = (!Enabled && g.DisabledIndex != -1) ? g.DisabledIndex : g.ImageIndex;
    ImageList_DrawEx(g.Images->Handle(), index, b, at.x, at.y, 0, 0, CLR_NONE, CLR_NONE,
                     ILD_TRANSPARENT | (Enabled || g.DisabledIndex != -1 ? 0 : ILD_BLEND50));
  }
  SetTextColor(b, TextColour(frame, normal_everywhere));
  if (Caption.empty()) return;
  RECT text{place.Text.X, place.Text.Y, place.Text.X + text_size.X, place.Text.Y + text_size.Y};
  const int old_mode = SetBkMode(b, TRANSPARENT);
  DrawTextW(b, Caption.c_str(), static_cast<int>(Caption.size()), &text, ReadingFlags(place.Flags));
  SetBkMode(b, old_mode);
  DrawFocusAround(b, text);
}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasElement()) return;
  ReadWindowState();
  Caption = CurrentCaption();
  int frame = ChooseFrame();
  // With a picture property the Default property is not consulted.
  if (!GlyphProperty.empty() && frame == kButtonFocused && !Focused) frame = kButtonNormal;
  TPaintBuffer::TLease buffer(Canvas, rect.right - rect.left, rect.bottom - rect.top);
  HDC b = buffer.Dc();
  if (!b) return;
  const RECT face{0, 0, rect.right - rect.left, rect.bottom - rect.top};
  SelectObject(b, WindowFont());
  DrawFace(b, face, frame);
  SelectObject(b, ControlFont());
  const bool centred = Control && GetEnumPropByName(Control, "Alignment") == "taCenter";
  DrawGlyphFace(b, face, frame, BitButtonCell(frame), false, centred, GlyphProperty.empty());
  buffer.CopyTo(dc, rect.left, rect.top);
}

// ---- drop-down buttons --------------------------------------------------------------

TSkinMenuButton::TSkinMenuButton(TComponent* owner) : TSkinButton(owner) {}

int TSkinMenuButton::ChooseFrame() {
  TButtonState s;
  s.Hot = Hot();
  s.Pressed = Pressed();
  s.Focused = Focused;
  s.Disabled = !Enabled;
  return MenuButtonFrame(s);
}

void TSkinMenuButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasElement()) return;
  ReadWindowState();
  Caption = BreakAtFirstBars(CurrentCaption());
  const int frame = ChooseFrame();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  TPaintBuffer::TLease buffer(Canvas, w, h);
  HDC b = buffer.Dc();
  if (!b) return;
  SelectObject(b, WindowFont());
  DrawFace(b, {0, 0, w, h}, frame);
  SelectObject(b, ControlFont());
  const TPoint size = MeasureText(b, Caption, {2, 2, w - kMenuArrowBox - 2, h - 2}, DT_WORDBREAK);
  const TMenuButtonPlace place = PlaceMenuButton({w, h}, size);
  const COLORREF ink = Enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_BTNSHADOW);
  HBRUSH brush = CreateSolidBrush(ink);
  HPEN pen = CreatePen(PS_SOLID, 1, ink);
  HGDIOBJ old_brush = SelectObject(b, brush), old_pen = SelectObject(b, pen);
  POINT arrow[3];
  for (int i = 0; i < 3; ++i)
    arrow[i] = {place.Arrow[i].X, place.Arrow[i].Y};
  Polygon(b, arrow, 3);
  SelectObject(b, old_brush);
  SelectObject(b, old_pen);
  DeleteObject(brush);
  DeleteObject(pen);
  SetTextColor(b, TextColour(frame, false));
  RECT text{place.Text.X, place.Text.Y, place.Text.X + size.X, place.Text.Y + size.Y};
  const int old_mode = SetBkMode(b, TRANSPARENT);
  DrawTextW(b, Caption.c_str(), static_cast<int>(Caption.size()), &text,
            ReadingFlags(DT_WORDBREAK));
  SetBkMode(b, old_mode);
  DrawFocusAround(b, text);
  buffer.CopyTo(dc, rect.left, rect.top);
}

// ---- windowless tool-bar buttons -------------------------------------------------------

TSkinSpeedButton::TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}

void TSkinSpeedButton::AttachControl(TSkinControlList* form, TSkinData* data, bool,
                                     TPaintBuffer* canvas) {
  AttachGraphic(form, data, canvas);
}

void TSkinSpeedButton::AttachGraphic(TSkinControlList* form, TSkinData* data,
                                     TPaintBuffer* canvas) {
  auto* control = dynamic_cast<TControl*>(Owner());
  if (Attached || !control) return;
  SkinData = data;
  Canvas = canvas;
  Form = form;
  HookGraphic(control);
  if (Form) Form->Add(this);
  Transparent =
      SkinData && TransparentButton(static_cast<int>(control->Tag()), SkinData->Options());
  Attached = true;
  LifeState = kAttached;
  control->Invalidate();
}

bool TSkinSpeedButton::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (m.WParam && GraphicControl)
        DrawOn(reinterpret_cast<HDC>(m.WParam),
               {0, 0, GraphicControl->Width(), GraphicControl->Height()});
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      CallOriginal(m);
      SetStateBit(kPressed, true);
      Repaint();
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinSpeedButton::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONUP:
      SetStateBit(kPressed, false);
      Repaint();
      break;
    case CM_MOUSEENTER:
      SetStateBit(kHot, true);
      Repaint();
      break;
    case CM_MOUSELEAVE:
      SetStateBit(kHot, false);
      SetStateBit(kPressed, false);
      if (GraphicControl && GraphicControl->Visible()) Repaint();
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        SetStateBit(kPressed, m.Msg == WM_KEYDOWN);
        Repaint();
      }
      break;
    case WM_SETTEXT:
      Repaint();
      break;
    case CM_RELEASE:
      Unhook();
      break;
    default:
      break;
  }
}

void TSkinSpeedButton::Repaint() {
  if (GraphicControl) GraphicControl->Invalidate();
}

void TSkinSpeedButton::PaintWindow(HDC dc) {
  if (dc && GraphicControl) DrawOn(dc, {0, 0, GraphicControl->Width(), GraphicControl->Height()});
}

void TSkinSpeedButton::DrawOn(HDC dc, const RECT& rect) {
  TControl* c = GraphicControl;
  if (!c || !HasElement() || painting_ || IsRectEmpty(&rect)) return;
  painting_ = true;
  Enabled = IsTrue(GetEnumPropByName(c, "Enabled"));
  Focused = false;
  const TSpeedButtonLook look =
      SpeedButtonLook(Hot(), Pressed(), Enabled, IsTrue(GetEnumPropByName(c, "Down")),
                      IsTrue(GetEnumPropByName(c, "Flat")));
  Caption = CurrentCaption();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  TPaintBuffer::TLease buffer(Canvas, w, h);
  if (HDC b = buffer.Dc()) {
    const RECT face{0, 0, w, h};
    if (Transparent)
      FillParentColor(b, face);
    else
      FillFace(b, face);
    const TDataSkinButton& e = Skin().Buttons;
    const TNativeBitmap& strip = StripOf(Form, e.Bitmap);
    if (look.DrawFace && !strip.Empty())
      DrawElement(b, {0, 0, w, h}, strip, false, e.Tile == 1, e.Trans == 1, kButtonFrames,
                  look.Frame, e.Margins());
    SelectObject(b, ControlFont());
    if (GlyphProperty.empty() && !HasGlyphStrip(c)) {
      SetTextColor(b, TextColour(look.Frame, false));
      DrawCaption(b, face, DT_CENTER);
    } else {
      DrawGlyphFace(b, face, look.Frame, look.Cell, true, false, false);
    }
    buffer.CopyTo(dc, rect.left, rect.top);
  }
  painting_ = false;
}
