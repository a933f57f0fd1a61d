#include "engine_win/skin_manage.h"

#include <algorithm>
#include <climits>

#include "engine_win/skin_data.h"
#include "framework/menus.h"
#include "format/text.h"

TSkinManage* SkinManager = nullptr;

namespace {

HHOOK g_hook = nullptr;
bool g_hook_finished = false;
TSkinnerFactory* g_factory = nullptr;

}  // namespace

void SetSkinnerFactory(TSkinnerFactory* factory) {
  g_factory = factory;
}
TSkinnerFactory* SkinnerFactory() {
  return g_factory;
}

std::string WindowClassName(HWND window) {
  char name[256] = {};
  int n = window ? GetClassNameA(window, name, sizeof name) : 0;
  return std::string(name, static_cast<size_t>(std::max(n, 0)));
}

TWinControl* FormOfWindow(HWND window) {
  if (!window) return nullptr;
  if (Application) {
    for (TCustomForm* f : Application->Forms())
      if (f && f->HandleAllocated() && f->Handle() == window) return f;
  }
  TControl* c = FindControl(window);
  return c && c->Is<TWinControl>() ? static_cast<TWinControl*>(c) : nullptr;
}

LRESULT CALLBACK SkinHookProc(int code, WPARAM wparam, LPARAM lparam) {
  TSkinManage* m = SkinManager;
  if (!g_hook_finished && code >= 0 && m && m->RunState != rsDestroying) {
    HWND window = reinterpret_cast<HWND>(wparam);
    // Nothing may escape through the system's hook chain.
    try {
      switch (code) {
        case HCBT_CREATEWND: {
          const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
          const std::string cls = WindowClassName(window);
          if (EqualsIgnoreCase(cls, "ScrollBar") && (cs->style & SBS_SIZEGRIP) && cs->hwndParent) {
            if (TFormSkinner* s = m->FindFormSkinner(cs->hwndParent)) s->TakeSizeGrip(window);
          }
          if (!(cs->style & WS_CHILD) && cls == "#32768") m->SkinPopup(window);
          if (cs->dwExStyle & WS_EX_MDICHILD) m->SkinWindow(window);
          break;
        }
        case HCBT_DESTROYWND:
          m->UnskinPopup(window);
          m->WindowDestroyed(window);
          break;
        case HCBT_ACTIVATE:
          if (m->RunState == rsIdle) m->RunState = rsRunning;
          m->SkinWindow(window);
          break;
        default:
          break;
      }
    } catch (...) {
    }
  }
  return CallNextHookEx(g_hook, code, wparam, lparam);
}

TSkinManage::TSkinManage() : TComponent(Application) {
  timer_ = new TTimer(this);
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TObject*) { RunAction(); };
}

TSkinManage::~TSkinManage() {
  RunState = rsDestroying;
  SkinningOn = false;
  timer_->SetEnabled(false);
  while (!forms_.empty()) {
    std::unique_ptr<TFormSkinner> s = std::move(forms_.back());
    forms_.pop_back();
    if (s && IsWindow(s->Window())) s->Unskin();
  }
  popups_.clear();
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_hook_finished = true;
  if (SkinManager == this) SkinManager = nullptr;
}

TSkinManage* EnsureSkinManager() {
  if (!SkinManager) SkinManager = Create<TSkinManage>();
  return SkinManager;
}

void FreeSkinManager() {
  if (SkinManager) SkinManager->Free();
  SkinManager = nullptr;
}

void TSkinManage::InstallHook() {
  if (g_hook) return;
  g_hook_finished = false;
  g_hook = SetWindowsHookExA(WH_CBT, SkinHookProc, nullptr, GetCurrentThreadId());
}

bool TSkinManage::HookInstalled() const {
  return g_hook != nullptr;
}

void TSkinManage::RegisterSkinData(TSkinData* d) {
  if (!d || IsRegistered(d)) return;
  data_list_.push_back(d);
  if (!MainSkinData && d->SkinFormtype() == sfMainform) MainSkinData = d;
}

bool TSkinManage::IsRegistered(const TSkinData* d) const {
  return std::find(data_list_.begin(), data_list_.end(), d) != data_list_.end();
}

