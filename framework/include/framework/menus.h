// Menus: a tree of TMenuItem objects mirrored into native menus. Each item
// has a command number; WM_COMMAND, WM_DRAWITEM and WM_MEASUREITEM that a
// native menu sends to a framework window are routed to the item by it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/controls.h"

class TMenu;
class TCustomImageList;

// A short cut: a virtual key with these modifier bits.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+S", "Shift+F5", "Alt+Del"; empty for none.
std::string ShortCutToText(TShortCut sc);
// The inverse of ShortCutToText, ignoring case; 0 when not understood.
TShortCut TextToShortCut(const std::string& text);
// The accelerator character of a caption ("&File" -> 'F', "&&" is a literal
// ampersand); 0 when none.
char GetHotkey(const std::string& caption);
// The caption without accelerator marks ("&&" becomes "&").
std::string StripHotkey(const std::string& caption);

using TMenuDrawItemEvent =
    std::function<void(TObject* sender, TCanvas& canvas, const RECT& rect, bool selected)>;
using TMenuMeasureItemEvent =
    std::function<void(TObject* sender, TCanvas& canvas, int& width, int& height)>;

class TMenuItem : public TComponent {
  MV_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  static void PublishProperties(TClassInfo& info);

  // "-" makes a separator.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool IsLine() const { return caption_ == "-"; }
  // The number WM_COMMAND carries for this item (unique in the program).
  UINT Command() const { return command_; }
  // The native submenu of this item's children (created on first use).
  HMENU Handle();
  bool HasHandle() const { return handle_ != nullptr; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
  TMenuItem* Parent() const { return parent_; }
  int IndexOf(const TMenuItem* item) const;
  // Takes ownership of `item` (frees it with this item unless removed).
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Removes without freeing.
  void Remove(TMenuItem* item);
  void Delete(int index);  // removes and frees
  void Clear();            // frees all children
  // The menu this item belongs to, or null.
  TMenu* GetParentMenu() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  TShortCut ShortCut() const { return shortcut_; }
  void SetShortCut(TShortCut v);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int v);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }

  virtual void Click();
  // The default look, used when no handler is assigned.
  void DefaultMeasure(TCanvas& canvas, int& width, int& height);
  void DefaultDraw(TCanvas& canvas, const RECT& rect, UINT state);

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  // Routing targets of native menu messages.
  void MeasureItem(MEASUREITEMSTRUCT& mis);
  void DrawItem(const DRAWITEMSTRUCT& dis);

 private:
  friend class TMenu;
  bool IsTopLevel() const;
  bool OwnerDrawn() const;
  // Rebuilds the native entries of this item's submenu (or menu bar).
  void RebuildHandle();
  void Changed();
  void AppendTo(HMENU menu);
  std::string caption_;
  UINT command_ = 0;
  HMENU handle_ = nullptr;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
  bool enabled_ = true, visible_ = true, checked_ = false, radio_item_ = false, default_ = false;
  TShortCut shortcut_ = 0;
  int image_index_ = -1;
  std::string hint_;
};

class TMenu : public TComponent {
  MV_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  static void PublishProperties(TClassInfo& info);

  // The root item; its children are the menu's entries.
  TMenuItem* Items() const { return items_; }
  HMENU Handle() { return items_->Handle(); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  // Every item is drawn by OnDrawItem / the default look (MFT_OWNERDRAW).
  bool OwnerDraw() const { return owner_draw_; }
  void SetOwnerDraw(bool v);
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode v);
  bool IsRightToLeft() const { return bidi_mode_ != TBiDiMode::bdLeftToRight; }

  // The item with this command, or whose submenu has this handle.
  TMenuItem* FindItem(UINT command) const;
  TMenuItem* FindItemByHandle(HMENU submenu) const;
  bool DispatchCommand(UINT command);
  // Runs the enabled, visible item with this short cut.
  bool IsShortCut(WORD key, TShiftState shift);

 protected:
  friend class TMenuItem;
  virtual HMENU CreateMenuHandle() = 0;
  // The menu's native structure changed.
  virtual void MenuChanged() {}
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Re-creates the native entries of `item` and below (their look changed).
  static void RebuildAll(TMenuItem* item);
  TMenuItem* items_;
  TCustomImageList* images_ = nullptr;
  bool owner_draw_ = false;
  TBiDiMode bidi_mode_ = TBiDiMode::bdLeftToRight;
};

// A form's menu bar. A change to its items re-applies it to the form's
// window through CM_MENUCHANGED.
class TMainMenu : public TMenu {
  MV_CLASS(TMainMenu, TMenu)
 public:
  using TMenu::TMenu;
  ~TMainMenu() override;
  // The window showing this menu (set by the form).
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND window) { window_ = window; }

 protected:
  HMENU CreateMenuHandle() override { return CreateMenu(); }
  void MenuChanged() override;

 private:
  HWND window_ = nullptr;
};

class TPopupMenu : public TMenu {
  MV_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // Shows the menu at screen point (x, y) and returns when it closes; the
  // chosen item's Click runs afterwards, from the message loop.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;
  // The control the menu is shown for (set by whoever shows it).
  TControl* PopupComponent() const { return popup_component_; }
  void SetPopupComponent(TControl* c) { popup_component_ = c; }
  // The menu this thread is showing through Popup, or null. Its window is
  // owned by a utility window, so this says whose menu it is.
  static TPopupMenu* Showing();

 protected:
  HMENU CreateMenuHandle() override { return CreatePopupMenu(); }

 private:
  TControl* popup_component_ = nullptr;
};

// Routes a WM_COMMAND (no child window), WM_DRAWITEM or WM_MEASUREITEM
// (ODT_MENU) from a native menu to its item. Returns true when handled.
bool DispatchMenuMessage(TMessage& msg);
