// paint_bench: the engine's nine-slice painting of a 1920 by 1080 surface,
// stretched and tiled, against a plain BitBlt of the same area, timed in the
// same run. Prints milliseconds per paint and the ratios to the BitBlt.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "engine/image_ops.h"
#include "engine/skin_parse.h"
#include "engine_win/gdi_paint.h"
#include "default_skin.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Median time of `rounds` rounds of `reps` calls, in ms per call.
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

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  constexpr int W = 1920, H = 1080;
  // The frame: the default skin's menu background (a bordered panel) and,
  // for the tiled case, the same frame with its centre repeated.
  TSkinContent skin;
  if (!LoadSkinPackage(skin, DefaultSkinPackage())) return 1;
  const TDataSkinObject* panel = skin.Element(ksMenuBackground);
  const TNativeBitmap frame(panel->Bitmap);
  const TMargins m = panel->Margins();

  TNativeBitmap target(W, H), source(W, H);
  TMemoryDC tdc(target), sdc(source);
  const TRect r{0, 0, W, H};

  auto blit = [&] { BitBlt(tdc.Handle(), 0, 0, W, H, sdc.Handle(), 0, 0, SRCCOPY); };
  auto stretched = [&] { DrawElement(tdc.Handle(), r, frame, false, false, false, 1, 1, m); };
  auto tiled = [&] { DrawElement(tdc.Handle(), r, frame, false, true, false, 1, 1, m); };
  auto transparent = [&] { DrawElement(tdc.Handle(), r, frame, false, false, true, 1, 1, m); };
  // The general path (what a window's device context gets): a temporary
  // bitmap sliced with StretchBlt, then one BitBlt. A clip region on the
  // memory DC sends the call that way.
  TNativeBitmap other(W, H);
  TMemoryDC odc(other);
  HRGN all = CreateRectRgn(0, 0, W, H);
  SelectClipRgn(odc.Handle(), all);
  DeleteObject(all);
  auto general = [&] { DrawElement(odc.Handle(), r, frame, false, false, false, 1, 1, m); };

  // Warm up, then interleave so that every kind sees the same conditions.
  blit();
  stretched();
  tiled();
  double b = 0, s = 0, t = 0, x = 0, g = 0;
  for (int pass = 0; pass < 3; ++pass) {
    b += Measure(blit, rounds, reps);
    s += Measure(stretched, rounds, reps);
    t += Measure(tiled, rounds, reps);
    x += Measure(transparent, rounds, reps);
    g += Measure(general, rounds, reps);
  }
  b /= 3;
  s /= 3;
  t /= 3;
  x /= 3;
  g /= 3;
  std::printf("paint %dx%d, frame %dx%d, margins %d,%d,%d,%d\n", W, H, frame.Width(),
              frame.Height(), m.Left, m.Top, m.Right, m.Bottom);
  std::printf("BitBlt                  %8.3f ms\n", b);
  std::printf("nine-slice stretched    %8.3f ms  ratio %.2f\n", s, s / b);
  std::printf("nine-slice tiled        %8.3f ms  ratio %.2f\n", t, t / b);
  std::printf("nine-slice transparent  %8.3f ms  ratio %.2f\n", x, x / b);
  std::printf("stretched, window path  %8.3f ms  ratio %.2f (temporary bitmap + StretchBlt)\n", g,
              g / b);
  return 0;
}
