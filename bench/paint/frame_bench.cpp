// frame_bench: the non-client paint of a skinned 1280 by 800 window (frame,
// caption, title buttons, menu bar, in the default skin) against the
// system's own non-client paint of the same window, timed in the same run,
// interleaved. Prints milliseconds per paint and the ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "default_skin.h"
#include "engine/skin_parse.h"
#include "engine_win/skin_form.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Measure(const std::function<void()>& paint, int rounds, int reps) {
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    GdiFlush();
    const double t0 = Now();
    for (int i = 0; i < reps; ++i)
      paint();
    GdiFlush();
    times.push_back((Now() - t0) / reps);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageA(&msg);
}

HWND MakeWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "FrameBench";
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassA(&wc);
  HMENU bar = CreateMenu();
  for (const char* name : {"&File", "&Edit", "&View", "&Window", "&Help"}) {
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 100, "&Item");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name);
  }
  HWND w = CreateWindowExA(0, "FrameBench", "Frame paint benchmark", WS_OVERLAPPEDWINDOW, 0, 0,
                           1280, 800, nullptr, bar, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  Pump();
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  InstallSystemColourResolver();
  TSkinContent skin;
  if (!LoadSkinPackage(skin, DefaultSkinPackage())) return 1;
  HWND w = MakeWindow();
  auto ncpaint = [w] { SendMessageA(w, WM_NCPAINT, 1, 0); };
  auto resize = [w] {
    SetWindowPos(w, nullptr, 0, 0, 1280, 800, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
  };
  double system = 0, skinned = 0;
  constexpr int kPasses = 3;
  for (int pass = 0; pass < kPasses; ++pass) {
    resize();
    system += Measure(ncpaint, rounds, reps);
    auto form = std::make_unique<TWinSkinForm>(w, nullptr, &skin);
    form->Attach();
    resize();
    skinned += Measure(ncpaint, rounds, reps);
    form->Detach();
    form.reset();
  }
  system /= kPasses;
  skinned /= kPasses;
  std::printf(
      "non-client paint of a 1280x800 window with a menu bar (median of %d x %d, %d passes)\n",
      rounds, reps, kPasses);
  std::printf("  system frame:  %8.3f ms\n", system);
  std::printf("  skinned frame: %8.3f ms  (%.2fx)\n", skinned, skinned / system);
  DestroyWindow(w);
  return 0;
}
