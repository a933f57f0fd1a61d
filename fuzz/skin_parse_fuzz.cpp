// Fuzz target: the skin parser and the drawing plans. The input is the INI
// text of a package whose bitmap members come from the generated test skin,
// so sections can name real bitmaps with any keys, margins and counts.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/raster.h"
#include "engine/skin_parse.h"
#include "format/skin_package.h"
#include "test_skin.h"

namespace {

// The test skin's package, read once; each input replaces only the INI.
const TSkinReader& Members() {
  static const TSkinReader reader = [] {
    TSkinReader r;
    if (!r.LoadFromStream(MakeTestSkin().Package())) std::abort();
    return r;
  }();
  return reader;
}

void Exercise(const TDataSkinObject& e, bool vertical) {
  // Frame indices from the first to one past the last, in 64 bits: a skin
  // may declare INT_MAX frames.
  const int64_t last = std::min<int64_t>(int64_t{e.FrameCount} + 1, INT_MAX);
  const int64_t step = 1 + std::max<int64_t>(0, e.FrameCount / 3);
  for (int64_t frame = 0; frame <= last; frame += step)
    for (const auto& [w, h] : {std::pair{1, 1}, {7, 33}, {40, 5}}) {
      const int k = static_cast<int>(frame);
      const TPixmap out =
          SliceFrameImage(w, h, e.Bitmap, e.Margins(), vertical, e.Tile == 1, e.FrameCount, k);
      if (out.Width != w || out.Height != h) std::abort();
      const TRect f = e.Frame(k, vertical);
      if (f.Left < 0 || f.Top < 0 || f.Right > e.Bitmap.Width || f.Bottom > e.Bitmap.Height)
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TQuickIni ini;
  ini.LoadFromStream(std::span<const uint8_t>(data, size));
  TSkinContent c;
  ParseSkin(c, ini, Members());
  for (const auto& s : c.Slots)
    if (s) Exercise(*s, c.IsVerticalStrip(s.get()));
  for (const TDataSkinObject* b : {static_cast<const TDataSkinObject*>(&c.TopBorder),
                                   static_cast<const TDataSkinObject*>(&c.LeftBorder),
                                   static_cast<const TDataSkinObject*>(&c.Buttons)})
    Exercise(*b, c.IsVerticalStrip(b));
  for (const auto& t : c.TitleButtons)
    Exercise(*t, false);
  (void)DumpSkinContent(c);
  return 0;
}
