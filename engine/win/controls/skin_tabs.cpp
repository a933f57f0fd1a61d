#include "engine_controls/skin_tabs.h"

#include <windowsx.h>

#include <memory>
#include <utility>

#include "engine/image_ops.h"
#include "engine/skin_elements.h"
#include "engine_controls/control_list.h"
#include "engine_controls/skin_updown.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "framework/messages.h"

namespace {

constexpr UINT kTabTextFlags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_WORDBREAK;
constexpr int kTabTextChars = 80;

RECT ToRect(const TRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}
TRect FromRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// The window's font selected into dc while the object lives.
class TFontSelection {
 public:
  TFontSelection(HDC dc, HWND window) : dc_(dc) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    old_ = SelectObject(dc_, font);
  }
  ~TFontSelection() { SelectObject(dc_, old_); }
  TFontSelection(const TFontSelection&) = delete;
  TFontSelection& operator=(const TFontSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

struct TTabItem {
  std::wstring Text;
  int Image = -1;
};

TTabItem ReadTabItem(HWND window, int index) {
  wchar_t text[kTabTextChars + 1] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
  item.pszText = text;
  item.cchTextMax = kTabTextChars;
  item.iImage = -1;
  TTabItem out;
  if (!SendMessageW(window, TCM_GETITEMW, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&item)))
    return out;
  text[kTabTextChars] = L'\0';
  out.Text = item.pszText ? item.pszText : L"";
  out.Image = item.iImage;
  return out;
}

bool ItemRect(HWND window, int index, TRect& out) {
  RECT r{};
  if (!SendMessageW(window, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&r)))
    return false;
  out = FromRect(r);
  return !out.IsEmpty();
}

// Leaves the visible child windows out of dc's clipping (the pane is drawn
// around the pages, never over them).
void ExcludeChildWindows(HDC dc, HWND parent) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
}

void TurnToSide(TPixmap& image, TTabSide side) {
  switch (side) {
    case TTabSide::Bottom:
      FlipVertical(image);
      break;
    case TTabSide::Left:
      RotateLeft(image);
      break;
    case TTabSide::Right:
      RotateRight(image);
      break;
    default:
      break;
  }
}

void DrawCloseGlyph(HDC dc, const TRect& box) {
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  HPEN pen = CreatePen(PS_SOLID, 1, GetTextColor(dc));
  HGDIOBJ old_pen = SelectObject(dc, pen);
  Rectangle(dc, box.Left, box.Top, box.Right + 1, box.Bottom + 1);
  MoveToEx(dc, box.Left, box.Top, nullptr);
  LineTo(dc, box.Right + 1, box.Bottom + 1);
  MoveToEx(dc, box.Right, box.Top, nullptr);
  LineTo(dc, box.Left - 1, box.Bottom + 1);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
}

}  // namespace

void DrawItemContent(const TSkinControl& skinner, HDC dc, const TRect& rect, TItemAlign align,
                     const std::wstring& text, int image, HIMAGELIST images, UINT flags) {
  int cx = 0, cy = 0;
  if (images) ImageList_GetIconSize(images, &cx, &cy);
  const bool has_image = images && image != -1;
  RECT measure = ToRect(rect);
  if (has_image && cx < rect.Width()) measure.right -= cx + 2;
  TPoint size{};
  if (!text.empty()) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure,
              flags | DT_CALCRECT | DT_NOCLIP);
    size = {measure.right - measure.left, measure.bottom - measure.top};
  }
  const TItemContentPlace place = PlaceItemContent(rect, align, size, {cx, cy}, has_image);
  if (place.HasImage)
    ImageList_Draw(images, image, dc, place.Image.X, place.Image.Y, ILD_TRANSPARENT);
  if (text.empty()) return;
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour =
      skinner.Enabled ? GetTextColor(dc) : SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  RECT r = ToRect(place.Text);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            skinner.ReadingFlags(flags | ItemAlignFlags(align)));
  SetTextColor(dc, old_colour);
  SetBkMode(dc, old_mode);
}

// ---- tab controls -----------------------------------------------------------------

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) {}

void TSkinTab::AttachControl(TSkinControlList* form, TSkinData* data, bool own_color,
                             TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachControl(form, data, own_color, canvas);
  if (!Attached) return;
  auto* pages = dynamic_cast<TPageControl*>(Control);
  CloseButtons =
      pages && pages->Tag() == kCloseTag &&
      TabSideFromStyle(static_cast<uint32_t>(GetLong(Handle, GWL_STYLE))) == TTabSide::Top;
  AttachCommon();
}

