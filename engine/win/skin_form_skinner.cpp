#include "engine_win/skin_form_skinner.h"

#include <memory>

#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_popup_menu.h"
#include "framework/forms.h"
#include "framework/imglist.h"
#include "framework/props.h"

namespace {

// The manager's view of a form skinner.
class TManagedFormSkinner : public TFormSkinner {
 public:
  TManagedFormSkinner(HWND window, TCustomForm* form, TSkinData* data,
                      const std::string& class_name)
      : data_(data),
        form_(window, form, &data->Content(), Settings(*data, window, form, class_name)) {
    if (form && data->OnBeforeSkinForm) data->OnBeforeSkinForm(data, window, class_name);
    // The menu entries are drawn from the skin; a scrolling form would move
    // its client area under them.
    if (form && data->SkinControls().Has(xcMenuItem)) SetPropFromText(form, "AutoScroll", "False");
    // The manager posts the set-up message once the skinner is listed.
    form_.Attach(false);
  }
  // Freed without Unskin: the window is being destroyed; only the window
  // procedure is given back.
  ~TManagedFormSkinner() override { form_.Release(); }
  HWND Window() const override { return form_.Handle(); }
  TSkinData* SkinData() const override { return data_; }
  bool Dead() const override { return form_.Dead(); }
  void Unskin() override { form_.Detach(); }
  void DropTitleButtons() override { form_.DropTitleButtons(); }
  void Reload() override { form_.Reload(&data_->Content()); }
  // A size grip made inside the skinned window: offered to the control pass.
  void TakeSizeGrip(HWND grip) override {
    if (TSkinControlList* controls = form_.Controls()) controls->SkinForeignWindow(grip);
  }
  bool IsMdiChild() const override {
    return (GetWindowLongPtrA(form_.Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  }
  void MdiMaximizedChanged(bool maximised) override { form_.MdiMaximizedChanged(maximised); }
  TWinSkinForm& Form() { return form_; }

 private:
  static TFormSkinSettings Settings(TSkinData& d, HWND window, TCustomForm* form,
                                    const std::string& class_name) {
    TFormSkinSettings s;
    TSkinData* data = &d;
    s.OnSkinned = [data, window, form, class_name] {
      // The component may be gone while its last window is still unskinned.
      if (!SkinManager || !SkinManager->IsRegistered(data) || !data->OnAfterSkinForm) return;
      data->OnAfterSkinForm(form, window, class_name);
    };
    // SkinControls, Options and MenuUpdate are read from the component
    // itself while the window is skinned.
    s.Data = &d;
    s.MenuGlyphs = d.MenuGlyphs();
    return s;
  }
  TSkinData* data_;
  TWinSkinForm form_;
};

class TFormSkinnerFactory : public TSkinnerFactory {
 public:
  std::unique_ptr<TFormSkinner> MakeFormSkinner(HWND window, TWinControl* control, TSkinData* data,
                                                const std::string& class_name) override {
    if (!data || data->SkinEmpty()) return nullptr;
    auto* form = dynamic_cast<TCustomForm*>(control);
    return std::make_unique<TManagedFormSkinner>(window, form, data, class_name);
  }
  // Every popup-menu window the manager lets through wears the skin.
  std::unique_ptr<TPopupSkinner> MakePopupSkinner(HWND window, TSkinData* data, int) override {
    if (!data || data->SkinEmpty()) return nullptr;
    auto p = std::make_unique<TWinSkinPopMenu>();
    if (!p->Attach(window, data, &data->Content(), nullptr)) return nullptr;
    return p;
  }
};

TFormSkinnerFactory g_factory;

}  // namespace

void InstallFormSkinnerFactory() {
  SetSkinnerFactory(&g_factory);
}

TWinSkinForm* ManagedFormSkinner(HWND window) {
  if (!SkinManager) return nullptr;
  auto* s = dynamic_cast<TManagedFormSkinner*>(SkinManager->FindFormSkinner(window));
  return s ? &s->Form() : nullptr;
}
