// Putting a skinner's message handler in front of a window's own, and taking
// it away again, the same way for every skinner.
//
// TWindowSubclass does it for a bare window through its window procedure
// (the wide functions when the window is Unicode, the ANSI ones otherwise),
// TControlSubclass for a framework control through its replaceable handler
// WindowProc. Both follow the same rules:
//   - attaching again to what is attached changes nothing (no second hook);
//   - detaching gives back the exact previous procedure or handler, but only
//     while ours is the one installed: when someone subclassed after us, ours
//     stays in their chain and only passes messages on;
//   - a window being destroyed is given back in WM_NCDESTROY, after its own
//     procedure ran, and forgotten; a window that is gone (or whose handle
//     now names another window) is never written to.
// Use them from the thread of the window.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>

class TControl;
struct TMessage;
struct TSubclassRecord;
struct TControlHookState;

// A handler in front of a bare window's procedure. At most one handler per
// window: attaching to a window another TWindowSubclass has fails.
class TWindowSubclass {
 public:
  using THandler = std::function<LRESULT(UINT msg, WPARAM wparam, LPARAM lparam)>;

  TWindowSubclass() = default;
  ~TWindowSubclass();  // detaches
  TWindowSubclass(const TWindowSubclass&) = delete;
  TWindowSubclass& operator=(const TWindowSubclass&) = delete;

  // Puts handler in front of the window's procedure; it passes on what it
  // does not handle with CallOld. Already attached to this window: true, and
  // the handler stays the first one. Attached to another window: detaches
  // from it first. False when the window does not exist, cannot be
  // subclassed, or has another TWindowSubclass's handler.
  bool Attach(HWND window, THandler handler);
  // Takes the handler away (see the rules above). Harmless when not
  // attached, from inside the handler and after the window was destroyed.
  void Detach();
  bool Attached() const;
  HWND Window() const { return window_; }
  // The procedure that was installed before ours (kept after Detach, for a
  // message still being handled).
  WNDPROC OldProc() const { return old_; }
  bool Unicode() const { return unicode_; }
  LRESULT CallOld(UINT msg, WPARAM wparam, LPARAM lparam) const;

  // The window procedure every subclassed window gets.
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
  // Whether the helper still has a record of the window (attached, or passing
  // messages on under someone else's subclass).
  static bool Knows(HWND window);
  // How many windows the helper has records of, after forgetting those that
  // no longer exist.
  static size_t KnownWindows();

 private:
  std::shared_ptr<TSubclassRecord> record_;
  HWND window_ = nullptr;
  WNDPROC old_ = nullptr;
  bool unicode_ = false;
};

// A handler in front of a framework control's WindowProc.
class TControlSubclass {
 public:
  using THandler = std::function<void(TMessage& message)>;

  TControlSubclass() = default;
  ~TControlSubclass();  // detaches
  TControlSubclass(const TControlSubclass&) = delete;
  TControlSubclass& operator=(const TControlSubclass&) = delete;

  // Puts handler in front of the control's WindowProc; it passes on what it
  // does not handle with CallOld. Already attached to this control: true,
  // nothing changes. False for a null control or handler.
  bool Attach(TControl* control, THandler handler);
  // Gives the control back the exact handler it had when ours is still its
  // WindowProc; otherwise ours stays in the chain, passing messages on. A
  // control that was freed (our handler gone with it) is not touched.
  void Detach();
  bool Attached() const;
  TControl* Control() const { return Attached() ? control_ : nullptr; }
  // Passes a message to the handler that was there before ours (also while
  // handling a message after Detach).
  void CallOld(TMessage& message) const;

 private:
  std::shared_ptr<TControlHookState> state_;
  TControl* control_ = nullptr;
  bool attached_ = false;
};