void TSkinTab::AttachWindow(HWND window, TSkinData* data, TSkinControlList* form,
                            TPaintBuffer* canvas) {
  if (Attached) return;
  TSkinControl::AttachWindow(window, data, form, canvas);
  if (!Attached) return;
  ReadWindowState();
  AttachCommon();
}

void TSkinTab::AttachCommon() {
  ReadWindowState();
  LoadImages();
  FindUpDown();
  Active = true;
}

void TSkinTab::SkinChanged() {
  LoadImages();
  TSkinControl::SkinChanged();  // repaints with the new pictures
}

const TDataSkinBorder* TSkinTab::TabsElement() const {
  if (!HasSkin()) return nullptr;
  const TDataSkinBorder* tabs = Skin().Border(ksTabs);
  return tabs && !tabs->Bitmap.Empty() ? tabs : nullptr;
}

void TSkinTab::LoadImages() {
  Position = TabSideFromStyle(static_cast<uint32_t>(GetLong(Handle, GWL_STYLE)));
  tab_image_ = TNativeBitmap();
  pane_image_ = TNativeBitmap();
  const TDataSkinBorder* tabs = HasSkin() ? Skin().Border(ksTabs) : nullptr;
  if (!tabs) return;
  if (!tabs->Bitmap.Empty()) tab_image_ = TNativeBitmap(To24Bit(tabs->Bitmap));
  const TDataSkinObject* pane_element = tabs->Style == 1 ? Skin().Element(ksTabPane) : nullptr;
  TPixmap pane = tabs->Style == 1 ? (pane_element ? To24Bit(pane_element->Bitmap) : TPixmap())
                                  : To24Bit(tabs->SecondBitmap);
  if (pane.Width <= 0 || pane.Height <= 0) return;
  TurnToSide(pane, Position);
  pane_image_ = TNativeBitmap(pane);
}

bool TSkinTab::ButtonStyle() const {
  return (GetLong(Handle, GWL_STYLE) & TCS_BUTTONS) != 0;
}

bool TSkinTab::Paints() const {
  if (!HasSkin()) return false;
  if (ButtonStyle()) return !Skin().Buttons.Bitmap.Empty();
  return TabsElement() || !pane_image_.Empty();
}

TRect TSkinTab::FindUpDown() {
  HWND arrows = FindWindowExW(Handle, nullptr, UPDOWN_CLASSW, nullptr);
  if (!arrows) return {};
  if (Form && !Form->Find(arrows) && SendMessageW(arrows, kSkmIsSkinned, 0, 0) != 1) {
    auto* spin = new TSkinUpDown(this);
    spin->ForceHorizontal = true;
    spin->AttachWindow(arrows, SkinData, Form, Canvas);
    if (!spin->Attached) spin->Free();
  }
  if (!IsWindowVisible(arrows)) return {};
  RECT r;
  GetWindowRect(arrows, &r);
  MapWindowPoints(nullptr, Handle, reinterpret_cast<POINT*>(&r), 2);
  return FromRect(r);
}

bool TSkinTab::BeforeMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!Paints()) break;
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND:
      if (!Paints()) break;
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN: {
      bool handled = false;
      OnCloseClick(m, handled);
      if (handled) return false;
      break;
    }
    case WM_STYLECHANGED:
      LoadImages();
      break;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinTab::OnCloseClick(TMessage& m, bool& handled) {
  auto* pages = dynamic_cast<TPageControl*>(Control);
  if (!CloseButtons || !pages) return;
  const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  for (size_t tab = 0; tab < CloseRects.size(); ++tab) {
    if (CloseRects[tab].IsEmpty() || !InCloseBox(CloseRects[tab], p)) continue;
    handled = true;
    m.Result = 0;
    HWND host = Form && Form->HostWindow() ? Form->HostWindow() : GetAncestor(Handle, GA_ROOT);
    if (SendMessageW(host, kSkmCloseTab, reinterpret_cast<WPARAM>(Handle),
                     static_cast<LPARAM>(tab)) != 0)
      return;
    // Tabs of hidden pages are left out, so the tab's number is not the
    // page's: the page is the one whose tab this is.
    const int n = pages->PageCount();
    std::unique_ptr<bool[]> shown(new bool[static_cast<size_t>(n) + 1]);
    for (int i = 0; i < n; ++i)
      shown[static_cast<size_t>(i)] = pages->Pages(i)->TabVisible();
    const int page = PageOfTab(shown.get(), n, static_cast<int>(tab));
    CloseRects.clear();
    if (page >= 0) pages->Pages(page)->Free();
    return;  // one box per point: the indices change once a page is gone
  }
}

