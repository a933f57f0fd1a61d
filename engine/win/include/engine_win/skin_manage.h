// TSkinManage: the one engine-wide coordinator. It watches window creation,
// activation and destruction through a thread-local CBT hook, decides which
// top-level windows get a frame skinner, keeps the lists of frame and popup
// skinners, knows every TSkinData, and runs delayed skin / unskin / reload
// actions on a timer. It owns no skin data itself.
//
// The skinners are made through a TSkinnerFactory; the frame and popup
// skinners install theirs with SetSkinnerFactory.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/skin_rules.h"
#include "engine_win/skin_messages.h"
#include "framework/forms.h"

class TSkinData;

// What the manager asks of a frame skinner. The manager owns its skinners:
// it frees one when its window is being destroyed (before WM_DESTROY reaches
// the window), when its component goes, and when unskinning; the destructor
// must leave the window working (its own window procedure back).
class TFormSkinner {
 public:
  virtual ~TFormSkinner() = default;
  virtual HWND Window() const = 0;
  virtual TSkinData* SkinData() const = 0;
  // True once the skinner is finished with its window; the manager frees it.
  virtual bool Dead() const { return false; }
  // Gives the window its own look back (window procedure, region, controls).
  virtual void Unskin() = 0;
  virtual void DropTitleButtons() = 0;
  // Rebuilds the title buttons and re-applies colours and controls.
  virtual void Reload() = 0;
  // A size grip created as a child of this window.
  virtual void TakeSizeGrip(HWND grip) = 0;
  virtual bool IsMdiChild() const { return false; }
  // The MDI frame's child was maximised (true) or restored.
  virtual void MdiMaximizedChanged(bool maximised) { (void)maximised; }
};

// What the manager asks of a popup-menu skinner.
class TPopupSkinner {
 public:
  virtual ~TPopupSkinner() = default;
  virtual HWND Window() const = 0;
  virtual TSkinData* SkinData() const = 0;
  virtual HMENU Menu() const = 0;
  virtual void BindMenu(HMENU menu) = 0;
  virtual HBITMAP Image() const = 0;
  // Where the menu's client area (its entries' coordinates) sits in Image.
  virtual POINT ClientOffset() const { return {0, 0}; }
};

// Makes skinners for windows the manager decided to skin. `form` is the
// framework form (or control) behind the window, or null for a bare window.
// Returning null leaves the window alone.
class TSkinnerFactory {
 public:
  virtual ~TSkinnerFactory() = default;
  virtual std::unique_ptr<TFormSkinner> MakeFormSkinner(HWND window, TWinControl* form,
                                                        TSkinData* data,
                                                        const std::string& class_name) = 0;
  virtual std::unique_ptr<TPopupSkinner> MakePopupSkinner(HWND window, TSkinData* data,
                                                          int kind) = 0;
};
// Not owned; null (the default) makes no skinners.
void SetSkinnerFactory(TSkinnerFactory* factory);
TSkinnerFactory* SkinnerFactory();

enum TRunState : int { rsIdle = 0, rsRunning = 1, rsDestroying = 4 };
enum TSkinAction : int { saNone = 0, saSkinAll = 1, saUnskinAll = 2, saReload = 3 };

class TSkinManage : public TComponent {
  MV_CLASS(TSkinManage, TComponent)
 public:
  TSkinManage();
  ~TSkinManage() override;

