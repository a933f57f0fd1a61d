#include "engine/colour.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "format/text.h"

namespace {

TSystemColourFn g_resolver = nullptr;

}  // namespace

void SetSystemColourResolver(TSystemColourFn fn) {
  g_resolver = fn;
}

TColor DefaultSystemColour(int index) {
  // The classic grey scheme.
  static constexpr TColor kTable[] = {
      RGBColour(200, 200, 200), RGBColour(0, 128, 128),   RGBColour(10, 36, 106),
      RGBColour(128, 128, 128), RGBColour(212, 208, 200), RGBColour(255, 255, 255),
      RGBColour(0, 0, 0),       RGBColour(0, 0, 0),       RGBColour(0, 0, 0),
      RGBColour(255, 255, 255), RGBColour(212, 208, 200), RGBColour(212, 208, 200),
      RGBColour(128, 128, 128), RGBColour(10, 36, 106),   RGBColour(255, 255, 255),
      RGBColour(212, 208, 200), RGBColour(128, 128, 128), RGBColour(128, 128, 128),
      RGBColour(0, 0, 0),       RGBColour(212, 208, 200), RGBColour(255, 255, 255),
      RGBColour(64, 64, 64),    RGBColour(212, 208, 200), RGBColour(0, 0, 0),
      RGBColour(255, 255, 225)};
  if (index < 0 || index >= static_cast<int>(std::size(kTable))) return kBlack;
  return kTable[index];
}

TColor ResolveColour(TColor c) {
  if (!IsSystemColourRef(c)) return c;
  const int index = static_cast<int>(c & 0xFF);
  return (g_resolver ? g_resolver(index) : DefaultSystemColour(index)) & 0x00FFFFFFu;
}

TColor Blend(TColor c1, TColor c2, int a) {
  c1 = ResolveColour(c1);
  c2 = ResolveColour(c2);
  const int64_t s = a < 100 ? 100 : 1000;
  auto mix = [&](int64_t x, int64_t y) {
    return static_cast<TColor>(((x * a + y * (s - a) + s / 2) / s) & 0xFF);
  };
  const TColor r = mix(RedOf(c1), RedOf(c2));
  const TColor g = mix(GreenOf(c1), GreenOf(c2));
  const TColor b = mix(c1 >> 16, c2 >> 16);
  return r | (g << 8) | (b << 16);
}

int SaturationMeasure(TColor c) {
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  if (r < 160 && g < 160 && b < 160) return 200;
  const int mx = std::max({r, g, b});
  const int mn = std::min({r, g, b});
  const double s = mx == 0 ? 0.0 : static_cast<double>(mx - mn) / mx;
  return static_cast<int>(std::nearbyint(s * 255.0));  // default mode: halves to even
}

TColor ParseColourValue(std::string_view text) {
  const std::string_view t = TrimView(text);
  int values[3] = {0, 0, 0};
  int closed = 0;
  std::string pending;
  auto close = [&]() {
    if (pending.empty()) return;
    const int32_t v = StrToIntDef(pending, INT32_MIN);
    pending.clear();
    if (v == INT32_MIN) return;  // too long to convert: skipped
    if (closed < 3) values[closed] = v & 0xFF;
    ++closed;
  };
  for (char ch : t) {
    if (ch >= '0' && ch <= '9') {
      if (pending.size() < 32)
        pending += ch;
      else
        pending = "99999999999";  // overflows: the number is skipped
    } else {
      close();
    }
  }
  if (!pending.empty() && closed == 2) close();
  return RGBColour(values[0], values[1], values[2]);
}

int TRampCache::GetRamp(int n, TColor c1, TColor c2) {
  for (int i = kSlots - 1; i >= 0; --i) {
    const auto& r = slots_[static_cast<size_t>(i)];
    if (n >= 1 && static_cast<int>(r.size()) == n && r.front() == c1 && r.back() == c2) return i;
  }
  const int slot = next_;
  next_ = (next_ + 1) % kSlots;
  auto& ramp = slots_[static_cast<size_t>(slot)];
  ramp.clear();
  if (n < 1) return slot;
  ramp.reserve(static_cast<size_t>(n));
  const int d0[3] = {RedOf(c1), GreenOf(c1), BlueOf(c1)};
  const int delta[3] = {RedOf(c2) - d0[0], GreenOf(c2) - d0[1], BlueOf(c2) - d0[2]};
  if (n == 1) {
    ramp.push_back(RGBColour(d0[0] + delta[0] / 2, d0[1] + delta[1] / 2, d0[2] + delta[2] / 2));
    return slot;
  }
  const int64_t d = n - 1;
  const int64_t h = d / 2;
  for (int64_t i = 0; i < n; ++i) {
    int ch[3];
    for (int k = 0; k < 3; ++k)
      ch[k] = d0[k] + static_cast<int>((i * delta[k] + h) / d);
    ramp.push_back(RGBColour(ch[0], ch[1], ch[2]));
  }
  return slot;
}

void TRampCache::Clear() {
  for (auto& r : slots_)
    r.clear();
  next_ = 0;
}

TRampCache& SharedRampCache() {
  static TRampCache cache;
  return cache;
}

const std::vector<TColor>& GradientRamp(int n, TColor start, TColor end) {
  TRampCache& cache = SharedRampCache();
  return cache.Ramp(cache.GetRamp(n, ResolveColour(start), ResolveColour(end)));
}
