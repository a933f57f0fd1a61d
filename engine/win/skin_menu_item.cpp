// Menu entries painted from the skin's MenuItem strip and colours over the
// popup window's background picture (see skin_menu_item.h).
#include "engine_win/skin_menu_item.h"

#include <algorithm>
#include <memory>

#include "engine_win/gdi_paint.h"
#include "engine_win/skin_manage.h"
#include "framework/graphics.h"
#include "framework/imglist.h"
#include "framework/menus.h"

namespace {

std::wstring Widen(const std::string& s) {
  std::wstring out;
  out.reserve(s.size());
  for (unsigned char c : s)
    out += static_cast<wchar_t>(c);
  return out;
}

// The MenuItem element when it has a bitmap to draw.
const TDataSkinObject* MenuItemElement(const TSkinContent& skin) {
  const TDataSkinObject* e = skin.Element(ksMenuItem);
  return e && !e->Bitmap.Empty() ? e : nullptr;
}

int LeftWidthOf(const TDataSkinObject* e) {
  return e ? std::max(0, e->LeftWidth) : 0;
}

COLORREF TextColour(const TSkinContent& skin, const TMenuEntry& e, bool selected) {
  if (e.Enabled) return ToColorRef(skin.Colours[selected ? kcHilightText : kcMenuText]);
  // A shadow colour equal to the text would hide the difference.
  if (skin.Colours[kcButtonShadow] == skin.Colours[kcMenuText]) return GetSysColor(COLOR_BTNSHADOW);
  return ToColorRef(skin.Colours[kcButtonShadow]);
}

void FillColour(HDC dc, const RECT& r, TColor c) {
  HBRUSH brush = CreateSolidBrush(ToColorRef(c));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// The popup window's picture behind rectangle r (entry coordinates) into
// dc at (0, 0); false when the entry's menu has no popup skinner image.
bool CopyPopupBackground(HDC dc, const RECT& r, HMENU menu) {
  if (!SkinManager || !menu) return false;
  HBITMAP image = SkinManager->PopupBitmap(menu);
  if (!image) return false;
  const POINT off = SkinManager->PopupClientOffset(menu);
  HDC src = CreateCompatibleDC(dc);
  if (!src) return false;
  HGDIOBJ old = SelectObject(src, image);
  BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, src, r.left + off.x, r.top + off.y, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
  return true;
}

// A check mark or radio bullet in `colour`, centred in box.
void DrawMark(HDC dc, const RECT& box, bool radio, COLORREF colour) {
  const int size = std::min<int>(GetSystemMetrics(SM_CXMENUCHECK), box.right - box.left);
  if (size <= 0) return;
  HDC mdc = CreateCompatibleDC(dc);
  HBITMAP mono = CreateBitmap(size, size, 1, 1, nullptr);
  HGDIOBJ old_bmp = SelectObject(mdc, mono);
  RECT mr{0, 0, size, size};
  DrawFrameControl(mdc, &mr, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  const int x = box.left + (box.right - box.left - size) / 2 + 1;
  const int y = box.top + (box.bottom - box.top - size) / 2;
  const COLORREF old_text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF old_back = SetBkColor(dc, RGB(255, 255, 255));
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ old_brush = SelectObject(dc, brush);
  constexpr DWORD kMaskPaint = 0x00B8074A;  // PSDPxax: the brush where the mask is black
  BitBlt(dc, x, y, size, size, mdc, 0, 0, kMaskPaint);
  SelectObject(dc, old_brush);
  DeleteObject(brush);
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_back);
  SelectObject(mdc, old_bmp);
  DeleteObject(mono);
  DeleteDC(mdc);
}

// A checked entry's image sits in a sunken, dithered box.
void DrawCheckedImageBox(HDC dc, RECT box) {
  const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP bits = CreateBitmap(8, 8, 1, 1, pattern);
  HBRUSH brush = CreatePatternBrush(bits);
  const COLORREF old_text = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
  const COLORREF old_back = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  FillRect(dc, &box, brush);
  SetTextColor(dc, old_text);
  SetBkColor(dc, old_back);
  DeleteObject(brush);
  DeleteObject(bits);
  DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
}

int TextWidth(HDC dc, const std::wstring& s, int* height = nullptr) {
  // An empty text or a lone "&" is measured with a blank.
  std::wstring t = s.empty() || s == L"&" ? s + L" " : s;
  RECT c{0, 0, 0, 0};
  DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &c,
            DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP);
  if (height) *height = c.bottom - c.top;
  return c.right - c.left;
}

// Glyph, text, short cut or separator line of an entry into r (the entry's
// bitmap coordinates).
void DrawContent(HDC dc, const RECT& r, const TMenuEntry& e, bool selected,
                 const TSkinContent& skin) {
  const TDataSkinObject* el = MenuItemElement(skin);
  HGDIOBJ old_font = SelectObject(dc, MenuEntryFont(e.Default));
  SetBkMode(dc, TRANSPARENT);
  TCustomImageList* images = e.Images;
  const bool has_image = images && e.ImageIndex >= 0 && e.ImageIndex < images->Count();
  TMenuEntryFacts f;
  f.HasElement = el != nullptr;
  f.LeftWidth = LeftWidthOf(el);
  f.GlyphSize = MenuGlyphSize(images ? images->Width() : 0, e.Checked);
  f.GlyphHeight = has_image && !e.Checked ? images->Height() : 16;
  f.Separator = e.IsSeparator();
  f.RightToLeft = e.RightToLeft;
  f.TextWidth = TextWidth(dc, e.Caption, &f.TextHeight);
  const TRect tr{r.left, r.top, r.right, r.bottom};
  const TMenuEntryLayout l = LayoutMenuEntry(tr, f);
  if (f.Separator) {
    RECT line{l.Line.Left, l.Line.Top, l.Line.Right, l.Line.Bottom};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    SelectObject(dc, old_font);
    return;
  }
  const COLORREF text = TextColour(skin, e, selected);
  RECT glyph{l.Glyph.Left, l.Glyph.Top, l.Glyph.Right, l.Glyph.Bottom};
  if (has_image) {
    if (e.Checked) DrawCheckedImageBox(dc, glyph);
    TCanvas canvas;
    canvas.SetHandle(dc);
    images->Draw(canvas, glyph.left, glyph.top, e.ImageIndex, e.Enabled);
    canvas.SetHandle(nullptr);
  } else if (e.Checked) {
    RECT box{glyph.left, r.top, glyph.right, r.bottom};
    DrawMark(dc, box, e.Radio, text);
  }
  SetTextColor(dc, text);
  UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | (e.HidePrefix ? DT_HIDEPREFIX : 0);
  if (e.RightToLeft) flags |= DT_RIGHT | DT_RTLREADING;
  RECT t{l.Text.Left, r.top, l.Text.Right, r.bottom};
  DrawTextW(dc, e.Caption.c_str(), static_cast<int>(e.Caption.size()), &t, flags);
  if (!e.Shortcut.empty()) {
    RECT s{l.Shortcut.Left, r.top, l.Shortcut.Right, r.bottom};
    const UINT side = e.RightToLeft ? DT_LEFT : DT_RIGHT;
    DrawTextW(dc, e.Shortcut.c_str(), static_cast<int>(e.Shortcut.size()), &s,
              DT_SINGLELINE | DT_VCENTER | side);
  }
  SelectObject(dc, old_font);
}

// A framework separator: the background, then the strip's separator piece.
void DrawSeparatorPiece(HDC dc, const RECT& r, const TDataSkinObject& el,
                        const TNativeBitmap& strip) {
  const TRect frame = el.Frame(2);
  const TRect target{0, 0, r.right - r.left, r.bottom - r.top};
  const TSeparatorPiece p =
      CutSeparatorPiece(frame.Width(), frame.Height(), target, el.LeftWidth, el.RightWidth);
  if (!p.Valid) return;
  for (int i = 0; i < 3; ++i) {
    const TRect& s = p.Source[i];
    const TRect& d = p.Target[i];
    if (s.IsEmpty() || d.IsEmpty()) continue;
    // One piece stretched as its own little bitmap, magenta left out.
    TNativeBitmap piece(s.Width(), s.Height());
    {
      TMemoryDC pdc(piece);
      TMemoryDC sdc(strip);
      BitBlt(pdc.Handle(), 0, 0, s.Width(), s.Height(), sdc.Handle(), s.Left, s.Top, SRCCOPY);
    }
    DrawFrameScaled(dc, d, piece, true, 1, 1);
  }
}

}  // namespace

