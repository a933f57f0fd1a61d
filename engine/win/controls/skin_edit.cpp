#include "engine_controls/skin_edit.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "engine/combo_rules.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_combo.h"
#include "engine_controls/skin_updown.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/messages.h"

namespace {

constexpr UINT kPrintMessage = 0x317;  // WM_PRINT
// Paints the control's own picture into WParam's DC (LParam kSkinMagic).
constexpr UINT kSkmPaintClient = 0xBC4A;

std::string LowerClassName(HWND window) {
  char name[101] = {};
  GetClassNameA(window, name, 100);
  std::string s(name);
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool IsSpinClass(const std::string& lower) {
  return lower == "msctls_updown32" || lower.find("spin") != std::string::npos ||
         lower.find("updown") != std::string::npos;
}

TPoint WindowSize(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return {r.right - r.left, r.bottom - r.top};
}

TPoint ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

}  // namespace

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

TSkinEdit::~TSkinEdit() {
  if (UpDown) UpDown->Free();
}

void TSkinEdit::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == UpDown) UpDown = nullptr;
}

void TSkinEdit::Detach() {
  TSkinControl::Detach();
  if (!UpDown) return;
  if (UpDown->LifeState != kWindowGone) UpDown->Detach();
  UpDown->Free();  // cleared through Notification
  UpDown = nullptr;
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_NCPAINT:
      // The border was drawn again by the system.
      PaintWindow(nullptr);
      break;
    case kPrintMessage:
      PrintFrame(reinterpret_cast<HDC>(m.WParam));
      break;
    case kSkmPaintClient:
      if (m.LParam != kSkinMagic) break;
      if (m.WParam) {
        TMessage paint{WM_PAINT, m.WParam, 0, 0};
        CallOriginal(paint);
      }
      m.Result = kSkinMagic;
      break;
    default:
      TSkinControl::AfterMessage(m);
      break;
  }
}

void TSkinEdit::AttachSpinChild() {
  if (UpDown || !SkinData || !SkinData->SkinControls().Has(xcSpin)) return;
  for (HWND w = GetWindow(Handle, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!IsSpinClass(LowerClassName(w))) continue;
    if (SendMessageW(w, kSkmIsSkinned, 0, 0) == 1) return;
    UpDown = new TSkinUpDown(this);
    UpDown->Embedded = true;
    UpDown->AttachWindow(w, SkinData, Form, Canvas);
    if (!UpDown->Attached) UpDown->Free();
    return;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
  if (!dc || !Handle) return;
  AttachSpinChild();
  (void)rect;
  const int saved = SaveDC(dc);
  DrawFrameRings(dc, EditFrameRings(WindowSize(Handle), ClientSize(Handle)),
                 SkinColour(kcButtonShadow), nullptr);
  RestoreDC(dc, saved);
}

void TSkinEdit::PrintFrame(HDC dc) {
  if (!dc || !Handle) return;
  const int saved = SaveDC(dc);
  DrawFrameRings(dc, PrintFrameRings(WindowSize(Handle), ClientSize(Handle)),
                 SkinColour(kcButtonShadow), static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  RestoreDC(dc, saved);
}
