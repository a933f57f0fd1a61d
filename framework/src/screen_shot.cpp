#include "framework/screen_shot.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "framework/graphics.h"

bool SaveScreenAround(HWND window, int extra_right, int extra_below, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  r.right += extra_right;
  r.bottom += extra_below;
  r.left = std::max(0L, r.left);
  r.top = std::max(0L, r.top);
  r.right = std::min<LONG>(GetSystemMetrics(SM_CXSCREEN), r.right);
  r.bottom = std::min<LONG>(GetSystemMetrics(SM_CYSCREEN), r.bottom);
  if (r.right <= r.left || r.bottom <= r.top) return false;
  TBitmap shot(r.right - r.left, r.bottom - r.top, TPixelFormat::pf24bit);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  try {
    shot.SaveToFile(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return false;
  }
  return true;
}
