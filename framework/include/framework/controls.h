// Controls: TControl (anything with bounds on a parent), TWinControl (a
// control with a native window), TGraphicControl (windowless, painted and fed
// mouse input by its parent) and TCustomControl (a windowed control that
// paints itself on a canvas).
//
// Message flow. Every framework window has the same window procedure. It
// finds the window's control through a window property and calls the
// control's WindowProc, a replaceable handler whose default is the control's
// own dispatcher WndProc. What WndProc does not handle goes to
// DefaultHandler, which calls the native window procedure of the control's
// window class. Exceptions thrown by handlers are caught there and shown by
// the application; they never unwind into the system.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics.h"
#include "framework/messages.h"
#include "framework/props.h"

class TWinControl;
class TPopupMenu;
class TCustomForm;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TBiDiMode {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};
extern const TEnumInfo kAlignIdents;
extern const TEnumInfo kBiDiModeIdents;

// Cursor identifiers (crDefault: the window class's cursor).
constexpr int crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
              crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crHourGlass = -11, crHandPoint = -21;

// The name of the window property that holds a framework window's control:
// "ControlOfs" followed by the module instance (its low 32 bits) and the
// thread id, each as 8 upper-case hexadecimal digits.
std::string ControlPropertyName(HINSTANCE instance, DWORD thread_id);
// The global atom of that name for this module and the calling thread.
ATOM ControlAtom();
// The framework control behind a window, or null.
class TControl* FindControl(HWND window);

class TControl : public TComponent {
  MV_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  static void PublishProperties(TClassInfo& info);

  // The replaceable message handler (see the top of this file).
  TWndMethod WindowProc;
  // Sends a message straight to WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form this control is on (itself for a form), or null.
  TCustomForm* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  void SetClientSize(int width, int height);
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to a top-level window is showing.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v);
  // The control takes its parent's colour / font, and follows changes of
  // it, until its own Color / Font is changed. Forms have neither.
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool v);
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool v);
  const std::string& Caption() const { return Text(); }
  void SetCaption(const std::string& v) { SetText(v); }
  virtual const std::string& Text() const { return text_; }
  virtual void SetText(const std::string& v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool v);
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode v);
  bool UseRightToLeftReading() const { return bidi_mode_ != TBiDiMode::bdLeftToRight; }
  int Cursor() const { return cursor_; }
  void SetCursor(int v) { cursor_ = v; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign v);
  // Shown by a right click (WM_CONTEXTMENU) on the control or, when it has
  // none, on the nearest parent that has one.
  TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TPopupMenu* menu);

  virtual void Invalidate();
  virtual void Update() {}
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();

  virtual void Click();
  // Runs the control's mouse-down notification (OnMouseDown and what the
  // class adds) for a press that something else intercepted.
  void NotifyMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    MouseDown(button, shift, x, y);
  }
  // Whether the mouse is over the control (between CM_MOUSEENTER and
  // CM_MOUSELEAVE).
  bool MouseInControl() const;

  TNotifyEvent OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  // The control's own dispatcher: the default WindowProc.
  virtual void WndProc(TMessage& msg);
  // Messages nobody handled.
  virtual void DefaultHandler(TMessage& msg);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // Called when the Caption/Text changed (CM_TEXTCHANGED).
  virtual void TextChanged() { Invalidate(); }
  void Notification(TComponent* component, TOperation operation) override;
  // Sets Visible without notifications (for constructors).
  void SetVisibleFlag(bool v) { visible_ = v; }
  bool clicked_ = false;  // left button went down in the control
  // Whether a left button down and up inside the control makes a Click.
  // Controls whose native window reports clicks itself (BN_CLICKED) clear it.
  bool click_events_ = true;

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  std::unique_ptr<TFont> font_;
  std::string text_;
  std::string hint_;
  bool show_hint_ = false;
  TBiDiMode bidi_mode_ = TBiDiMode::bdLeftToRight;
  int cursor_ = crDefault;
  TAlign align_ = TAlign::alNone;
  TPopupMenu* popup_menu_ = nullptr;
  bool parent_color_ = true;
  bool parent_font_ = true;
  // Handlers of WndProc's switch.
  void OnMouseButtonDown(TMessage& msg);
  void OnMouseButtonUp(TMessage& msg);
  void OnMouseMoveMessage(TMessage& msg);
  void OnParentColorChanged();
  void OnParentFontChanged();
};

// Window creation parameters, filled by CreateParams.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;  // child id for child windows
  WNDCLASSA WindowClass{};
  std::string WinClassName;
  // For a control over a native class (superclassing): that class's name.
  std::string NativeClassName;
};

class TWinControl : public TControl {
  MV_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  static void PublishProperties(TClassInfo& info);

  // The window, created (with its parents') on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // The window handle without creating it.
  HWND WindowHandle() const { return handle_; }
  // Destroys and re-creates the window with current CreateParams (after
  // sending CM_RECREATEWND, so that code watching the window can let go).
  void RecreateWnd();

