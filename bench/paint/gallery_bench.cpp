// gallery_bench: a whole repaint of each page of the control gallery (frame,
// client, every child control) wearing the default skin against the same
// page bare, timed in the same run, interleaved over several passes. The
// repaint is the one a user's window gets: RedrawWindow with invalidation,
// erasing, the frame and all children, painted at once. Prints milliseconds
// per repaint and the ratio, per page and over all pages.
//   gallery_bench.exe [ROUNDS [REPS [PASSES]]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <vector>

#include "default_skin.h"
#include "engine/skin_stream.h"
#include "engine_win/skin_data.h"
#include "engine_win/skin_form_skinner.h"
#include "engine_win/skin_manage.h"
#include "engine_win/skin_messages.h"
#include "framework/comctrls.h"
#include "gallery_form.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Dispatches messages until done() holds; false after `ms` milliseconds.
bool PumpUntil(const std::function<bool()>& done, int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    Pump();
    if (done()) return true;
    if (GetTickCount() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// One repaint of everything, with whatever the paint posts dispatched.
void RepaintAll(HWND h) {
  RedrawWindow(h, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  GdiFlush();
}

// Median of `rounds` rounds of `reps` repaints, in ms per repaint.
double Measure(HWND h, int rounds, int reps) {
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    const double t0 = Now();
    for (int i = 0; i < reps; ++i)
      RepaintAll(h);
    times.push_back((Now() - t0) / reps);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

bool IsSkinned(HWND h) {
  return SendMessageA(h, kSkmIsSkinned, 0, 0) == 1;
}

// Turns the component on or off and waits for the manager's delayed action.
bool SetSkinned(TSkinData* data, HWND h, bool on) {
  data->SetActive(on);
  return PumpUntil([h, on] { return IsSkinned(h) == on; }, 10000);
}

struct TPageTimes {
  double Bare = 0;
  double Skinned = 0;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int rounds = __argc > 1 ? std::max(1, std::atoi(__argv[1])) : 5;
  const int reps = __argc > 2 ? std::max(1, std::atoi(__argv[2])) : 5;
  const int passes = __argc > 3 ? std::max(1, std::atoi(__argv[3])) : 3;
  InstallFormSkinnerFactory();
  auto* form = Application->CreateForm<TGalleryForm>();
  auto* data = new TSkinData(form);
  data->BeginReading();
  const auto package = DefaultSkinPackage();
  if (!data->ReadSkinStream(WriteSkinStream({package.begin(), package.end()}))) return 1;
  data->Loaded();
  form->Show();
  HWND h = form->Handle();
  if (!PumpUntil([h] { return IsWindowVisible(h) != 0; }, 10000)) return 1;

  const int pages = form->Pages()->PageCount();
  std::vector<TPageTimes> times(static_cast<size_t>(pages));
  for (int pass = 0; pass < passes; ++pass) {
    for (int page = 0; page < pages; ++page) {
      form->Pages()->SetActivePageIndex(page);
      RepaintAll(h);
      times[page].Bare += Measure(h, rounds, reps) / passes;
    }
    if (!SetSkinned(data, h, true)) return 1;
    for (int page = 0; page < pages; ++page) {
      form->Pages()->SetActivePageIndex(page);
      RepaintAll(h);
      times[page].Skinned += Measure(h, rounds, reps) / passes;
    }
    if (!SetSkinned(data, h, false)) return 1;
  }

  std::printf(
      "repaint of a 640x520 gallery page, frame and children (median of %d x %d, %d passes)\n",
      rounds, reps, passes);
  TPageTimes total;
  for (int page = 0; page < pages; ++page) {
    const TPageTimes& t = times[page];
    std::printf("  page %d %-12s bare %8.3f ms  skinned %8.3f ms  (%.2fx)\n", page,
                form->Pages()->Pages(page)->Caption().c_str(), t.Bare, t.Skinned,
                t.Skinned / t.Bare);
    total.Bare += t.Bare;
    total.Skinned += t.Skinned;
  }
  std::printf("  all pages          bare %8.3f ms  skinned %8.3f ms  (%.2fx)\n", total.Bare,
              total.Skinned, total.Skinned / total.Bare);
  form->Free();
  FreeSkinManager();
  return 0;
}
