// A small program on the window framework: a form with a main menu, a popup
// menu with images (owner-drawn), a windowless gauge and a timer that moves
// it. With --shot FILE.bmp it opens the popup menu, photographs the screen
// area of the form and the menu into FILE.bmp, and exits.
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/screen_shot.h"

namespace {

// A windowless gauge: a bar that fills to Position percent, lighter while
// the mouse is over it; a click resets it.
class TGauge : public TGraphicControl {
  MV_CLASS(TGauge, TGraphicControl)
 public:
  explicit TGauge(TComponent* owner) : TGraphicControl(owner) {
    OnMouseEnter = [this](TObject*) { Invalidate(); };
    OnMouseLeave = [this](TObject*) { Invalidate(); };
  }
  int Position() const { return position_; }
  void SetPosition(int v) {
    position_ = v % 101;
    Invalidate();
  }

 protected:
  void Paint() override {
    TCanvas& c = Canvas();
    RECT r = ClientRect();
    c.Brush().SetColor(clWhite);
    c.Pen().SetColor(clBtnShadow);
    c.Rectangle(r);
    RECT bar{2, 2, 2 + (r.right - 4) * position_ / 100, r.bottom - 2};
    c.Brush().SetColor(MouseInControl() ? 0x60C060 : 0x308030);
    c.FillRect(bar);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Font().SetColor(clBlack);
    c.DrawText(std::to_string(position_) + " %", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }

 private:
  int position_ = 0;
};

class TDemoForm : public TForm {
  MV_CLASS(TDemoForm, TForm)
 public:
  explicit TDemoForm(TComponent* owner) : TForm(owner) {
    SetCaption("Framework demo");
    SetBounds(40, 40, 360, 220);
    SetColor(clBtnFace);

    images_ = new TImageList(this);
    images_->SetSize(16, 16);
    const TColor colours[] = {clRed, clGreen, clBlue};
    for (TColor c : colours) {
      TBitmap glyph(16, 16, TPixelFormat::pf24bit);
      glyph.Canvas().Brush().SetColor(clFuchsia);
      glyph.Canvas().FillRect(RECT{0, 0, 16, 16});
      glyph.Canvas().Brush().SetColor(c);
      glyph.Canvas().Pen().SetColor(clBlack);
      glyph.Canvas().Ellipse(1, 1, 15, 15);
      images_->AddMasked(glyph, clFuchsia);
    }

    menu_ = new TMainMenu(this);
    TMenuItem* file = Item("&File", nullptr);
    TMenuItem* reset = Item("&Reset", [this](TObject*) { gauge_->SetPosition(0); });
    reset->SetShortCut(ShortCut('R', ssCtrl));
    file->Add(reset);
    file->Add(Item("-", nullptr));
    file->Add(Item("E&xit", [this](TObject*) { Close(); }));
    TMenuItem* view = Item("&View", nullptr);
    pause_ = Item("&Pause", [this](TObject*) {
      pause_->SetChecked(!pause_->Checked());
      timer_->SetEnabled(!pause_->Checked());
    });
    view->Add(pause_);
    menu_->Items()->Add(file);
    menu_->Items()->Add(view);
    SetMenu(menu_);

    popup_ = new TPopupMenu(this);
    popup_->SetImages(images_);
    TMenuItem* red = Item("Red", [this](TObject*) { SetColor(0xC0C0FF); });
    red->SetImageIndex(0);
    TMenuItem* green = Item("Green", [this](TObject*) { SetColor(0xC0FFC0); });
    green->SetImageIndex(1);
    green->SetChecked(true);
    TMenuItem* blue = Item("Blue (disabled)", nullptr);
    blue->SetImageIndex(2);
    blue->SetEnabled(false);
    popup_->Items()->Add(red);
    popup_->Items()->Add(green);
    popup_->Items()->Add(blue);
    popup_->Items()->Add(Item("-", nullptr));
    popup_->Items()->Add(Item("&Default colour", [this](TObject*) { SetColor(clBtnFace); }));
    SetPopupMenu(popup_);  // a right click shows it

    gauge_ = new TGauge(this);
    gauge_->SetBounds(20, 20, 300, 28);
    gauge_->SetParent(this);
    gauge_->OnClick = [this](TObject*) { gauge_->SetPosition(0); };

    timer_ = new TTimer(this);
    timer_->SetInterval(100);
    timer_->OnTimer = [this](TObject*) { gauge_->SetPosition(gauge_->Position() + 1); };

    OnPaint = [this](TObject*) {
      Canvas().Brush().SetStyle(TBrushStyle::bsClear);
      Canvas().TextOut(20, 70, "Right-click for the popup menu.");
      Canvas().TextOut(20, 90, "Click the gauge to reset it.");
    };
  }

  TPopupMenu* Popup() const { return popup_; }
  TGauge* Gauge() const { return gauge_; }

 private:
  TMenuItem* Item(const char* caption, TNotifyEvent click) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    item->OnClick = std::move(click);
    return item;
  }
  TImageList* images_;
  TMainMenu* menu_;
  TMenuItem* pause_;
  TPopupMenu* popup_;
  TGauge* gauge_;
  TTimer* timer_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string shot_path;
  for (int i = 1; i + 1 < __argc; ++i) {
    if (std::strcmp(__argv[i], "--shot") == 0) shot_path = __argv[i + 1];
  }
  Application->SetTitle("Framework demo");
  auto* form = Application->CreateForm<TDemoForm>();

  int exit_code = 0;
  TTimer* shot_timer = nullptr;
  if (!shot_path.empty()) {
    // Let the gauge run a little, open the popup, photograph, close.
    shot_timer = new TTimer(form);
    shot_timer->SetInterval(700);
    shot_timer->OnTimer = [&](TObject*) {
      shot_timer->SetEnabled(false);
      auto* photo = new TTimer(form);
      photo->SetInterval(300);
      photo->OnTimer = [&, photo](TObject*) {
        photo->SetEnabled(false);
        if (!SaveScreenAround(form->Handle(), 120, 60, shot_path)) exit_code = 1;
        EndMenu();
        Application->Terminate();
      };
      POINT p = form->ClientToScreen(POINT{200, 90});
      form->Popup()->Popup(p.x, p.y);  // returns when the photo timer ends it
    };
  }
  Application->Run();
  return exit_code;
}