HFONT MenuEntryFont(bool bold) {
  static HFONT normal = nullptr, heavy = nullptr;
  HFONT& f = bold ? heavy : normal;
  if (!f) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    if (bold) ncm.lfMenuFont.lfWeight = FW_BOLD;
    f = CreateFontIndirectW(&ncm.lfMenuFont);
  }
  return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TMenuEntry EntryFromText(const std::wstring& text) {
  TMenuEntry e;
  const size_t tab = text.find(L'\t');
  e.Caption = text.substr(0, tab);
  if (tab != std::wstring::npos) e.Shortcut = text.substr(tab + 1);
  if (e.Caption.empty()) e.Caption = L"-";
  return e;
}

bool ReadNativeEntry(HMENU menu, UINT position, TMenuEntry& entry) {
  wchar_t text[81]{};
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
  mi.dwTypeData = text;
  mi.cch = 80;
  if (!menu || !GetMenuItemInfoW(menu, position, TRUE, &mi)) return false;
  entry = EntryFromText(mi.fType & MFT_SEPARATOR ? std::wstring() : std::wstring(text));
  entry.Enabled = !(mi.fState & (MFS_GRAYED | MFS_DISABLED));
  entry.Checked = (mi.fState & MFS_CHECKED) != 0;
  entry.Default = (mi.fState & MFS_DEFAULT) != 0;
  entry.Radio = (mi.fType & MFT_RADIOCHECK) != 0;
  entry.SubMenu = mi.hSubMenu != nullptr;
  return true;
}

