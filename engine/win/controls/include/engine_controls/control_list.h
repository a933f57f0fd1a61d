// The control skinners of one skinned form: which skinner each control gets
// (the framework controls of a form, the bare child windows of a dialog),
// the list of skinners made, and telling them when the skin changes or the
// form lets go. The form skinner holds one of these.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/control_rules.h"
#include "engine_controls/skin_control.h"
#include "engine_win/gdi_paint.h"

class TComponent;
class TControl;
class TMenuItem;
struct TSkinBitmap;
class TSkinData;
class TToolBar;
class TWinControl;

// What the control pass asks of the form skinner hosting it.
class TControlHost {
 public:
  virtual ~TControlHost() = default;
  // Tool bars wearing the skin: the bar's custom-draw painters.
  virtual void InstallToolbarPainters(TToolBar* bar) { (void)bar; }
  // A menu's entries drawn from the skin (a tool button's, a tool bar's, the
  // popup menus a container owns).
  virtual void OwnerDrawMenuItem(TMenuItem* item) { (void)item; }
  virtual void OwnerDrawPopupMenus(TComponent* container) { (void)container; }
  // The skinned form's window (skinners post their requests to it).
  virtual HWND HostWindow() const { return nullptr; }
};

// Makes the skinner of one family; null for a family not built.
using TSkinnerMaker = TSkinControl* (*)(TComponent* owner, const TSkinnerChoice& choice);
// Lets a family be made by the control pass (the families register
// themselves in control_families.cpp).
TSkinnerMaker FindSkinnerMaker(TSkinnerKind kind);

class TSkinControlList {
 public:
  // `data` must outlive the list.
  TSkinControlList(TSkinData* data, TControlHost* host = nullptr);
  ~TSkinControlList();  // detaches and frees every skinner
  TSkinControlList(const TSkinControlList&) = delete;
  TSkinControlList& operator=(const TSkinControlList&) = delete;

  // --- The control pass ---
  // Every control of a framework form (owned components, then the tab
  // order), after freeing the skinners whose windows died.
  void SkinFormControls(TWinControl* form);
  void SkinComponents(TComponent* container);
  void SkinChildControls(TWinControl* parent);
  void SkinControl(TControl* control, TComponent* container);
  // The "ClassName=keyword" rows; true when the class is listed.
  bool SkinByKeyword(const std::string& upper_class, TControl* control);
  // Every child window (WS_CHILD) of a window without framework controls.
  void SkinChildWindows(HWND parent);
  void SkinForeignWindow(HWND window);
  static bool HasScrollBars(TControl* control);

  // --- Hosting ---
  // Adds without duplicates.
  void Add(TSkinControl* skinner);
  void Remove(TSkinControl* skinner);
  TSkinControl* Find(HWND window) const;
  TSkinControl* FindControl(const TControl* control) const;
  // Frees the skinners whose window was destroyed.
  void Purge();
  // Detaches (those whose window lives) and frees every skinner.
  void DetachAll();
  // The skin was replaced or reloaded.
  void SkinChanged();
  const std::vector<TSkinControl*>& Items() const { return items_; }

  TSkinData* Data() const { return data_; }
  // The form skinner's window, or null without a host.
  HWND HostWindow() const { return host_ ? host_->HostWindow() : nullptr; }
  TPaintBuffer* Canvas() { return &canvas_; }
  // The skin bitmap as a GDI bitmap, converted once per skin.
  const TNativeBitmap& Native(const TSkinBitmap& bitmap);

 private:
  // Makes and attaches a skinner; null when the family is not built or the
  // control is already skinned.
  TSkinControl* Attach(const TSkinnerChoice& choice, TControl* control);
  TSkinControl* AttachBare(const TSkinnerChoice& choice, HWND window);
  void RunChoice(const TSkinnerChoice& choice, TControl* control, TComponent* container);
  void SkinGroupChildren(TWinControl* group, TSkinnerKind kind, const std::string& upper_class,
                         int obj_kind);
  void SkinForeignChildren(TWinControl* parent);
  // The foreign child windows of every container of the form.
  void SkinForeignWindowsUnder(TWinControl* parent, int depth);
  TControlFacts FactsOf(TControl* control, const std::string& upper_class) const;
  TSkinControlTypes Gates() const;

  TSkinData* data_;
  TControlHost* host_;
  TPaintBuffer canvas_;
  std::vector<TSkinControl*> items_;
  std::vector<TSkinControl*> owned_;  // bare-window skinners, freed by the list
  std::map<const void*, TNativeBitmap> natives_;
  bool detaching_ = false;
};
