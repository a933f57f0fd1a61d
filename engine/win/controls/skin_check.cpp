#include "engine_controls/skin_check.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/check_rules.h"
#include "engine/control_rules.h"
#include "engine_controls/control_list.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_data.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/messages.h"
#include "framework/props.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool HasProp(const TObject* o, const char* name) {
  return o && GetPropInfo(o, name) != nullptr;
}

bool StartFocusCues() {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof(v);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&v)) return true;
#pragma GCC diagnostic pop
  return CheckFocusCues(static_cast<int>(v.dwMajorVersion));
}

constexpr UINT kPrintMessage = 0x317;  // WM_PRINT
constexpr UINT kMenuExit = 0xB0D0;     // the framework's menu-loop notification

}  // namespace

bool TSkinCheckGlyph::FocusCues = StartFocusCues();

TSkinCheckGlyph::TSkinCheckGlyph(TComponent* owner, bool radio)
    : TSkinControl(owner), radio_(radio) {}

const TSkinBitmap* TSkinCheckGlyph::Strip() const {
  if (!HasSkin()) return nullptr;
  const TDataSkinButton& e = Skin().Buttons;
  const TSkinBitmap& b = radio_ ? e.RadioBitmap : e.CheckBitmap;
  return b.Empty() ? nullptr : &b;
}

int TSkinCheckGlyph::StripCellCount() const {
  const TDataSkinButton& e = Skin().Buttons;
  return CheckStripCells(radio_ ? e.RadioButtonFrame : e.CheckButtonFrame);
}

bool TSkinCheckGlyph::StripUsable() const {
  const TSkinBitmap* b = Strip();
  return b && Form && b->Height > 0 && CheckStripCellWidth(b->Width, StripCellCount()) > 0;
}

void TSkinCheckGlyph::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                    TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, own_color, canvas);
  Mode = 0;
  if (!Control) return;
  if (Strip()) Mode = 1;
  Transparent =
      SkinData && TransparentButton(static_cast<int>(Control->Tag()), SkinData->Options());
}

bool TSkinCheckGlyph::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
    case kPrintMessage:
      // Without a usable strip the control paints itself.
      if (Mode != 1 || !StripUsable()) return TSkinControl::BeforeMessage(m);
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      if (!Transparent) return TSkinControl::BeforeMessage(m);
      EraseToParent(m);
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinCheckGlyph::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case kMenuExit:
    // The native button paints its pushed look straight away on these.
    case BM_SETSTATE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CAPTURECHANGED:
      Refresh();
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinCheckGlyph::DrawCell(HDC dc, const TRect& glyph, int cell) {
  const TNativeBitmap& strip = Form->Native(*Strip());
  if (strip.Empty()) return;
  const int cw = glyph.Width(), h = glyph.Height();
  TMemoryDC src(strip);
  TransparentBlt(dc, glyph.Left, glyph.Top, cw, h, src.Handle(), (cell - 1) * cw, 0, cw, h,
                 RGB(255, 0, 255));
}

void TSkinCheckGlyph::DrawCheckCaption(HDC dc, const TRect& area, unsigned flags) {
  TControl* c = Control;
  HFONT font = c && c->Font() ? c->Font()->Handle()
                              : reinterpret_cast<HFONT>(SendMessageW(Handle, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const COLORREF ink = !Enabled           ? GetSysColor(COLOR_BTNSHADOW)
                       : (c && c->Font()) ? ToColorRef(c->Font()->Color())
                                          : GetSysColor(COLOR_BTNTEXT);
  HGDIOBJ old_font = SelectObject(dc, font);
  const COLORREF old_ink = SetTextColor(dc, ink);
  const COLORREF old_back = SetBkColor(dc, SkinColour(kcButtonFace));
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const UINT draw = flags | DT_EXPANDTABS | DT_WORDBREAK;
  RECT measured{area.Left, area.Top, area.Right, area.Bottom};
  DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &measured,
            draw | DT_CALCRECT | DT_NOCLIP);
  const TRect placed = CentreCheckCaption(area, measured.bottom - measured.top);
  RECT text{placed.Left, placed.Top, placed.Right, placed.Bottom};
  if (Focused && !Caption.empty() && FocusCues) DrawTextFocus(dc, draw, text);
  DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &text, draw);
  SetBkMode(dc, old_mode);
  SetBkColor(dc, old_back);
  SetTextColor(dc, old_ink);
  SelectObject(dc, old_font);
}

