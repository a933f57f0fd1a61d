// Small helpers the window tests share: running the message loop until a
// condition holds, and reading sizes and frame pixels back from a window.
#pragma once

#include <windows.h>

#include <functional>

namespace window_probe {

// Dispatches messages until done() holds or ms milliseconds passed.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() >= end) return false;
    Sleep(5);
  }
}

inline SIZE ClientSize(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

inline SIZE OuterSize(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// A pixel of the whole window (frame included), through the window's DC.
inline COLORREF WindowPixel(HWND w, int x, int y) {
  HDC dc = GetWindowDC(w);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

}  // namespace window_probe