  void InstallHook();
  bool HookInstalled() const;
  void RegisterSkinData(TSkinData* d);
  // Removes d; every skinner using it is unskinned and freed, the main
  // component re-elected and a pending action for it dropped.
  void UnregisterSkinData(TSkinData* d);
  bool IsRegistered(const TSkinData* d) const;
  void RequestAction(int kind, unsigned delay_ms);
  // Skins one window if it qualifies; true when a frame skinner was made.
  bool SkinWindow(HWND window);
  // Skins a top-level form that is shown, or hidden but active (showing it
  // will not activate it again).
  void SkinFormIfShown(TCustomForm* form);
  // The hook has just been installed: the thread's active window, if any,
  // was activated before the hook could see it. Handled as the hook handles
  // an activation (the manager runs, the window is judged), since showing
  // that window later activates nothing.
  void TakeUpActiveWindow();
  TFormSkinner* FindFormSkinner(HWND window) const;
  // Takes the frame skinner of that window out of the list (null while the
  // manager is being destroyed or when there is none).
  std::unique_ptr<TFormSkinner> RemoveFormSkinner(HWND window);
  // Frees the skinners that are dead or whose window no longer exists.
  void PurgeForms();
  void SkinPopup(HWND window);
  bool UnskinPopup(HWND window);
  bool IsPopupSkinned(HWND window) const;
  void BindPopupMenu(HMENU menu);
  HBITMAP PopupBitmap(HMENU menu) const;
  // The client offset of the popup skinner bound to that menu ((0, 0) without).
  POINT PopupClientOffset(HMENU menu) const;
  void SetMdiMaximized(bool maximised);
  void DropTitleButtons();
  // The timer tick: carries out the pending action for ActionTarget.
  void RunAction();
  // Why SkinWindow left the last window it judged alone (for diagnostics).
  TSkinVerdict LastVerdict() const { return last_verdict_; }
  HWND LastJudged() const { return last_judged_; }

  const std::vector<std::unique_ptr<TFormSkinner>>& SkinnedForms() const { return forms_; }
  const std::vector<std::unique_ptr<TPopupSkinner>>& PopupSkinners() const { return popups_; }
  const std::vector<TSkinData*>& SkinDataList() const { return data_list_; }
  TTimer* ActionTimer() const { return timer_; }

  bool SkinningOn = false;
  bool SkinAllPass = false;
  int RunState = rsIdle;
  int PopupKind = 0;
  bool MdiMaximized = false;
  HWND MdiClient = nullptr;
  TWinControl* MdiFrameControl = nullptr;
  int PendingAction = saNone;
  TSkinData* ActionTarget = nullptr;
  TSkinData* MainSkinData = nullptr;

 private:
  // The facts of `window` and the verdict on skinning it as a form.
  TSkinVerdict Judge(HWND window, TWindowFacts& f, TWinControl*& form);
  // Whether the window a menu being opened belongs to is one the skin is
  // kept off (the window filter, the fixed tag, an excluded class).
  bool MenuOwnerRefused();
  friend LRESULT CALLBACK SkinHookProc(int code, WPARAM wparam, LPARAM lparam);
  TSkinData* ChooseFor(HWND window, const std::string& class_name) const;
  void UnskinAndFree(size_t index);
  void WindowDestroyed(HWND window);
  // RunAction's pieces: for a component of one form (its owner form) and
  // for the others (every form).
  void SkinOwnerForm(TSkinData* target);
  void UnskinOwnerForm(TSkinData* target);
  void ReloadOwnerForm(TSkinData* target);
  void SkinAllForms();
  void UnskinAllForms();
  void ReloadFormsOf(TSkinData* target);

  TTimer* timer_ = nullptr;
  std::vector<std::unique_ptr<TFormSkinner>> forms_;
  std::vector<std::unique_ptr<TPopupSkinner>> popups_;
  std::vector<TSkinData*> data_list_;
  TSkinVerdict last_verdict_ = TSkinVerdict::Skin;
  HWND last_judged_ = nullptr;
};

// The single manager, or null.
extern TSkinManage* SkinManager;
// Creates the manager when there is none.
TSkinManage* EnsureSkinManager();
// Program end: every skinner is unskinned and freed, the hook removed.
void FreeSkinManager();

// The framework form or control behind a window: the application's form
// whose window it is, else the control stored in the window's property.
TWinControl* FormOfWindow(HWND window);
std::string WindowClassName(HWND window);