void TSkinCheckGlyph::DrawSkin(HDC dc, const RECT& rect) {
  if (!StripUsable()) {
    Mode = 0;
    return;
  }
  ReadWindowState();
  Caption = CurrentCaption();
  const TSkinBitmap& b = *Strip();
  const int cells = StripCellCount();
  const TPoint cell_size{CheckStripCellWidth(b.Width, cells), b.Height};
  const int cell = ChooseCell(cells);
  const bool right = (GetLong(Handle, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
  const bool rtl = (ReadingFlags(0) & DT_RTLREADING) != 0;
  const TRect r{rect.left, rect.top, rect.right, rect.bottom};
  const TCheckLayout l = PlaceCheckGlyph(r, cell_size, right, radio_, rtl);
  if (Mode == 1 && !Transparent) FillFace(dc, rect);
  DrawCell(dc, l.Glyph, cell);
  if (Mode != 0) DrawCheckCaption(dc, l.Text, l.Flags);
}

// ---- check boxes ------------------------------------------------------------------

TSkinCheckBox::TSkinCheckBox(TComponent* owner) : TSkinCheckGlyph(owner, false) {}

void TSkinCheckBox::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                                  TPaintBuffer* canvas) {
  if (Attached) return;
  LastCheck = 0;
  TSkinCheckGlyph::AttachControl(form, data, own_color, canvas);
}

void TSkinCheckBox::AfterMessage(TMessage& m) {
  if (m.Msg == BM_SETCHECK) LastCheck = static_cast<int>(std::min<WPARAM>(m.WParam, 1000)) + 1;
  TSkinCheckGlyph::AfterMessage(m);
}

int TSkinCheckBox::ChooseCell(int cells) {
  const LRESULT state = SendMessageW(Handle, BM_GETSTATE, 0, 0);
  TCheckFacts f;
  f.WindowChecked = (state & BST_CHECKED) != 0;
  f.WindowIndeterminate = (state & BST_INDETERMINATE) != 0;
  if (Control) {
    f.HasState = HasProp(Control, "State");
    if (f.HasState) f.StateIdent = Lower(GetEnumPropByName(Control, "State"));
    f.HasChecked = !f.HasState && HasProp(Control, "Checked");
    if (f.HasChecked) f.CheckedIdent = Lower(GetEnumPropByName(Control, "Checked"));
    f.HasDataField = HasProp(Control, "DataField");
    f.LastCheck = LastCheck;
    f.HasDataBinding = HasProp(Control, "DataBinding");
  }
  f.Disabled = (GetLong(Handle, GWL_STYLE) & WS_DISABLED) != 0;
  return CheckBoxCell(f, cells);
}

// ---- radio buttons ----------------------------------------------------------------

TSkinRadioButton::TSkinRadioButton(TComponent* owner) : TSkinCheckGlyph(owner, true) {}

int TSkinRadioButton::ChooseCell(int cells) {
  TRadioFacts f;
  f.WindowChecked = (SendMessageW(Handle, BM_GETCHECK, 0, 0) & 1) != 0;
  f.HasChecked = Control && HasProp(Control, "Checked");
  if (f.HasChecked) f.CheckedIdent = Lower(GetEnumPropByName(Control, "Checked"));
  f.Disabled = (GetLong(Handle, GWL_STYLE) & WS_DISABLED) != 0;
  return RadioButtonCell(f, cells);
}