  // Child controls in z-order (first = bottom).
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }
  // The topmost visible windowless or windowed child at a client point.
  TControl* ControlAtPos(POINT p, bool allow_disabled, bool allow_windowed = false) const;
  // Paints the windowless children onto `dc` (client coordinates of this
  // control), from `first` (or the bottom one) upwards.
  void PaintControls(HDC dc, TControl* first = nullptr);
  // Sends a message to every child control until one sets a Result.
  void Broadcast(TMessage& msg);
  // Sends a message to every child control.
  void NotifyControls(UINT msg);

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v) { tab_stop_ = v; }
  // The windowed children in tab order.
  const std::vector<TWinControl*>& TabList() const { return tab_list_; }
  bool ParentBackground() const { return parent_background_; }
  void SetParentBackground(bool v);

  bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // The next (or previous) control that can take the focus after `current`
  // in tab order, searched through nested containers; wraps around.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool check_tab_stop) const;
  void SelectNext(TWinControl* current, bool forward, bool check_tab_stop);

  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  const std::string& Text() const override;
  void SetText(const std::string& v) override;
  void SetParent(TWinControl* parent) override;
  void Invalidate() override;
  void Update() override;
  // Positions aligned children (alTop, alBottom, alLeft, alRight, alClient).
  void Realign();

  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter, OnExit;

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Makes this control a superclass of the native window class `name`
  // ("BUTTON", "EDIT"): the framework class gets its own class name, the
  // native procedure becomes the DefaultHandler.
  void CreateSubClass(TCreateParams& params, const char* name);
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Called once the window exists and the control is attached to it.
  virtual void CreateWindowHandle(const TCreateParams&) {}
  void WndProc(TMessage& msg) override;
  void DefaultHandler(TMessage& msg) override;
  // WM_PAINT of the window: paints the window (PaintWindow) and then the
  // windowless children.
  void PaintHandler(TMessage& msg);
  // Paints the window itself on `dc`; the default lets the native class paint.
  virtual void PaintWindow(HDC dc);
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // Fills the background with Color (for classes without a native painter).
  virtual void EraseBackground(HDC dc);
  // The native window procedure of this control's class.
  WNDPROC DefWndProc() const { return def_wnd_proc_; }

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void AttachWindow(HWND window);
  void DetachWindow();
  bool RouteMouseMessage(TMessage& msg);
  bool ReflectToChild(TMessage& msg);
  void UpdateMouseControl(TControl* control);
  // WndProc's switch and its handlers: true when the message is done, false
  // when TControl's handling follows.
  bool HandleOwnMessage(TMessage& msg);
  bool OnFocusChanged(TMessage& msg);
  bool OnPaintMessage(TMessage& msg);
  void OnCtlColor(TMessage& msg);
  bool OnKeyMessage(TMessage& msg);
  bool OnCharMessage(TMessage& msg);
  bool OnWindowPosChanged(TMessage& msg);
  bool OnSetCursor(TMessage& msg);
  bool OnContextMenu(TMessage& msg);
  bool OnEraseBackgroundMessage(TMessage& msg);
  bool OnColourMessage(TMessage& msg);  // WM_CTLCOLOR* and CN_CTLCOLOR*
  bool OnSetFocusMessage();
  bool OnNcDestroyMessage(TMessage& msg);
  bool OnNotifyFormatMessage(TMessage& msg);
  bool OnRecreateWndMessage();
  bool OnFontChangedMessage();
  bool OnColorChangedMessage();
  bool OnBiDiModeChangedMessage();
  bool OnEnterExitMessage(TMessage& msg);
  HWND handle_ = nullptr;
  WNDPROC def_wnd_proc_ = DefWindowProcA;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tab_list_;
  bool tab_stop_ = false;
  bool parent_background_ = true;
  bool aligning_ = false;
  mutable std::string window_text_;
  std::unique_ptr<TBrush> brush_;  // background brush for WM_CTLCOLOR*
};

// A windowless control: no window of its own; its parent paints it (through
// PaintControls) and routes mouse messages to it, capturing the mouse for it
// while a button is down.
class TGraphicControl : public TControl {
  MV_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  // Draws on the parent's context, in the control's coordinates; usable only
  // while the control paints (Paint, OnPaint).
  TCanvas& Canvas();
  TNotifyEvent OnPaint;

 protected:
  void WndProc(TMessage& msg) override;
  virtual void Paint();

 private:
  std::unique_ptr<TCanvas> canvas_;
};

// A windowed control of its own window class that paints itself on a canvas.
class TCustomControl : public TWinControl {
  MV_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas& Canvas() { return *canvas_; }
  TNotifyEvent OnPaint;

 protected:
  void PaintWindow(HDC dc) override;
  virtual void Paint();

 private:
  std::unique_ptr<TCanvas> canvas_;
};

// The control the mouse is over (as far as CM_MOUSEENTER/LEAVE told), and the
// windowless control that has the mouse captured, on this thread.
TControl* MouseControl();
TControl* CaptureControl();
