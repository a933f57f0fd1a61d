// Drawing plans: which source rectangle of a frame strip goes where, stretched
// or tiled. Pure functions; the platform painters and the portable raster
// execute them. Every plan clamps its inputs: frame counts to at least 1,
// frame numbers into 1..n, margins into the frame, and source rectangles into
// the bitmap, so that no plan can read outside its bitmap.
#pragma once

#include <vector>

#include "engine/colour.h"
#include "format/bmp.h"

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  // Nothing to draw into or from.
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr TRect Offset(int dx, int dy) const {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

struct TMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend constexpr bool operator==(const TMargins&, const TMargins&) = default;
};

struct TPoint {
  int X = 0, Y = 0;
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// Frame k (1-based) of an n-frame strip of a bitmap_w by bitmap_h bitmap:
// side by side, or stacked when `vertical`. n < 1 counts as 1, k is clamped
// into 1..n.
TRect FrameRect(int bitmap_w, int bitmap_h, int n, int k, bool vertical);

// Margins made to fit a fw by fh frame: negatives become 0, each margin at
// most the frame, and the two of a pair together at most the frame.
TMargins FitMargins(TMargins m, int fw, int fh);

// One copy of a plan: Src (in bitmap coordinates) onto Dst, stretched, or
// when Tiled repeated unscaled from Dst's top-left corner and clipped to Dst.
struct TBlit {
  TRect Dst;
  TRect Src;
  bool Tiled = false;
  friend constexpr bool operator==(const TBlit&, const TBlit&) = default;
};

// The nine-slice plan of a frame onto a width by height target at (0, 0):
// corners unscaled; when the target is narrower than left + right margins
// those two are dropped, likewise top and bottom; edges stretched; the centre
// stretched or tiled. Pieces come in painting order; empty ones are left out.
std::vector<TBlit> PlanSliceFrame(int width, int height, const TRect& frame, TMargins m, bool tile);

// The unscaled positions at which a w by h tile covers the target (rows of
// columns); none when w or h is not positive.
std::vector<TPoint> TilePositions(const TRect& target, int w, int h);

// Three slices along x: left cap, middle piece repeated (each copy stretched
// to the full height), right cap; only the left and right margins count. The
// middle is left out when the caps fill the frame.
std::vector<TBlit> PlanCappedStrip(int width, int height, const TRect& frame, int left, int right);

// Left cap, stretched middle, right cap, full height, into `target`; a frame
// wider than the target is stretched whole.
std::vector<TBlit> PlanThreePartStretch(const TRect& target, const TRect& frame, int left,
                                        int right);

// Top-left corner at which a fw by fh frame is centred in the target (may lie
// outside a smaller target; the halves truncate toward zero).
TPoint CentredOrigin(const TRect& target, int fw, int fh);

// Near-key pixels: r0 <= red <= r0 + tr, and likewise green and blue.
struct TKeyMatch {
  TColor Key = kMagenta;
  int TolBlue = 1, TolGreen = 1, TolRed = 1;
  bool Matches(TColor c) const;
};

// The opaque runs of a bitmap, row by row: every maximal run [x1, x2) of
// pixels that do not match the key in row y gives (x1 + dx, y + dy, x2 + dx,
// y + dy + 1).
std::vector<TRect> RegionRuns(const TPixmap& image, const TKeyMatch& key, int dx = 0, int dy = 0);
