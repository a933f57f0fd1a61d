#include "framework/screen_shot.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "framework/graphics.h"

RECT ScreenRect() {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool CaptureScreen(RECT area, TBitmap& shot) {
  const RECT screen = ScreenRect();
  RECT r;
  if (!IntersectRect(&r, &area, &screen)) {
    shot.SetSize(0, 0);
    return false;
  }
  shot.SetSize(0, 0);  // nothing of the old picture is worth keeping
  shot.SetPixelFormat(TPixelFormat::pf24bit);
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC dc = GetDC(nullptr);
  const bool copied = BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), dc, r.left,
                             r.top, SRCCOPY) != FALSE;
  ReleaseDC(nullptr, dc);
  GdiFlush();
  return copied;
}

bool SaveScreenAround(HWND window, int extra_right, int extra_below, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  r.right += extra_right;
  r.bottom += extra_below;
  TBitmap shot;
  if (!CaptureScreen(r, shot)) return false;
  try {
    shot.SaveToFile(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return false;
  }
  return true;
}