void TSkinTab::DrawSkin(HDC dc, const RECT& rect) {
  if (!dc || !Handle || !Paints()) return;
  if (ButtonStyle())
    DrawButtonTabs(dc, rect);
  else
    DrawTabs(dc, rect);
}

void TSkinTab::DrawTabs(HDC dc, const RECT& rect) {
  ReadWindowState();
  Position = TabSideFromStyle(static_cast<uint32_t>(GetLong(Handle, GWL_STYLE)));
  RECT display;
  GetClientRect(Handle, &display);
  SendMessageW(Handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  const TRect control = FromRect(rect);
  const TRect pane = TabPaneRect(FromRect(display), control);
  const TRect strip = TabStripRect(control, pane, Position);
  const TRect arrows = FindUpDown();
  if (TabsElement() && !strip.IsEmpty()) DrawStrip(dc, strip, arrows);
  if (!pane_image_.Empty() && !pane.IsEmpty()) DrawPane(dc, pane);
  if (Mode == 2) PaintWindowlessChildren(dc);
}

void TSkinTab::DrawPane(HDC dc, const TRect& pane) {
  const TDataSkinBorder* tabs = Skin().Border(ksTabs);
  const TDataSkinObject* pane_element = Skin().Element(ksTabPane);
  const int style = tabs ? tabs->Style : 0;
  const TMargins m =
      TabPaneMargins(style, pane_element ? pane_element->Margins() : TMargins{4, 5, 4, 4});
  const int saved = SaveDC(dc);
  ExcludeChildWindows(dc, Handle);
  DrawElement(dc, pane, pane_image_, false, false, false, 1, 1, m);
  RestoreDC(dc, saved);
}

void TSkinTab::DrawStrip(HDC dc, const TRect& strip, const TRect& arrows) {
  const TDataSkinBorder& tabs = *TabsElement();
  const TPoint lying = TabLyingSize(strip, Position);
  TNativeBitmap buffer(lying.X, lying.Y);
  if (buffer.Empty()) return;
  const bool vertical = TabSideVertical(Position);
  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageW(Handle, TCM_GETCURSEL, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  CloseRects.assign(static_cast<size_t>(std::max(count, 0)), TRect{});
  struct TText {
    TRect Rect;  // in the strip as it shows (lying for vertical strips)
    TTabItem Item;
    COLORREF Colour;
  };
  std::vector<TText> texts;
  {
    TMemoryDC mdc(buffer);
    FillParentColor(mdc.Handle(), {0, 0, lying.X, lying.Y});
    // The selected tab last: it grows over its neighbours.
    for (int pass = 0; pass < 2; ++pass)
      for (int i = 0; i < count; ++i) {
        const bool is_selected = i == selected;
        TRect item;
        if (is_selected != (pass == 1) || !ItemRect(Handle, i, item)) continue;
        if (!TabShows(item, strip, arrows)) continue;
        const TRect tab = GrowLyingTab(TabToLying(item, strip, Position), is_selected, lying);
        const int frame = TabFrame(is_selected);
        DrawElement(mdc.Handle(), tab, tab_image_, false, tabs.Tile != 0, tabs.Trans != 0,
                    kTabFrames, frame, tabs.Margins());
        const TRect shown = vertical ? tab : TabFromLying(tab, strip, Position);
        texts.push_back({vertical ? tab : shown.Offset(-strip.Left, -strip.Top),
                         ReadTabItem(Handle, i),
                         ToColorRef(is_selected ? tabs.MouseOverColour2 : tabs.NormalColour2)});
        if (CloseButtons) CloseRects[static_cast<size_t>(i)] = TabCloseBox(item);
      }
    GdiFlush();
  }
  TNativeBitmap turned;
  if (Position != TTabSide::Top) {
    TPixmap image = buffer.ToImage();
    // Vertical strips get their text lying down, so it reads along the tabs.
    if (vertical) {
      TMemoryDC mdc(buffer);
      TFontSelection font(mdc.Handle(), Handle);
      for (const TText& t : texts) {
        SetTextColor(mdc.Handle(), t.Colour);
        DrawItemContent(*this, mdc.Handle(), t.Rect, TItemAlign::Centre, t.Item.Text, t.Item.Image,
                        images, kTabTextFlags);
      }
      GdiFlush();
      image = buffer.ToImage();
    }
    TurnToSide(image, Position);
    turned = TNativeBitmap(image);
  }
  const TNativeBitmap& out = Position == TTabSide::Top ? buffer : turned;
  if (out.Empty()) return;
  TMemoryDC odc(out);
  if (!vertical) {
    TFontSelection font(odc.Handle(), Handle);
    for (const TText& t : texts) {
      SetTextColor(odc.Handle(), t.Colour);
      DrawItemContent(*this, odc.Handle(), t.Rect, TItemAlign::Centre, t.Item.Text, t.Item.Image,
                      images, kTabTextFlags);
    }
  }
  for (const TRect& box : CloseRects)
    if (!box.IsEmpty()) DrawCloseGlyph(odc.Handle(), box.Offset(-strip.Left, -strip.Top));
  const int saved = SaveDC(dc);
  if (!arrows.IsEmpty()) ExcludeClipRect(dc, arrows.Left, arrows.Top, arrows.Right, arrows.Bottom);
  BitBlt(dc, strip.Left, strip.Top, strip.Width(), strip.Height(), odc.Handle(), 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}

void TSkinTab::DrawButtonTabs(HDC dc, const RECT& rect) {
  const TDataSkinButton& buttons = Skin().Buttons;
  if (buttons.Bitmap.Empty()) return;
  ReadWindowState();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  TPaintBuffer::TLease lease(Canvas, w, h);
  HDC buffer = lease.Dc();
  if (!buffer) return;
  FillParentColor(buffer, {0, 0, w, h});
  TFontSelection font(buffer, Handle);
  const int count = static_cast<int>(SendMessageW(Handle, TCM_GETITEMCOUNT, 0, 0));
  const int selected = static_cast<int>(SendMessageW(Handle, TCM_GETCURSEL, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(Handle, TCM_GETIMAGELIST, 0, 0));
  if (!Form) return;
  const TNativeBitmap& picture = Form->Native(buttons.Bitmap);
  if (picture.Empty()) return;
  for (int i = 0; i < count; ++i) {
    TRect item;
    if (!ItemRect(Handle, i, item)) continue;
    const int frame = ButtonTabFrame(i == selected, false, Enabled);
    DrawElement(buffer, item, picture, false, buttons.Tile != 0, buttons.Trans != 0, 5, frame,
                buttons.Margins());
    TColor colour = Skin().Colours[kcButtonText];
    if (frame == 1 && buttons.HasNormalColour2) colour = buttons.NormalColour2;
    if (frame == 2 && buttons.HasPressedColour2) colour = buttons.PressedColour2;
    SetTextColor(buffer, ToColorRef(colour));
    const TTabItem content = ReadTabItem(Handle, i);
    DrawItemContent(*this, buffer, item, TItemAlign::Centre, content.Text, content.Image, images,
                    kTabTextFlags);
  }
  lease.CopyTo(dc, rect.left, rect.top);
  if (Mode == 2) PaintWindowlessChildren(dc);
}

void TSkinTab::PaintWindowlessChildren(HDC dc) {
  if (auto* win = dynamic_cast<TWinControl*>(Control)) win->PaintControls(dc);
}

// ---- button tabs ----------------------------------------------------------------

bool TSkinTabBtn::Paints() const {
  return HasSkin() && !Skin().Buttons.Bitmap.Empty();
}

void TSkinTabBtn::DrawSkin(HDC dc, const RECT& rect) {
  if (!dc || !Handle || !Paints()) return;
  DrawButtonTabs(dc, rect);
}

// ---- pages --------------------------------------------------------------------

TSkinTabSheet::TSkinTabSheet(TComponent* owner) : TSkinControl(owner) {}

bool TSkinTabSheet::BeforeMessage(TMessage& m) {
  if (!TSkinControl::BeforeMessage(m)) return false;
  if (Mode != 0 || !HasSkin()) return true;
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      PaintMessage(m);
      return false;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle, &r);
      FillFace(reinterpret_cast<HDC>(m.WParam), r);
      m.Result = 1;
      return false;
    }
    default:
      return true;
  }
}

void TSkinTabSheet::DrawSkin(HDC dc, const RECT& rect) {
  if (!dc) return;
  FillFace(dc, rect);
  if (auto* win = dynamic_cast<TWinControl*>(Control)) win->PaintControls(dc);
}