void TSkinManage::UnregisterSkinData(TSkinData* d) {
  if (!IsRegistered(d)) return;
  data_list_.erase(std::remove(data_list_.begin(), data_list_.end(), d), data_list_.end());
  if (ActionTarget == d) {
    ActionTarget = nullptr;
    PendingAction = saNone;
    timer_->SetEnabled(false);
  }
  if (MainSkinData == d) {
    MainSkinData = nullptr;
    for (TSkinData* other : data_list_) {
      if (other->SkinFormtype() == sfMainform) {
        MainSkinData = other;
        break;
      }
    }
  }
  // Nothing may go on drawing with the departing component.
  for (;;) {
    auto it = std::find_if(forms_.begin(), forms_.end(),
                           [d](const auto& s) { return s && s->SkinData() == d; });
    if (it == forms_.end()) break;
    UnskinAndFree(static_cast<size_t>(it - forms_.begin()));
  }
  std::vector<std::unique_ptr<TPopupSkinner>> gone;
  for (auto& p : popups_)
    if (p && p->SkinData() == d) gone.push_back(std::move(p));
  popups_.erase(std::remove(popups_.begin(), popups_.end(), nullptr), popups_.end());
  if (popups_.empty()) PopupKind = 0;
}

void TSkinManage::RequestAction(int kind, unsigned delay_ms) {
  PendingAction = kind;
  timer_->SetInterval(delay_ms);
  const TActionStart start = StartAction(kind, RunState);
  if (start.StartTimer) {
    timer_->SetEnabled(false);  // a new request restarts the delay
    timer_->SetEnabled(true);
  } else if (start.SetsSkinning) {
    SkinningOn = start.SkinningValue;
  }
}

TSkinData* TSkinManage::ChooseFor(HWND window, const std::string& class_name) const {
  std::vector<TSkinDataFacts> facts;
  facts.reserve(data_list_.size());
  for (TSkinData* d : data_list_) {
    TSkinDataFacts f;
    f.FormType = d->SkinFormtype();
    f.SkinEmpty = d->SkinEmpty();
    TComponent* owner = d->Owner();
    if (owner && owner->Is<TWinControl>()) {
      auto* c = static_cast<TWinControl*>(owner);
      f.OwnerIsWindow = c->HandleAllocated() && c->Handle() == window;
    }
    facts.push_back(f);
  }
  const int i = ChooseSkinData(facts, class_name);
  return i < 0 ? nullptr : data_list_[static_cast<size_t>(i)];
}

TSkinVerdict TSkinManage::Judge(HWND window, TWindowFacts& f, TWinControl*& form) {
  f.ClassName = WindowClassName(window);
  f.Style = static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_STYLE));
  f.ExStyle = static_cast<uint32_t>(GetWindowLongPtrA(window, GWL_EXSTYLE));
  HWND parent = GetAncestor(window, GA_PARENT);
  if (parent && parent != GetDesktopWindow()) f.ParentClass = WindowClassName(parent);
  form = FormOfWindow(window);
  f.HasForm = form != nullptr;
  if (form) f.FormTag = static_cast<int>(std::clamp<intptr_t>(form->Tag(), INT_MIN, INT_MAX));
  f.OwnModule = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)) ==
                GetModuleHandleA(nullptr);
  RECT r{};
  f.HasArea = GetWindowRect(window, &r) && r.right > r.left && r.bottom > r.top;
  f.Skinned = FindFormSkinner(window) || SendMessageA(window, kSkmIsSkinned, 0, 0) == 1;

  TJudgeContext ctx;
  ctx.SkinningOn = SkinningOn;
  ctx.SkinAllPass = SkinAllPass;
  ctx.HasMainSkinData = MainSkinData != nullptr;
  if (TSkinData* main = MainSkinData) {
    ctx.MainOptions = main->Options();
    ctx.Filter = [main, window](std::string_view cls, bool do_skin) {
      return main->FormFilter(window, std::string(cls), do_skin);
    };
  }
  return JudgeWindow(f, ctx);
}

bool TSkinManage::SkinWindow(HWND window) {
  last_judged_ = window;
  if (!SkinningOn) {
    last_verdict_ = TSkinVerdict::SkinningOff;
    return false;
  }
  PurgeForms();
  if (!window || !IsWindow(window)) return false;
  TWindowFacts f;
  TWinControl* form = nullptr;
  last_verdict_ = Judge(window, f, form);
  if (last_verdict_ != TSkinVerdict::Skin) return false;
  // The filter may have run application code: check again.
  if (!IsWindow(window) || FindFormSkinner(window)) return false;
  TSkinData* d = ChooseFor(window, f.ClassName);
  if (!d || d->SkinEmpty() || !g_factory) return false;
  std::unique_ptr<TFormSkinner> s = g_factory->MakeFormSkinner(window, form, d, f.ClassName);
  if (!s) return false;
  forms_.push_back(std::move(s));
  PostMessageA(window, kSkmSetup, 0, 1000);
  return true;
}

