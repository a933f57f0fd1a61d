// The popup-menu skinner: a system popup-menu window ("#32768": context
// menus, menu-bar dropdowns, the system menu, their cascades) created while
// skinning is on wears the skin's MenuBackground picture, scaled to the
// window, as its frame and background. The entries are painted over it by
// skin_menu_item.h, which copies their background out of this skinner's
// picture (the manager's PopupBitmap).
#pragma once

#include <windows.h>

#include "engine/menu_rules.h"
#include "engine_win/gdi_paint.h"
#include "engine_win/skin_manage.h"
#include "engine_win/subclass.h"

class TSkinData;
class TSkinContent;

class TWinSkinPopMenu : public TPopupSkinner {
 public:
  TWinSkinPopMenu() = default;
  // Detaches: a skinner never stays on a window it no longer watches.
  ~TWinSkinPopMenu() override;
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Puts the skinner in front of the window's procedure. `content` is the
  // skin (the component's when data is given); `menu` the menu shown, or 0
  // until BindMenu.
  bool Attach(HWND window, TSkinData* data, const TSkinContent* content, HMENU menu);
  // Gives the window its procedure back and empties the picture; harmless
  // when detached.
  void Detach();
  bool Attached() const { return sub_.Attached(); }

  HWND Window() const override { return handle_; }
  TSkinData* SkinData() const override { return data_; }
  HMENU Menu() const override { return menu_; }
  void BindMenu(HMENU menu) override { menu_ = menu; }
  HBITMAP Image() const override { return image_.Handle(); }
  POINT ClientOffset() const override { return {offset_.X, offset_.Y}; }

 private:
  LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT CallOriginal(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT EraseBackground(WPARAM wparam, LPARAM lparam);
  LRESULT PrintBackground(WPARAM wparam, LPARAM lparam);
  LRESULT PaintFrame(WPARAM wparam, LPARAM lparam);
  LRESULT PaintClient(WPARAM wparam, LPARAM lparam);
  bool Usable() const;
  // Slices the picture to the window's size; false when it cannot.
  bool BuildImage(int* width = nullptr, int* height = nullptr);
  // The border the menu draws inside its client area (none when the system
  // gives the window a non-client border).
  int ClientBorder() const;
  bool MenuBackgroundOption() const;

  TWindowSubclass sub_;
  HWND handle_ = nullptr;
  TSkinData* data_ = nullptr;
  const TSkinContent* content_ = nullptr;
  HMENU menu_ = nullptr;
  TNativeBitmap source_;  // the MenuBackground bitmap
  TNativeBitmap image_;   // scaled to the window
  TPoint offset_;         // client origin within the window
};