TMenuEntry EntryFromItem(TMenuItem& item) {
  TMenuEntry e;
  e.Caption = Widen(item.Caption());
  if (e.Caption.empty()) e.Caption = L"-";
  if (item.ShortCut()) e.Shortcut = Widen(ShortCutToText(item.ShortCut()));
  e.Enabled = item.Enabled();
  e.Checked = item.Checked();
  e.Radio = item.RadioItem();
  e.Default = item.Default();
  e.SubMenu = item.Count() > 0;
  TMenu* menu = item.GetParentMenu();
  e.Images = menu ? menu->Images() : nullptr;
  e.ImageIndex = item.ImageIndex();
  e.RightToLeft = menu && menu->IsRightToLeft();
  return e;
}

TMenuSize MeasureSkinnedEntry(const TSkinContent& skin, const TMenuEntry& entry) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, MenuEntryFont(entry.Default));
  TMenuMeasureFacts f;
  f.HasText = !entry.IsSeparator();
  f.TextWidth = TextWidth(dc, entry.Caption, &f.TextHeight);
  if (!entry.Shortcut.empty()) f.TextWidth += 24 + TextWidth(dc, entry.Shortcut);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const TDataSkinObject* el = MenuItemElement(skin);
  f.HasElement = el != nullptr;
  f.ElementLeftWidth = LeftWidthOf(el);
  f.Win95Family = (GetVersion() & 0x80000000u) != 0;
  return MeasureNativeEntry(f);
}

void DrawSkinnedEntry(HDC dc, const RECT& r, const TMenuEntry& entry, bool selected,
                      const TSkinContent& skin, HMENU menu, bool native) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!dc || w <= 0 || h <= 0) return;
  TNativeBitmap buffer(w, h);
  if (buffer.Empty()) return;
  TMemoryDC mdc(buffer);
  const RECT all{0, 0, w, h};
  const TDataSkinObject* el = MenuItemElement(skin);
  // A window laid out right to left mirrors its DC: the entry is composed as
  // it is seen, its background taken from where it really is, and copied
  // without being mirrored again.
  const bool mirrored = (GetLayout(dc) & LAYOUT_RTL) != 0;
  RECT seen = r;
  RECT client{};
  if (mirrored && GetClientRect(WindowFromDC(dc), &client)) {
    seen.left = client.right - r.right;
    seen.right = client.right - r.left;
  }
  if (!CopyPopupBackground(mdc.Handle(), seen, menu))
    FillColour(mdc.Handle(), all, skin.Colours[kcMenu]);
  if (!el) {
    if (selected && !entry.IsSeparator()) FillColour(mdc.Handle(), all, skin.Colours[kcHilight]);
    DrawContent(mdc.Handle(), all, entry, selected, skin);
  } else {
    const TNativeBitmap strip(el->Bitmap);
    if (entry.IsSeparator() && !native) {
      DrawSeparatorPiece(mdc.Handle(), r, *el, strip);
    } else {
      const int frame = entry.IsSeparator() ? 1 : MenuItemFrame(selected);
      DrawElement(mdc.Handle(), TRect{0, 0, w, h}, strip, false, el->Tile == 1, el->Trans == 1,
                  kMenuItemFrames, frame, el->Margins());
      DrawContent(mdc.Handle(), all, entry, selected, skin);
    }
  }
  constexpr DWORD kNoMirrorBitmap = 0x80000000;  // NOMIRRORBITMAP
  BitBlt(dc, r.left, r.top, w, h, mdc.Handle(), 0, 0, SRCCOPY | (mirrored ? kNoMirrorBitmap : 0));
}

