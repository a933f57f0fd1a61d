// Small controls the framework tests build on.
#pragma once

#include <string>
#include <vector>

#include "framework/forms.h"

// A push button over the native BUTTON class: clicks come back as the
// reflected BN_CLICKED and may end a modal form.
class TTestButton : public TWinControl {
  MV_CLASS(TTestButton, TWinControl)
 public:
  explicit TTestButton(TComponent* owner) : TWinControl(owner) {
    click_events_ = false;  // BN_CLICKED reports clicks
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
  }
  int ModalResult = mrNone;
  int ControlId = 0;

  void Click() override {
    TWinControl::Click();
    if (ModalResult != mrNone) {
      if (TCustomForm* f = ParentForm()) f->SetModalResult(ModalResult);
    }
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_PUSHBUTTON;
    p.Menu = reinterpret_cast<HMENU>(static_cast<intptr_t>(ControlId));
  }
  void WndProc(TMessage& msg) override {
    if (msg.Msg == CN_COMMAND && HIWORD(msg.WParam) == BN_CLICKED) {
      Click();
      return;
    }
    TWinControl::WndProc(msg);
  }
};

// A windowless control that logs what reaches it.
class TTestShape : public TGraphicControl {
  MV_CLASS(TTestShape, TGraphicControl)
 public:
  TTestShape(TComponent* owner, std::vector<std::string>* log) : TGraphicControl(owner), log_(log) {
    OnMouseEnter = [this](TObject*) { Log("enter"); };
    OnMouseLeave = [this](TObject*) { Log("leave"); };
    OnClick = [this](TObject*) { Log("click"); };
    OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
      Log("down" + std::to_string(x) + "," + std::to_string(y));
    };
    OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int x, int y) {
      Log("up" + std::to_string(x) + "," + std::to_string(y));
    };
  }
  TColor Fill = clRed;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(Fill);
    RECT r = ClientRect();
    Canvas().FillRect(r);
  }

 private:
  void Log(const std::string& what) {
    if (log_) log_->push_back(Name() + ":" + what);
  }
  std::vector<std::string>* log_;
};

class TForm1 : public TForm {
  MV_CLASS(TForm1, TForm)
 public:
  using TForm::TForm;
};

class TMainfm : public TForm {
  MV_CLASS(TMainfm, TForm)
 public:
  using TForm::TForm;
};

class TTestPanel : public TCustomControl {
  MV_CLASS(TTestPanel, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
};

// Frees a framework object at scope exit.
template <class T>
struct TOwned {
  T* p;
  explicit TOwned(T* object) : p(object) {}
  ~TOwned() {
    if (p) p->Free();
  }
  T* operator->() const { return p; }
  T* get() const { return p; }
};
