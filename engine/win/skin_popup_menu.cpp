// The popup-menu skinner (see skin_popup_menu.h). Some systems give a menu
// window a non-client border and paint it at WM_NCPAINT; others draw the
// border inside the client area at WM_PAINT. Both are covered: the picture
// is painted at WM_NCPAINT over the whole window, and after the menu's own
// painting over the border it drew inside the client area.
#include "engine_win/skin_popup_menu.h"

#include <algorithm>

#include "engine_win/skin_data.h"
#include "engine_win/skin_messages.h"

namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU
// The frame's device context through the update region: DCX_WINDOW |
// DCX_INTERSECTRGN | DCX_USESTYLE (the last one is not in every header).
constexpr DWORD kFrameDcFlags = 0x10081;

const TDataSkinObject* BackgroundElement(const TSkinContent* skin) {
  return skin ? skin->Element(ksMenuBackground) : nullptr;
}

bool NtFamily() {
  return (GetVersion() & 0x80000000u) == 0;
}

}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() {
  Detach();
}

bool TWinSkinPopMenu::Attach(HWND window, TSkinData* data, const TSkinContent* content,
                             HMENU menu) {
  handle_ = window;
  data_ = data;
  content_ = content ? content : (data ? &data->Content() : nullptr);
  menu_ = menu;
  const TDataSkinObject* e = BackgroundElement(content_);
  if (e && !e->Bitmap.Empty()) source_ = TNativeBitmap(e->Bitmap);
  return sub_.Attach(window, [this](UINT m, WPARAM w, LPARAM l) { return WindowProc(m, w, l); });
}

void TWinSkinPopMenu::Detach() {
  if (!sub_.Attached()) return;
  sub_.Detach();
  image_ = TNativeBitmap();
}

LRESULT TWinSkinPopMenu::CallOriginal(UINT msg, WPARAM wparam, LPARAM lparam) {
  return sub_.CallOld(msg, wparam, lparam);
}

LRESULT TWinSkinPopMenu::WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == kSkmIsSkinned) return 1;  // also while skinning is off
  if (!SkinManager || !SkinManager->SkinningOn) return CallOriginal(msg, wparam, lparam);
  switch (msg) {
    case WM_DESTROY:
      // The old procedure handles its destruction as itself.
      Detach();
      return CallOriginal(msg, wparam, lparam);
    case WM_ERASEBKGND:
      if (!NtFamily()) return 0;
      return EraseBackground(wparam, lparam);
    case WM_NCPAINT:
      return PaintFrame(wparam, lparam);
    case WM_PRINT:
      return PrintBackground(wparam, lparam);
    case WM_PAINT:
      return PaintClient(wparam, lparam);
    default:
      return CallOriginal(msg, wparam, lparam);
  }
}

bool TWinSkinPopMenu::MenuBackgroundOption() const {
  return data_ && data_->Options().Has(xoMenuBG);
}

bool TWinSkinPopMenu::Usable() const {
  const bool empty = !content_ || content_->SkinEmpty || (data_ && data_->SkinEmpty());
  return PopupBackgroundUsable(empty, source_.Width(), source_.Height());
}

bool TWinSkinPopMenu::BuildImage(int* width, int* height) {
  RECT wr;
  if (!Usable() || !GetWindowRect(handle_, &wr)) return false;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return false;
  POINT client{0, 0};
  ClientToScreen(handle_, &client);
  offset_ = PopupClientOffset({wr.left, wr.top}, {client.x, client.y}, w, h);
  if (!menu_) menu_ = reinterpret_cast<HMENU>(SendMessageW(handle_, kMenuGetHandle, 0, 0));
  const TDataSkinObject& e = *BackgroundElement(content_);
  image_ = SliceFrame(TRect{0, 0, w, h}, source_, e.Margins(), false, e.Tile == 1, 1, 1);
  if (width) *width = w;
  if (height) *height = h;
  return !image_.Empty();
}

LRESULT TWinSkinPopMenu::EraseBackground(WPARAM wparam, LPARAM lparam) {
  if (!MenuBackgroundOption()) CallOriginal(WM_ERASEBKGND, wparam, lparam);
  return 1;
}

LRESULT TWinSkinPopMenu::PrintBackground(WPARAM wparam, LPARAM lparam) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  int w = 0, h = 0;
  if (!dc || !BuildImage(&w, &h)) return CallOriginal(WM_PRINT, wparam, lparam);
  {
    TMemoryDC src(image_);
    BitBlt(dc, 0, 0, w, h, src.Handle(), 0, 0, SRCCOPY);
  }
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const int border = std::max<int>({offset_.X, offset_.Y, ClientBorder()});
  const TRect c = PopupEntryClip(w, h, border);
  HRGN clip = CreateRectRgn(c.Left, c.Top, c.Right, c.Bottom);
  SelectClipRgn(dc, clip);
  const LRESULT r = CallOriginal(WM_PRINT, wparam, lparam);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  SetBkMode(dc, old_mode);
  return r;
}

LRESULT TWinSkinPopMenu::PaintFrame(WPARAM wparam, LPARAM lparam) {
  if (!Usable()) return CallOriginal(WM_NCPAINT, wparam, lparam);
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&v);
#pragma GCC diagnostic pop
  const TFrameDc kind =
      ChoosePopupFrameDc(static_cast<uintptr_t>(wparam), NtFamily(),
                         static_cast<int>(v.dwMajorVersion), static_cast<int>(v.dwMinorVersion));
  HDC dc = kind == TFrameDc::Window
               ? GetWindowDC(handle_)
               : GetDCEx(handle_, reinterpret_cast<HRGN>(wparam), kFrameDcFlags);
  if (!dc) return 0;
  int w = 0, h = 0;
  if (BuildImage(&w, &h)) {
    TMemoryDC src(image_);
    BitBlt(dc, 0, 0, w, h, src.Handle(), 0, 0, SRCCOPY);
  }
  ReleaseDC(handle_, dc);
  return 0;
}

int TWinSkinPopMenu::ClientBorder() const {
  if (offset_.X > 0 || offset_.Y > 0 || !menu_) return 0;
  // The first entry starts where the border the menu drew ends.
  RECT wr, ir;
  if (!GetWindowRect(handle_, &wr) || !GetMenuItemRect(handle_, menu_, 0, &ir)) return 0;
  return std::clamp<int>(std::min(ir.left - wr.left, ir.top - wr.top), 0, 8);
}

LRESULT TWinSkinPopMenu::PaintClient(WPARAM wparam, LPARAM lparam) {
  // The picture first: the entries copy their background out of it.
  int w = 0, h = 0;
  const bool built = image_.Empty() ? BuildImage(&w, &h) : true;
  const LRESULT r = CallOriginal(WM_PAINT, wparam, lparam);
  if (!built || !IsWindow(handle_)) return r;
  const int border = ClientBorder();
  if (border <= 0 || image_.Empty()) return r;
  // The border the menu drew in its client area, covered by the picture's.
  HDC dc = GetDC(handle_);
  if (!dc) return r;
  const int iw = image_.Width(), ih = image_.Height();
  ExcludeClipRect(dc, border - offset_.X, border - offset_.Y, iw - border - offset_.X,
                  ih - border - offset_.Y);
  {
    TMemoryDC src(image_);
    BitBlt(dc, -offset_.X, -offset_.Y, iw, ih, src.Handle(), 0, 0, SRCCOPY);
  }
  ReleaseDC(handle_, dc);
  return r;
}