// ---- framework items ---------------------------------------------------------------

namespace {

struct TSkinDrawHandler {
  const TSkinContent* Skin;
  void operator()(TObject* sender, TCanvas& canvas, const RECT& r, bool selected) const {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item && Skin) DrawSkinnedItem(*item, canvas.Handle(), r, selected, *Skin);
  }
};

struct TSkinMeasureHandler {
  const TSkinContent* Skin;
  TMenuMeasureKind Kind;
  void operator()(TObject* sender, TCanvas&, int& width, int& height) const {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item && Skin) MeasureSkinnedItem(*item, *Skin, Kind, width, height);
  }
};

template <class F>
void ForEachItem(TMenuItem* parent, int depth, const F& f) {
  if (!parent || depth > 32) return;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* c = parent->Items(i);
    f(*c);
    ForEachItem(c, depth + 1, f);
  }
}

}  // namespace

bool HasSkinDrawHandler(const TMenuItem& item) {
  return item.OnDrawItem.target<TSkinDrawHandler>() != nullptr;
}

void SetSkinHandlers(TMenu& menu, const TSkinContent* skin, TMenuMeasureKind kind,
                     bool keep_own_draw) {
  ForEachItem(menu.Items(), 0, [&](TMenuItem& item) {
    if (keep_own_draw && item.OnDrawItem && !HasSkinDrawHandler(item)) return;
    item.OnDrawItem = TSkinDrawHandler{skin};
    if (!item.OnMeasureItem || item.OnMeasureItem.target<TSkinMeasureHandler>())
      item.OnMeasureItem = TSkinMeasureHandler{skin, kind};
  });
}

void ClearSkinHandlers(TMenu& menu, bool draw_only) {
  ForEachItem(menu.Items(), 0, [&](TMenuItem& item) {
    if (HasSkinDrawHandler(item)) item.OnDrawItem = nullptr;
    if (!draw_only && item.OnMeasureItem.target<TSkinMeasureHandler>())
      item.OnMeasureItem = nullptr;
  });
}

void MeasureSkinnedItem(TMenuItem& item, const TSkinContent& skin, TMenuMeasureKind kind,
                        int& width, int& height) {
  const TDataSkinObject* el = MenuItemElement(skin);
  TMenu* menu = item.GetParentMenu();
  const bool images = menu && menu->Images();
  if (item.IsLine()) return;  // a separator keeps its height and width
  width = kind == TMenuMeasureKind::A
              ? WidenForSkinA(width, el != nullptr, LeftWidthOf(el), images)
              : WidenForSkinB(width, el != nullptr, LeftWidthOf(el), images);
  height = std::max(height, 18);
}

void DrawSkinnedItem(TMenuItem& item, HDC dc, const RECT& r, bool selected,
                     const TSkinContent& skin) {
  TMenuItem* parent = item.Parent();
  HMENU menu = parent && parent->HasHandle() ? parent->Handle() : nullptr;
  if (SkinManager && menu) SkinManager->BindPopupMenu(menu);
  DrawSkinnedEntry(dc, r, EntryFromItem(item), selected, skin, menu, false);
}

void DropRightOrderFlag(HMENU menu, int depth) {
  if (!menu || depth > 16 || !IsMenu(menu)) return;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    if (mi.hSubMenu) DropRightOrderFlag(mi.hSubMenu, depth + 1);
    if (!(mi.fType & MFT_OWNERDRAW) || !(mi.fType & MFT_RIGHTORDER)) continue;
    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_FTYPE;
    set.fType = mi.fType & ~static_cast<UINT>(MFT_RIGHTORDER);
    SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set);
  }
}