void TSkinManage::SkinFormIfShown(TCustomForm* form) {
  if (!form || !form->HandleAllocated()) return;
  HWND h = form->Handle();
  if (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) return;
  // A hidden form is skinned by the hook when showing it activates it; one
  // that is active already is not activated again, so it is skinned now.
  if (IsWindowVisible(h) || GetActiveWindow() == h) SkinWindow(h);
}

void TSkinManage::TakeUpActiveWindow() {
  HWND active = GetActiveWindow();
  if (!active) return;
  if (RunState == rsIdle) RunState = rsRunning;
  SkinWindow(active);
}

TFormSkinner* TSkinManage::FindFormSkinner(HWND window) const {
  for (const auto& s : forms_)
    if (s && s->Window() == window) return s.get();
  return nullptr;
}

std::unique_ptr<TFormSkinner> TSkinManage::RemoveFormSkinner(HWND window) {
  if (RunState == rsDestroying) return nullptr;
  auto it = std::find_if(forms_.begin(), forms_.end(),
                         [window](const auto& s) { return s && s->Window() == window; });
  if (it == forms_.end()) return nullptr;
  std::unique_ptr<TFormSkinner> s = std::move(*it);
  forms_.erase(it);
  return s;
}

void TSkinManage::PurgeForms() {
  std::vector<std::unique_ptr<TFormSkinner>> gone;
  for (auto& s : forms_)
    if (s && (s->Dead() || !IsWindow(s->Window()))) gone.push_back(std::move(s));
  forms_.erase(std::remove(forms_.begin(), forms_.end(), nullptr), forms_.end());
  // `gone` frees them here, outside the list.
}

void TSkinManage::WindowDestroyed(HWND window) {
  if (RunState == rsDestroying) return;
  // The skinner of a dying window goes with it; it must not outlive it in
  // the list.
  std::unique_ptr<TFormSkinner> s = RemoveFormSkinner(window);
}

