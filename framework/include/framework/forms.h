// Forms (top-level windows, each form class its own window class named after
// it), the application object with its message loop, and timers.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/controls.h"

class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
extern const TEnumInfo kFormBorderStyleIdents;
extern const TEnumInfo kPositionIdents;
extern const TEnumInfo kWindowStateIdents;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& can_close)>;

class TCustomForm : public TWinControl {
  MV_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  static void PublishProperties(TClassInfo& info);
  // Fires OnCreate; run by Create<T>() and TApplication::CreateForm.
  void AfterConstruction() override;
  // Fires OnDestroy; run by Free.
  void BeforeDestruction() override;

  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState v);
  TMainMenu* Menu() const { return menu_; }
  // Puts the menu on the window and sends CM_MENUCHANGED through it.
  void SetMenu(TMainMenu* menu);
  int ModalResult() const { return modal_result_; }
  void SetModalResult(int v) { modal_result_ = v; }
  bool AutoScroll() const { return auto_scroll_; }
  void SetAutoScroll(bool v) { auto_scroll_ = v; }
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool v) { key_preview_ = v; }
  bool Modal() const { return modal_; }
  bool Active() const;
  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* control);
  TCanvas& Canvas() { return *canvas_; }

  void SetVisible(bool v) override;
  // Before the window exists: the bounds less the frame, caption and menu
  // the window will have.
  RECT ClientRect() const override;
  void Show();
  // Shows the form, disables the application's other forms, and runs
  // messages until ModalResult is set (by code, a button, or Close); returns
  // it. Throws when the form is already visible.
  int ShowModal();
  // Asks OnCloseQuery and OnClose; hides, frees, or (for the main form)
  // ends the application. A modal form just gets ModalResult mrCancel.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages now queued have been handled (safe
  // from the form's own event handlers).
  void Release();
  // Called by controls when they get the focus, and when they die.
  void SetFocusedControl(TWinControl* control);
  void ControlRemoved(TControl* control);
  // A key is a menu short cut of this form's menu: runs the item.
  bool IsShortCut(WORD key, TShiftState shift);

  TNotifyEvent OnCreate, OnDestroy, OnShow, OnHide, OnPaint, OnActivate, OnDeactivate, OnResize;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void DestroyWnd() override;
  void WndProc(TMessage& msg) override;
  void PaintWindow(HDC dc) override;
  virtual void Paint();
  virtual void DoShow();
  virtual void DoHide();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void PlaceWindow();
  void FrameStyles(DWORD& style, DWORD& ex_style) const;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
  TPosition position_ = TPosition::poDesigned;
  TWindowState window_state_ = TWindowState::wsNormal;
  TMainMenu* menu_ = nullptr;
  int modal_result_ = mrNone;
  bool auto_scroll_ = true;
  bool key_preview_ = false;
  bool modal_ = false;
  bool placed_ = false;
  TWinControl* active_control_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

class TForm : public TCustomForm {
  MV_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TExceptionEvent = std::function<void(TObject* sender, const std::exception& e)>;

// The program: its forms, the message loop, idle processing, and the default
// handling of exceptions raised by event handlers.
class TApplication : public TComponent {
  MV_CLASS(TApplication, TComponent)
 public:
  TApplication();

  // Creates a form owned by the application and runs its OnCreate; the first
  // form created this way becomes the main form.
  template <class T>
  T* CreateForm() {
    T* form = new T(this);
    if (!main_form_) main_form_ = form;
    form->AfterConstruction();
    return form;
  }
  TCustomForm* MainForm() const { return main_form_; }
  void SetMainForm(TCustomForm* form) { main_form_ = form; }
  // Every live form, in creation order.
  const std::vector<TCustomForm*>& Forms() const { return forms_; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }

  // Shows the main form and handles messages until Terminate (or the main
  // form closes).
  void Run();
  // Handles one message, or when none is waiting runs idle processing and
  // waits for one.
  void HandleMessage();
  // Handles every message waiting now, then returns.
  void ProcessMessages();
  // Ends the message loop (posts WM_QUIT).
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Called inside a catch block: gives the exception to OnException, or
  // shows it in the default error box (the exception's text, with a final
  // period added, under the application's title).
  void HandleException(TObject* sender);
  void ShowException(const std::exception& e);

  // Idle handler: runs when the message queue is empty. `done` = false asks
  // to be called again before waiting. A handler may assign OnIdle (also to
  // nothing) while it runs: a one-shot handler removes itself.
  TIdleEvent OnIdle;
  TExceptionEvent OnException;

 private:
  friend class TCustomForm;
  bool ProcessMessage(MSG& msg);
  bool IsKeyMsg(MSG& msg);
  void Idle();
  std::vector<TCustomForm*> forms_;
  TCustomForm* main_form_ = nullptr;
  std::string title_;
  bool terminated_ = false;
};

// The application object of the program.
extern TApplication* Application;

// Calls OnTimer every Interval milliseconds while Enabled.
class TTimer : public TComponent {
  MV_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  static void PublishProperties(TClassInfo& info);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  // The timer runs while Enabled and Interval > 0, with or without OnTimer.
  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  friend void CALLBACK FrameworkTimerProc(HWND, UINT, UINT_PTR, DWORD);
  void UpdateTimer();
  bool enabled_ = true;
  unsigned interval_ = 1000;
  UINT_PTR id_ = 0;
};
