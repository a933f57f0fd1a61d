// The form skinner and its component: the switches it reads from TSkinData
// while the window is skinned (SkinControls, Options and MenuUpdate may change
// at any time), what a skin change does to the form (new face colour for the
// form and what it owns, popup menus owner drawn again, the frame keeping the
// client size, the form's controls aligned again), and the face colour the
// statics and buttons of a bare window (a dialog) sit on.
#include <algorithm>

#include "engine_controls/skin_scrollbar.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form.h"
#include "engine_win/skin_menu_item.h"
#include "framework/forms.h"
#include "framework/grids.h"
#include "framework/menus.h"

// ---- a control's window re-created ------------------------------------------------

// The scroll-bar skinner of the child in wparam let go of its old window; a
// fresh one (a list view's again for a list view) covers the new window.
LRESULT TWinSkinForm::OnReskin(WPARAM wparam, LPARAM) {
  if (controls_) ReskinScrollControl(*controls_, reinterpret_cast<HWND>(wparam));
  return 0;
}

// ---- the component's switches ----------------------------------------------------

bool TWinSkinForm::MenuUpdate() const {
  return settings_.Data ? settings_.Data->MenuUpdate() : settings_.MenuUpdate;
}

void TWinSkinForm::SetMenuUpdate(bool on) {
  if (settings_.Data)
    settings_.Data->SetMenuUpdate(on);
  else
    settings_.MenuUpdate = on;
}

bool TWinSkinForm::ToolbarBackground() const {
  return settings_.Data ? !settings_.Data->Options().Has(xoToolbarBK) : settings_.ToolbarBackground;
}

bool TWinSkinForm::ToolbarButtons() const {
  return settings_.Data ? !settings_.Data->Options().Has(xoToolbarButton)
                        : settings_.ToolbarButtons;
}

bool TWinSkinForm::MdiChildBorder() const {
  return settings_.Data ? settings_.Data->Options().Has(xoMDIChildBorder)
                        : settings_.MdiChildBorder;
}

bool TWinSkinForm::MdiScrollbar() const {
  return settings_.Data ? settings_.Data->Options().Has(xoMDIScrollbar) : settings_.MdiScrollbar;
}

bool TWinSkinForm::PopupMenusOn() const {
  return settings_.Data ? settings_.Data->SkinControls().Has(xcPopupMenu) : settings_.PopupMenus;
}

int TWinSkinForm::DisableTag() const {
  return settings_.Data ? settings_.Data->DisableTag() : settings_.DisableTag;
}

bool TWinSkinForm::NcPaintEnabled() const {
  return settings_.Data ? settings_.Data->NcPaintEnabled : nc_paint_enabled_;
}

// ---- popup menus -------------------------------------------------------------------

namespace {

constexpr int kOwnedDepth = 8;  // forms owning forms, as deep as it is sensible

// Every popup menu owned by `owner` and by the forms it owns.
template <class F>
void ForEachPopup(TComponent* owner, int depth, const F& f) {
  if (!owner || depth > kOwnedDepth) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* c = owner->Components(i);
    if (auto* popup = dynamic_cast<TPopupMenu*>(c)) f(*popup);
    if (dynamic_cast<TCustomForm*>(c)) ForEachPopup(c, depth + 1, f);
  }
}

}  // namespace

void TWinSkinForm::OwnerDrawPopupMenus(TComponent* container) {
  if (!PopupMenusOn()) return;
  // A rich-edit form of another library draws its own popup menus.
  if (form_ && form_->ClassName() == "TwwRichEditForm") return;
  const int disable = DisableTag();
  ForEachPopup(container, 0, [&](TPopupMenu& popup) {
    if (popup.Tag() == disable) return;
    const bool ours = std::find(owner_drawn_popups_.begin(), owner_drawn_popups_.end(), &popup) !=
                      owner_drawn_popups_.end();
    if (!ours && popup.OwnerDraw()) return;  // the application paints it
    // Its entries are painted from the skin (skin_menu_item.cpp).
    SetSkinHandlers(popup, skin_, TMenuMeasureKind::B, false);
    popup.SetOwnerDraw(true);
    if (popup.IsRightToLeft()) DropRightOrderFlag(popup.Handle());
    if (!ours) owner_drawn_popups_.push_back(&popup);
  });
}

void TWinSkinForm::RestorePopupMenus() {
  // Only menus still owned by the form are touched: a recorded one that was
  // freed meanwhile is never reached.
  if (form_)
    ForEachPopup(form_, 0, [&](TPopupMenu& popup) {
      if (std::find(owner_drawn_popups_.begin(), owner_drawn_popups_.end(), &popup) !=
          owner_drawn_popups_.end()) {
        ClearSkinHandlers(popup);
        popup.SetOwnerDraw(false);
      }
    });
  owner_drawn_popups_.clear();
}

// ---- a new skin ------------------------------------------------------------------

void TWinSkinForm::RecolourOwned(TComponent* owner, int depth) {
  if (!owner || depth > kOwnedDepth) return;
  const TColor face = skin_->Colours[kcButtonFace];
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* c = owner->Components(i);
    if (auto* form = dynamic_cast<TCustomForm*>(c)) {
      form->SetColor(face);
      RecolourOwned(form, depth + 1);
    } else if (auto* grid = dynamic_cast<TCustomGrid*>(c)) {
      grid->SetFixedColor(face);
    }
  }
}

// The framework aligns a form's controls when the form's outer size changes.
// A new frame can change the client area alone (a maximised window keeps its
// outer size), so the height goes one pixel up and back.
void TWinSkinForm::Relayout() {
  if (!form_ || IsIconic(handle_)) return;
  const int height = form_->Height();
  form_->SetHeight(height + 1);
  form_->SetHeight(height);
}

void TWinSkinForm::Recolour() {
  if (face_brush_) DeleteObject(face_brush_);
  face_brush_ = nullptr;
  if (form_) {
    form_->SetColor(skin_->Colours[kcButtonFace]);
    RecolourOwned(form_, 0);
  }
  if (!settings_.FrameOn) return;
  if (form_) OwnerDrawPopupMenus(form_);
  ResizeForFrame();
  BuildRegion(true);
  Relayout();
}

// ---- a bare window's children ------------------------------------------------------

HBRUSH TWinSkinForm::FaceBrush() {
  if (!face_brush_) face_brush_ = CreateSolidBrush(ToColorRef(skin_->Colours[kcButtonFace]));
  return face_brush_;
}

// Statics, check boxes and radio buttons fill their background with the
// brush answered here, push buttons their surroundings. The text keeps a
// colour the window's own procedure chose; the platform's default window
// text becomes the skin's (a dark face would hide it).
LRESULT TWinSkinForm::OnControlColour(UINT msg, WPARAM wparam, LPARAM lparam) {
  const LRESULT r = Default(msg, wparam, lparam);
  HDC dc = reinterpret_cast<HDC>(wparam);
  if (form_ || !dc) return r;  // a framework form colours its own controls
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, ToColorRef(skin_->Colours[kcButtonFace]));
  if (GetTextColor(dc) == GetSysColor(COLOR_WINDOWTEXT))
    SetTextColor(dc, ToColorRef(skin_->Colours[kcWindowText]));
  HBRUSH brush = FaceBrush();
  return brush ? reinterpret_cast<LRESULT>(brush) : r;
}
