#include <map>
#include <vector>

#include "engine_win/toolbar_painters.h"
#include "framework/comctrls.h"

// Bridges into the skinner (defined with it in skin_form.cpp).
void SkinFormPaintToolbarBackground(TWinSkinForm& form, HDC dc, const RECT& rect);
bool SkinFormPaintToolButton(TWinSkinForm& form, HDC dc, const RECT& bounds, unsigned state,
                             COLORREF* text);

namespace {

struct TPaintedBar {
  HWND Window;
  TToolBar* Bar;
  bool Background, Buttons;  // which events are ours
};
// The bars each skinner painted; all on the user-interface thread.
std::map<TWinSkinForm*, std::vector<TPaintedBar>>& PaintedBars() {
  static std::map<TWinSkinForm*, std::vector<TPaintedBar>> bars;
  return bars;
}

}  // namespace

int ToolButtonFrame(unsigned state) {
  if (state & cdsSelected) return 2;
  if (state & (cdsGrayed | cdsDisabled)) return 0;
  if (state & (cdsFocused | cdsHot)) return 4;
  return 1;
}

void InstallToolbarPainters(TWinSkinForm& form, TToolBar* bar) {
  if (!bar) return;
  TWinSkinForm* f = &form;
  bool background = false, buttons = false;
  if (!bar->OnCustomDraw) {
    bar->OnCustomDraw = [f](TToolBar* sender, const RECT& rect, bool&) {
      SkinFormPaintToolbarBackground(*f, sender->Canvas().Handle(), rect);
    };
    background = true;
  }
  if (!bar->OnCustomDrawButton) {
    bar->OnCustomDrawButton = [f](TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                  bool&) {
      RECT r{};
      if (!sender->HandleAllocated() ||
          !SendMessageA(sender->WindowHandle(), TB_GETRECT,
                        static_cast<WPARAM>(button->CommandId()), reinterpret_cast<LPARAM>(&r)))
        r = button->BoundsRect();
      COLORREF text = 0;
      if (SkinFormPaintToolButton(*f, sender->Canvas().Handle(), r, state, &text))
        sender->Canvas().Font().SetColor(text);  // the bar draws its text in it
    };
    buttons = true;
  }
  if (!background && !buttons) return;
  bar->HandleNeeded();
  PaintedBars()[f].push_back({bar->WindowHandle(), bar, background, buttons});
  InvalidateRect(bar->WindowHandle(), nullptr, TRUE);
}

void ClearToolbarPainters(TWinSkinForm& form) {
  auto& all = PaintedBars();
  auto it = all.find(&form);
  if (it == all.end()) return;
  const std::vector<TPaintedBar> bars = std::move(it->second);
  all.erase(it);
  for (const TPaintedBar& b : bars) {
    // Only a bar still alive (its window still belongs to it) is touched; a
    // freed bar took its events with it.
    if (!b.Window || !IsWindow(b.Window) || FindControl(b.Window) != b.Bar) continue;
    if (b.Background) b.Bar->OnCustomDraw = nullptr;
    if (b.Buttons) b.Bar->OnCustomDrawButton = nullptr;
    InvalidateRect(b.Window, nullptr, TRUE);
  }
}
