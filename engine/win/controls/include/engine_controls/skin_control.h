// The base of every control skinner: a small object in front of one control
// of a skinned form that repaints it from the skin while the control keeps
// its own behaviour.
//
// A skinner attaches either to a framework control (through its replaceable
// WindowProc; the control owns the skinner and frees it with itself) or to a
// bare window (through its window procedure; the control list owns it). One
// entry, WindowProc, sees every message: the family's BeforeMessage decides
// whether the control's own handling runs, AfterMessage follows it. The
// families override the virtual operations; the list (control_list.h)
// decides which family a control gets and hosts the skinners.
#pragma once

#include <windows.h>

#include <string>

#include "engine_win/subclass.h"
#include "framework/classes.h"
#include "framework/props.h"

class TControl;
class TSkinData;
class TSkinContent;
class TSkinControlList;
class TPaintBuffer;
struct TMessage;

class TSkinControl : public TComponent {
  MV_CLASS(TSkinControl, TComponent)
 public:
  // Life states.
  static constexpr int kCreated = 0, kAttached = 1, kDetachedBox = 2, kWindowGone = 6;
  // State bits.
  static constexpr uint8_t kHot = 1, kPressed = 2;

  explicit TSkinControl(TComponent* owner);
  ~TSkinControl() override;

  // Attaches to the framework control that owns this skinner. A second call
  // does nothing.
  virtual void AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                             TPaintBuffer* canvas);
  // Attaches to a bare window. A second call does nothing.
  virtual void AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                            TPaintBuffer* canvas);
  // Undoes what attaching changed on the control (colour, background).
  virtual void Detach();
  // True lets the control's own handling run (then AfterMessage); false
  // means the message is finished and its result set.
  virtual bool BeforeMessage(TMessage& m);
  virtual void AfterMessage(TMessage& m);
  // Paints the whole window into dc, or into the window's own DC when dc is
  // null. Never lets a drawing failure out.
  virtual void PaintWindow(HDC dc);
  // The skinned look into dc; rect is the window rectangle at origin 0,0.
  virtual void DrawSkin(HDC dc, const RECT& rect);
  // The skin was replaced or reloaded.
  virtual void SkinChanged();
  // SKM_SETACTIVE switched the skinner on or off (Active holds the new
  // state); skinners with windows of their own show or hide them.
  virtual void ActiveChanged() {}

  // The single entry for every message of the skinned window.
  void WindowProc(TMessage& m);
  // The control's own handling (result stored in m).
  void CallOriginal(TMessage& m);
  // Repaints now: a windowless control is invalidated, a window redrawn.
  void Refresh();
  // The standard WM_PAINT answer: DrawSkin into WParam's DC or a paint DC.
  void PaintMessage(TMessage& m);
  // The WM_ERASEBKGND answer of controls on their parent's background.
  void EraseToParent(TMessage& m);
  void FillFace(HDC dc, const RECT& r) const;
  void FillParentColor(HDC dc, const RECT& r) const;
  // The parent control's Color when it has one, else `fallback`.
  COLORREF ParentColor(COLORREF fallback) const;
  // flags plus right-to-left reading for a right-to-left control.
  UINT ReadingFlags(UINT flags) const;
  // A focus rectangle around Caption as DrawText places it in rect.
  void DrawTextFocus(HDC dc, UINT flags, const RECT& rect);
  // The framework control's mouse-down notification for a left press.
  void ForwardMouseDown(const TMessage& m);
  // Switches the control's ParentBackground off (true) or back on.
  void SwitchParentBackground(bool off);
  // Keeps the control's Color and whether it followed its parent's, and
  // gives both back exactly.
  void SaveColour();
  void RestoreColour();
  static LONG_PTR GetLong(HWND window, int index);
  static std::wstring WindowText(HWND window);

  const TSkinContent& Skin() const;
  bool HasSkin() const;
  // The skin's colour of a colour-table slot, as a GDI colour.
  COLORREF SkinColour(int slot) const;

  // --- State ---
  uint8_t State = 0;
  TPaintBuffer* Canvas = nullptr;
  bool Enabled = true;
  bool Focused = false;
  std::wstring Caption;
  bool Active = true;
  bool Unicode = false;
  TSkinData* SkinData = nullptr;
  HWND Handle = nullptr;
  TControl* Control = nullptr;         // the framework control (its owner)
  TControl* GraphicControl = nullptr;  // a windowless control painted on its parent
  bool OwnColor = false;
  uint32_t SavedColor = 0;
  bool SavedParentColor = false;  // the control took its parent's colour
  bool Attached = false;
  int LifeState = kCreated;
  TSkinControlList* Form = nullptr;
  int Mode = 0;
  bool ParentBackgroundOff = false;

  bool Hot() const { return (State & kHot) != 0; }
  bool Pressed() const { return (State & kPressed) != 0; }
  void SetStateBit(uint8_t bit, bool on) { State = on ? (State | bit) : (State & ~bit); }
  // Re-reads Enabled and Focused from the window.
  void ReadWindowState();
  // The text last set on the control (framework Caption, else window text).
  std::wstring CurrentCaption() const;

 protected:
  // Hooks a windowless control's handler (no window procedure replaced).
  void HookGraphic(TControl* control);
  void Unhook();

 private:
  TControlSubclass control_sub_;
  TWindowSubclass window_sub_;
};

// The paint buffer the skinners of one form share: a 32-bit off-screen
// bitmap that grows to the largest control painted, in a memory DC. A
// skinner that paints while another is painting gets a buffer of its own.
class TPaintBuffer {
 public:
  TPaintBuffer() = default;
  ~TPaintBuffer();
  TPaintBuffer(const TPaintBuffer&) = delete;
  TPaintBuffer& operator=(const TPaintBuffer&) = delete;

  class TLease {
   public:
    TLease(TPaintBuffer* owner, int width, int height);
    ~TLease();
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;
    // Null when no bitmap of that size could be made.
    HDC Dc() const { return dc_; }
    // Copies the width x height buffer to dc at (x, y).
    void CopyTo(HDC dc, int x, int y) const;

   private:
    TPaintBuffer* owner_;
    TPaintBuffer* own_ = nullptr;  // when the shared one is busy
    HDC dc_ = nullptr;
    int width_, height_;
  };

 private:
  HDC Prepare(int width, int height);
  void Release(HDC dc);
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_bitmap_ = nullptr;
  int width_ = 0, height_ = 0;
  int saved_dc_ = 0;
  bool busy_ = false;
};

// Narrow text of the framework to wide text.
std::wstring WidenText(const std::string& text);
