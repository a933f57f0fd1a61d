#include "engine_win/subclass.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "framework/controls.h"

// What the helper knows of one subclassed window. The window's property
// names its record, so a handle that now belongs to another window (which has
// no such property) is never taken for the old one.
struct TSubclassRecord {
  HWND Window = nullptr;
  WNDPROC Old = nullptr;
  bool Unicode = false;
  TWindowSubclass::THandler Handler;  // empty: messages only pass on
  bool Destroying = false;            // in WM_NCDESTROY
  bool Forgotten = false;             // no longer in the registry
};

namespace {

const char kRecordProp[] = "MvSubclassRecord";

// The records by window. Never freed: a window may still get a message while
// the program's statics are being destroyed.
struct TRegistry {
  std::mutex Lock;
  std::map<HWND, std::shared_ptr<TSubclassRecord>> Records;
};
TRegistry& Registry() {
  static TRegistry* registry = new TRegistry;
  return *registry;
}

WNDPROC InstalledProc(const TSubclassRecord& r) {
  return reinterpret_cast<WNDPROC>(r.Unicode ? GetWindowLongPtrW(r.Window, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(r.Window, GWLP_WNDPROC));
}

void InstallProc(const TSubclassRecord& r, WNDPROC proc) {
  const LONG_PTR value = reinterpret_cast<LONG_PTR>(proc);
  if (r.Unicode)
    SetWindowLongPtrW(r.Window, GWLP_WNDPROC, value);
  else
    SetWindowLongPtrA(r.Window, GWLP_WNDPROC, value);
}

LRESULT CallProc(WNDPROC proc, bool unicode, HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!proc)
    return unicode ? DefWindowProcW(window, msg, wparam, lparam)
                   : DefWindowProcA(window, msg, wparam, lparam);
  return unicode ? CallWindowProcW(proc, window, msg, wparam, lparam)
                 : CallWindowProcA(proc, window, msg, wparam, lparam);
}

// The record's window still exists and is the window the record was made for.
bool Alive(const TSubclassRecord& r) {
  return IsWindow(r.Window) && GetPropA(r.Window, kRecordProp) == &r;
}

std::shared_ptr<TSubclassRecord> FindRecord(HWND window) {
  const HANDLE tag = GetPropA(window, kRecordProp);
  if (!tag) return nullptr;
  TRegistry& reg = Registry();
  std::lock_guard<std::mutex> lock(reg.Lock);
  const auto it = reg.Records.find(window);
  if (it == reg.Records.end() || it->second.get() != tag) return nullptr;
  return it->second;
}

// Takes the record out of the registry; with `restore`, and while the window
// still exists with ours on top, puts the old procedure back.
void Forget(const std::shared_ptr<TSubclassRecord>& r, bool restore) {
  if (r->Forgotten) return;
  if (Alive(*r)) {
    if (restore && InstalledProc(*r) == &TWindowSubclass::Proc) InstallProc(*r, r->Old);
    RemovePropA(r->Window, kRecordProp);
  }
  r->Forgotten = true;
  r->Handler = nullptr;
  TRegistry& reg = Registry();
  std::lock_guard<std::mutex> lock(reg.Lock);
  const auto it = reg.Records.find(r->Window);
  if (it != reg.Records.end() && it->second == r) reg.Records.erase(it);
}

// Forgets the records of windows destroyed without our procedure seeing it
// (someone took it out of the chain). Nothing is written to them.
void ForgetDeadWindows() {
  std::vector<std::shared_ptr<TSubclassRecord>> dead;
  TRegistry& reg = Registry();
  {
    std::lock_guard<std::mutex> lock(reg.Lock);
    for (const auto& [window, record] : reg.Records)
      if (!Alive(*record)) dead.push_back(record);
  }
  for (const auto& r : dead)
    Forget(r, false);
}

}  // namespace

// ---- bare windows -------------------------------------------------------------

LRESULT CALLBACK TWindowSubclass::Proc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
  const std::shared_ptr<TSubclassRecord> r = FindRecord(window);  // kept while handling
  if (!r) return CallProc(nullptr, IsWindowUnicode(window) != FALSE, window, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) r->Destroying = true;
  const THandler handler = r->Handler;  // a copy: the handler may detach or free its owner
  const LRESULT result = handler ? handler(msg, wparam, lparam)
                                 : CallProc(r->Old, r->Unicode, window, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) Forget(r, true);  // after the window's own procedure ran
  return result;
}

TWindowSubclass::~TWindowSubclass() {
  Detach();
}