void TSkinManage::UnskinAndFree(size_t index) {
  std::unique_ptr<TFormSkinner> s = std::move(forms_[index]);
  forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(index));
  if (!s) return;
  HWND h = s->Window();
  if (IsWindow(h)) {
    s->Unskin();
    RedrawWindow(h, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

namespace {

// The window a menu that is being opened belongs to: the form owning a
// framework popup menu (whose window a utility window owns), else the
// window tracking the menu, else the active window.
HWND MenuOwnerWindow() {
  if (TPopupMenu* menu = TPopupMenu::Showing()) {
    for (TComponent* c = menu->Owner(); c; c = c->Owner()) {
      if (!c->Is<TCustomForm>()) continue;
      auto* form = static_cast<TCustomForm*>(c);
      if (form->HandleAllocated()) return form->Handle();
      break;
    }
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && info.hwndMenuOwner)
    return info.hwndMenuOwner;
  return GetActiveWindow();
}

}  // namespace

bool TSkinManage::MenuOwnerRefused() {
  HWND owner = MenuOwnerWindow();
  if (!owner || !IsWindow(owner)) return false;
  if (HWND root = GetAncestor(owner, GA_ROOT)) owner = root;
  if (FindFormSkinner(owner)) return false;
  TWindowFacts f;
  TWinControl* form = nullptr;
  switch (Judge(owner, f, form)) {
    case TSkinVerdict::FixedTag:
    case TSkinVerdict::ExcludedClass:
    case TSkinVerdict::Filtered:
      return true;
    default:
      return false;
  }
}

void TSkinManage::SkinPopup(HWND window) {
  if (!SkinningOn || IsPopupSkinned(window)) return;
  if (SendMessageA(window, kSkmIsSkinned, 0, 0) == 1) return;
  // A window the skin is kept off keeps the system's look in its menus too.
  if (MenuOwnerRefused()) return;
  TSkinData* d = ChooseFor(window, WindowClassName(window));
  if (!d || d->SkinEmpty()) return;
  if (!PopupKindAllowed(PopupKind, d->SkinControls())) return;
  if (!g_factory) return;
  std::unique_ptr<TPopupSkinner> p = g_factory->MakePopupSkinner(window, d, PopupKind);
  if (p) popups_.push_back(std::move(p));
}

bool TSkinManage::UnskinPopup(HWND window) {
  auto it = std::find_if(popups_.begin(), popups_.end(),
                         [window](const auto& p) { return p && p->Window() == window; });
  if (it == popups_.end()) return false;
  std::unique_ptr<TPopupSkinner> p = std::move(*it);
  popups_.erase(it);
  if (popups_.empty()) PopupKind = 0;
  return true;
}

bool TSkinManage::IsPopupSkinned(HWND window) const {
  return std::any_of(popups_.begin(), popups_.end(),
                     [window](const auto& p) { return p && p->Window() == window; });
}

void TSkinManage::BindPopupMenu(HMENU menu) {
  // A menu already shown by a skinner keeps it: drawing its entries again
  // must not take a cascade's newer window.
  if (!menu || std::any_of(popups_.begin(), popups_.end(),
                           [menu](const auto& p) { return p && p->Menu() == menu; }))
    return;
  for (auto it = popups_.rbegin(); it != popups_.rend(); ++it) {
    if (*it && !(*it)->Menu()) {
      (*it)->BindMenu(menu);
      return;
    }
  }
}

HBITMAP TSkinManage::PopupBitmap(HMENU menu) const {
  for (const auto& p : popups_)
    if (p && menu && p->Menu() == menu) return p->Image();
  return nullptr;
}

POINT TSkinManage::PopupClientOffset(HMENU menu) const {
  for (const auto& p : popups_)
    if (p && menu && p->Menu() == menu) return p->ClientOffset();
  return {0, 0};
}

void TSkinManage::SetMdiMaximized(bool maximised) {
  if (maximised == MdiMaximized) return;
  MdiMaximized = maximised;
  if (MainSkinData && MainSkinData->Options().Has(xoMDIChildBorder)) return;
  for (size_t i = 0; i < forms_.size(); ++i)
    if (forms_[i] && forms_[i]->IsMdiChild()) forms_[i]->MdiMaximizedChanged(maximised);
}

void TSkinManage::DropTitleButtons() {
  for (const auto& s : forms_)
    if (s && ActionTarget && s->SkinData() == ActionTarget) s->DropTitleButtons();
}

namespace {

// Whether a frame skinner draws with that component.
auto UsesData(const TSkinData* d) {
  return [d](const std::unique_ptr<TFormSkinner>& s) { return s && s->SkinData() == d; };
}

std::vector<TCustomForm*> ApplicationForms() {
  return Application ? Application->Forms() : std::vector<TCustomForm*>{};
}

}  // namespace

void TSkinManage::SkinOwnerForm(TSkinData* target) {
  SkinningOn = true;
  SkinAllPass = true;
  const std::vector<TCustomForm*> forms = ApplicationForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    if (*it == target->Owner()) {
      SkinFormIfShown(*it);
      break;
    }
  }
  SkinAllPass = false;
}

void TSkinManage::UnskinOwnerForm(TSkinData* target) {
  SkinningOn = false;
  PurgeForms();
  auto it = std::find_if(forms_.rbegin(), forms_.rend(), UsesData(target));
  if (it != forms_.rend()) UnskinAndFree(static_cast<size_t>(std::distance(it, forms_.rend()) - 1));
}

void TSkinManage::ReloadOwnerForm(TSkinData* target) {
  PurgeForms();
  auto it = std::find_if(forms_.begin(), forms_.end(), UsesData(target));
  if (it != forms_.end()) {
    (*it)->DropTitleButtons();
    (*it)->Reload();
  }
}

void TSkinManage::SkinAllForms() {
  const std::vector<TCustomForm*> forms = ApplicationForms();
  SkinningOn = true;
  SkinAllPass = true;
  PurgeForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it)
    SkinFormIfShown(*it);
  SkinAllPass = false;
}

void TSkinManage::UnskinAllForms() {
  SkinningOn = false;
  PurgeForms();
  while (!forms_.empty())
    UnskinAndFree(0);
}

void TSkinManage::ReloadFormsOf(TSkinData* target) {
  PurgeForms();
  std::vector<TFormSkinner*> using_target;
  for (const auto& s : forms_)
    if (UsesData(target)(s)) using_target.push_back(s.get());
  for (TFormSkinner* s : using_target)
    s->DropTitleButtons();
  // Only the skinners still listed after that are reloaded.
  for (TFormSkinner* s : using_target)
    if (std::any_of(forms_.begin(), forms_.end(), [s](const auto& f) { return f.get() == s; }))
      s->Reload();
}

void TSkinManage::RunAction() {
  timer_->SetEnabled(false);
  TSkinData* target = ActionTarget;
  if (!target) return;
  const int kind = PendingAction;
  PendingAction = saNone;
  // A component of one form acts on that form only.
  const bool owner_only = target->SkinFormtype() == sfOnlyThisForm;
  switch (kind) {
    case saSkinAll:
      owner_only ? SkinOwnerForm(target) : SkinAllForms();
      break;
    case saUnskinAll:
      owner_only ? UnskinOwnerForm(target) : UnskinAllForms();
      break;
    case saReload:
      owner_only ? ReloadOwnerForm(target) : ReloadFormsOf(target);
      break;
    default:
      break;
  }
  ActionTarget = nullptr;
  if (IsRegistered(target)) target->DoSkinChanged();
}
