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
// ---- painters ---------------------------------------------------------------

void TWinSkinForm::PaintToolbarBackground(HDC dc, const RECT& rect) {
  if (!dc || !skin_ || !ToolbarBackground()) return;
  const TDataSkinObject* e = skin_->Element(ksToolbar);
  if (!e || e->Bitmap.Empty()) return;
  const TRect r{rect.left, rect.top, rect.right, rect.bottom};
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const TNativeBitmap bmp(e->Bitmap);
  DrawFrameScaled(dc, r, bmp, false, 1, 1);
}

bool TWinSkinForm::PaintToolButton(HDC dc, const RECT& bounds, unsigned state, COLORREF* text) {
  if (!dc || !skin_ || !ToolbarButtons() || life_ != 1) return false;
  const TDataSkinButton& e = skin_->Buttons;
  if (e.Bitmap.Empty()) return false;
  const int frame = ToolButtonFrame(state);
  if (frame == 0) return false;
  const TRect r{bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1};
  if (r.Width() <= 0 || r.Height() <= 0) return false;
  const TNativeBitmap bmp(e.Bitmap);
  DrawFrameScaled(dc, r, bmp, e.Trans != 0, std::max(1, e.FrameCount), frame);
  const bool has = frame == 1   ? e.HasNormalColour2
                   : frame == 4 ? e.HasMouseOverColour2
                                : e.HasPressedColour2;
  if (!has || !text) return false;
  const TColor c = frame == 1   ? e.NormalColour2
                   : frame == 4 ? e.MouseOverColour2
                                : e.PressedColour2;
  *text = ToColorRef(c);
  return true;
}
