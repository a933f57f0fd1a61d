#include "screen_pick.h"

#include <memory>

#include "framework/forms.h"
#include "framework/graphics.h"

namespace {

class TScreenPickForm : public TForm {
  MV_CLASS(TScreenPickForm, TForm)
 public:
  TScreenPickForm(TComponent* owner, std::function<void(uint32_t)> picked)
      : TForm(owner), picked_(std::move(picked)) {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    shot_ = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
    HDC screen = GetDC(nullptr);
    BitBlt(shot_->Canvas().Handle(), 0, 0, w, h, screen, x, y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    SetBorderStyle(TFormBorderStyle::bsNone);
    SetBounds(x, y, w, h);
    SetCaption("Pick a colour");
    SetKeyPreview(true);
    OnPaint = [this](TObject*) { Canvas().Draw(0, 0, *shot_); };
    OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int px, int py) {
      if (button == TMouseButton::mbLeft) Finish(true, px, py);
    };
    OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
      if (key == VK_ESCAPE) Finish(false, 0, 0);
    };
  }

 private:
  void Finish(bool take, int px, int py) {
    if (done_) return;
    done_ = true;
    uint32_t colour = 0;
    if (take) {
      COLORREF c = GetPixel(shot_->Canvas().Handle(), px, py);
      take = c != CLR_INVALID;
      colour = c & 0xFFFFFFu;
    }
    Hide();
    Release();
    if (take && picked_) picked_(colour);
  }
  std::function<void(uint32_t)> picked_;
  std::unique_ptr<TBitmap> shot_;
  bool done_ = false;
};

}  // namespace

void PickScreenColour(TComponent* owner, std::function<void(uint32_t colour)> picked) {
  auto* form = new TScreenPickForm(owner, std::move(picked));
  form->AfterConstruction();
  form->Show();
  // Over everything, as the photograph it shows was.
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
}
