// Menu entries painted from the skin: measuring and drawing one entry (a
// native entry of a skinned window's menu, or a framework item through its
// OnMeasureItem / OnDrawItem) from the skin's MenuItem strip and colours,
// over the background picture of the popup window it sits in (the popup
// skinner's, found through the manager; the skin's menu colour without
// one). The layout itself is engine/menu_rules.h.
#pragma once

#include <windows.h>

#include <string>

#include "engine/menu_rules.h"
#include "engine/skin_elements.h"

class TCanvas;
class TCustomImageList;
class TMenu;
class TMenuItem;

// One entry as the painter sees it.
struct TMenuEntry {
  std::wstring Caption;  // "-" draws a separator
  std::wstring Shortcut;
  bool Enabled = true;
  bool Checked = false;
  bool Radio = false;
  bool Default = false;  // drawn in bold
  bool SubMenu = false;
  bool RightToLeft = false;
  bool HidePrefix = false;
  TCustomImageList* Images = nullptr;
  int ImageIndex = -1;
  bool IsSeparator() const { return Caption == L"-"; }
};

// "&Open\tCtrl+O": caption and short-cut text ("-" for an empty text).
TMenuEntry EntryFromText(const std::wstring& text);
// The entry at a position of a native menu (text, state, type, submenu).
bool ReadNativeEntry(HMENU menu, UINT position, TMenuEntry& entry);
// A framework item as an entry (caption, short cut, state, image).
TMenuEntry EntryFromItem(TMenuItem& item);

// The menu font of the system (shared, never freed by the caller).
HFONT MenuEntryFont(bool bold = false);

// Measures a native entry in the menu font (the rule of MeasureNativeEntry).
TMenuSize MeasureSkinnedEntry(const TSkinContent& skin, const TMenuEntry& entry);

// Draws an entry into rectangle r of dc. `menu` is the menu the entry is in
// (its popup skinner gives the background); `native` paints separators like
// other entries, framework separators get the strip's separator piece.
void DrawSkinnedEntry(HDC dc, const RECT& r, const TMenuEntry& entry, bool selected,
                      const TSkinContent& skin, HMENU menu, bool native);

// How a framework item is widened when it measures itself: A for the items
// of a menu bar's dropdowns, B for popup menus and the system menu.
enum class TMenuMeasureKind { A, B };

// Gives every item of `menu` (at every depth) the skin's draw handler and,
// unless an item has its own, the measure handler of `kind`; items that have
// a draw handler of their own keep it when `keep_own_draw`. The handlers
// read `skin`, which must outlive them (ClearSkinHandlers takes them off).
void SetSkinHandlers(TMenu& menu, const TSkinContent* skin, TMenuMeasureKind kind,
                     bool keep_own_draw);
// Takes off the handlers SetSkinHandlers set (handlers of the application
// stay); with `draw_only` the measure handlers stay.
void ClearSkinHandlers(TMenu& menu, bool draw_only = false);
// Owner-drawn entries of a menu (and its submenus) lose the right-order
// flag: the painter lays them out from the item's reading order, and the flag
// shares its bit with the system-menu flag (some systems then draw the
// window icon instead of the entry).
void DropRightOrderFlag(HMENU menu, int depth = 0);
// Whether an item draws with the skin's handler.
bool HasSkinDrawHandler(const TMenuItem& item);

// The measure and draw of a framework item, as its handlers do them.
void MeasureSkinnedItem(TMenuItem& item, const TSkinContent& skin, TMenuMeasureKind kind,
                        int& width, int& height);
void DrawSkinnedItem(TMenuItem& item, HDC dc, const RECT& r, bool selected,
                     const TSkinContent& skin);