bool TWindowSubclass::Attach(HWND window, THandler handler) {
  if (record_ && record_->Window == window && Attached()) return true;
  Detach();
  if (!window || !handler || !IsWindow(window)) return false;
  ForgetDeadWindows();
  std::shared_ptr<TSubclassRecord> r = FindRecord(window);
  if (r && (r->Handler || r->Destroying)) return false;  // someone else's, or going
  if (!r) {
    // Ours is not in the window's chain: put it on top.
    r = std::make_shared<TSubclassRecord>();
    r->Window = window;
    r->Unicode = IsWindowUnicode(window) != FALSE;
    r->Old = InstalledProc(*r);
    if (!r->Old || !SetPropA(window, kRecordProp, r.get())) return false;
    {
      TRegistry& reg = Registry();
      std::lock_guard<std::mutex> lock(reg.Lock);
      reg.Records[window] = r;
    }
    InstallProc(*r, &TWindowSubclass::Proc);
    if (InstalledProc(*r) != &TWindowSubclass::Proc) {  // refused (another process's window)
      Forget(r, false);
      return false;
    }
  }
  // Otherwise ours still passes messages on under a later subclass: it
  // takes the handler again, without a second hook.
  r->Handler = std::move(handler);
  record_ = r;
  window_ = window;
  old_ = r->Old;
  unicode_ = r->Unicode;
  return true;
}

void TWindowSubclass::Detach() {
  const std::shared_ptr<TSubclassRecord> r = std::move(record_);
  record_.reset();
  if (!r || r->Forgotten) return;
  r->Handler = nullptr;       // from now on messages only pass on
  if (r->Destroying) return;  // given back once the window's own WM_NCDESTROY ran
  if (!Alive(*r)) {
    Forget(r, false);
    return;
  }
  // Another subclass on top of ours keeps its chain: ours stays in it.
  if (InstalledProc(*r) == &TWindowSubclass::Proc) Forget(r, true);
}

bool TWindowSubclass::Attached() const {
  return record_ && !record_->Forgotten && Alive(*record_);
}

LRESULT TWindowSubclass::CallOld(UINT msg, WPARAM wparam, LPARAM lparam) const {
  return CallProc(old_, unicode_, window_, msg, wparam, lparam);
}

bool TWindowSubclass::Knows(HWND window) {
  return FindRecord(window) != nullptr;
}

size_t TWindowSubclass::KnownWindows() {
  ForgetDeadWindows();
  TRegistry& reg = Registry();
  std::lock_guard<std::mutex> lock(reg.Lock);
  return reg.Records.size();
}

// ---- framework controls ----------------------------------------------------------

struct TControlHookState {
  TControlSubclass::THandler Handler;  // empty: messages only pass on
  TWndMethod Old;
  bool Linked = true;  // our handler is still in some chain
};

namespace {

// Shared by every copy of our handler: when the last copy goes (the control
// was freed, or our handler was taken off the top), the state knows.
struct TChainLink {
  std::shared_ptr<TControlHookState> State;
  explicit TChainLink(std::shared_ptr<TControlHookState> state) : State(std::move(state)) {}
  ~TChainLink() { State->Linked = false; }
  TChainLink(const TChainLink&) = delete;
  TChainLink& operator=(const TChainLink&) = delete;
};

struct TControlHook {
  std::shared_ptr<TChainLink> Link;
  void operator()(TMessage& m) const {
    const std::shared_ptr<TControlHookState> keep = Link->State;  // the handler may detach us
    const TControlSubclass::THandler handler = keep->Handler;
    if (handler)
      handler(m);
    else if (keep->Old)
      keep->Old(m);
  }
};

}  // namespace

TControlSubclass::~TControlSubclass() {
  Detach();
}

bool TControlSubclass::Attach(TControl* control, THandler handler) {
  if (Attached() && control == control_) return true;
  Detach();
  if (!control || !handler) return false;
  auto state = std::make_shared<TControlHookState>();
  state->Handler = std::move(handler);
  state->Old = control->WindowProc;
  control->WindowProc = TControlHook{std::make_shared<TChainLink>(state)};
  state_ = std::move(state);
  control_ = control;
  attached_ = true;
  return true;
}

void TControlSubclass::Detach() {
  if (!attached_) return;
  attached_ = false;
  state_->Handler = nullptr;
  if (!state_->Linked) return;  // gone with the control
  const TControlHook* top = control_->WindowProc.target<TControlHook>();
  if (top && top->Link->State == state_) control_->WindowProc = state_->Old;
}

bool TControlSubclass::Attached() const {
  return attached_ && state_->Linked;
}

void TControlSubclass::CallOld(TMessage& message) const {
  const std::shared_ptr<TControlHookState> keep = state_;  // the old handler may detach us
  if (keep && keep->Old) keep->Old(message);
}
