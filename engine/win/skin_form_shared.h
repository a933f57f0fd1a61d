// What the form skinner's source files share (skin_form*.cpp).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "engine_win/skin_form.h"

// The timer that notices the mouse leaving a hot spot while the window is active.
constexpr UINT_PTR kHoverTimer = 0x5F31;

inline RECT ToRECT(const TRect& r) {
  return RECT{r.Left, r.Top, r.Right, r.Bottom};
}

inline std::wstring WindowTextW(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring s(static_cast<size_t>(std::max(0, n)) + 1, L'\0');
  const int got = GetWindowTextW(window, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(0, got)));
  return s;
}
