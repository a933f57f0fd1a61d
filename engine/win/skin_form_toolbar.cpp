// The form skinner's painters on framework tool bars, installed as the bar's
// two custom-draw events.
#include <utility>
#include <vector>

#include "engine_win/skin_form.h"
#include "framework/comctrls.h"

int TWinSkinForm::ToolButtonFrame(unsigned state) {
  if (state & cdsSelected) return 2;
  if (state & (cdsGrayed | cdsDisabled)) return 0;
  if (state & (cdsFocused | cdsHot)) return 4;
  return 1;
}

void TWinSkinForm::InstallToolbarPainters(TToolBar* bar) {
  if (!bar) return;
  TWinSkinForm* f = this;
  bool background = false, buttons = false;
  if (!bar->OnCustomDraw) {
    bar->OnCustomDraw = [f](TToolBar* sender, const RECT& rect, bool&) {
      f->PaintToolbarBackground(sender->Canvas().Handle(), rect);
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
      if (f->PaintToolButton(sender->Canvas().Handle(), r, state, &text))
        sender->Canvas().Font().SetColor(text);  // the bar draws its text in it
    };
    buttons = true;
  }
  if (!background && !buttons) return;
  bar->HandleNeeded();
  painted_bars_.push_back({bar->WindowHandle(), bar, background, buttons});
  InvalidateRect(bar->WindowHandle(), nullptr, TRUE);
}

void TWinSkinForm::ClearToolbarPainters() {
  if (painted_bars_.empty()) return;
  const std::vector<TPaintedBar> bars = std::move(painted_bars_);
  painted_bars_.clear();
  for (const TPaintedBar& b : bars) {
    // Only a bar still alive (its window still belongs to it) is touched; a
    // freed bar took its events with it.
    if (!b.Window || !IsWindow(b.Window) || FindControl(b.Window) != b.Bar) continue;
    if (b.Background) b.Bar->OnCustomDraw = nullptr;
    if (b.Buttons) b.Bar->OnCustomDrawButton = nullptr;
    InvalidateRect(b.Window, nullptr, TRUE);
  }
}
