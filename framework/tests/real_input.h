// Real mouse and keyboard input for window tests (SendInput; reliable inside
// a Wine virtual desktop), shared by the framework's and the editor's tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/forms.h"

namespace real_input {

// Lets the input just sent reach its windows.
inline void Settle(int rounds = 10) {
  for (int i = 0; i < rounds; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
}

inline INPUT MouseInput(POINT screen, DWORD flags) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((screen.x * 65536 + w / 2) / w);
  in.mi.dy = static_cast<LONG>((screen.y * 65536 + h / 2) / h);
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | flags;
  return in;
}

inline void MouseAt(POINT screen, DWORD flags) {
  INPUT in = MouseInput(screen, flags);
  SendInput(1, &in, sizeof in);
}

// One key stroke, with Shift held when asked.
inline void Key(WORD vk, bool shift = false) {
  std::vector<INPUT> in;
  auto add = [&](WORD k, bool up) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k;
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  };
  if (shift) add(VK_SHIFT, false);
  add(vk, false);
  add(vk, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  Settle();
}

inline void Type(const std::string& text) {
  for (char ch : text) {
    const SHORT code = VkKeyScanA(ch);
    Key(LOBYTE(code), (HIBYTE(code) & 1) != 0);
  }
}

}  // namespace real_input
