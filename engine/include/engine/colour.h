// Colours of the engine: 0x00BBGGRR values (red in the low byte). A value with
// the high bit set refers to a system colour whose index is its low byte; it
// is resolved through a replaceable hook when it is drawn.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

using TColor = uint32_t;

constexpr TColor kMagenta = 0x00FF00FF;
constexpr TColor kWhite = 0x00FFFFFF;
constexpr TColor kBlack = 0x00000000;

constexpr TColor RGBColour(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(TColor c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

// System colour indexes (the platform's COLOR_* numbering).
enum TSysColourIndex : int {
  kSysScrollbar = 0,
  kSysBackground = 1,
  kSysActiveCaption = 2,
  kSysInactiveCaption = 3,
  kSysMenu = 4,
  kSysWindow = 5,
  kSysWindowFrame = 6,
  kSysMenuText = 7,
  kSysWindowText = 8,
  kSysCaptionText = 9,
  kSysActiveBorder = 10,
  kSysInactiveBorder = 11,
  kSysAppWorkspace = 12,
  kSysHighlight = 13,
  kSysHighlightText = 14,
  kSysBtnFace = 15,
  kSysBtnShadow = 16,
  kSysGrayText = 17,
  kSysBtnText = 18,
  kSysInactiveCaptionText = 19,
  kSysBtnHighlight = 20,
  kSys3DDkShadow = 21,
  kSys3DLight = 22,
  kSysInfoText = 23,
  kSysInfoBk = 24,
};

// The reference form of a system colour (high byte 0xFF, low byte the index).
constexpr TColor SystemColourRef(int index) {
  return 0xFF000000u | static_cast<TColor>(index & 0xFF);
}
constexpr bool IsSystemColourRef(TColor c) {
  return (c & 0x80000000u) != 0;
}

// The hook that turns a system colour index into its current colour. The
// Windows build installs GetSysColor; without a hook a fixed classic table is
// used, so portable code and tests are deterministic.
using TSystemColourFn = TColor (*)(int index);
void SetSystemColourResolver(TSystemColourFn fn);
TColor DefaultSystemColour(int index);
// A system colour reference becomes the colour it stands for; others pass.
TColor ResolveColour(TColor c);

// Mixes c1 and c2: weight a is a percentage below 100 and a per-mille value
// from 100 upward; c1 gets a, c2 the rest. References are resolved first.
TColor Blend(TColor c1, TColor c2, int a);

// 200 for colours whose channels are all below 160, else the saturation
// (max - min) / max scaled to 0..255, rounded half to even.
int SaturationMeasure(TColor c);

// The colour text of a skin INI: up to three decimal numbers in any
// separators; see the definition for the exact rules.
TColor ParseColourValue(std::string_view text);

// Gradient ramps: a cache of 16 colour lists, reused round-robin.
class TRampCache {
 public:
  static constexpr int kSlots = 16;
  // Index of a slot holding the ramp of n colours from c1 to c2 (both
  // resolved to RGB by the caller). n < 1 gives an empty ramp.
  int GetRamp(int n, TColor c1, TColor c2);
  const std::vector<TColor>& Ramp(int slot) const { return slots_[static_cast<size_t>(slot)]; }
  int NextSlot() const { return next_; }
  void Clear();

 private:
  std::array<std::vector<TColor>, kSlots> slots_{};
  int next_ = 0;
};

// The engine-wide cache the gradient painters share (GUI thread only).
TRampCache& SharedRampCache();
// Fills `out` with the ramp from the shared cache.
const std::vector<TColor>& GradientRamp(int n, TColor start, TColor end);
