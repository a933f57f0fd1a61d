// The portable painter: executes drawing plans on 24-bit images with
// nearest-pixel stretching (the colour-on-colour look). Used where the engine
// composes bitmaps while parsing a skin, by the skin generators, and as the
// reference the platform painters are compared with.
#pragma once

#include "engine/geometry.h"
#include "format/bmp.h"

// Copies src's rectangle onto dst's rectangle, stretched by nearest pixel
// (sampled at pixel centres, like StretchBlt in colour-on-colour mode).
// With `transparent`, magenta source pixels leave the target as it was.
// Both rectangles are clipped to their images.
void StretchCopy(TPixmap& dst, const TRect& d, const TPixmap& src, const TRect& s,
                 bool transparent = false);
// Runs a plan with its destination moved by (dx, dy).
void ExecutePlan(TPixmap& dst, int dx, int dy, const TPixmap& src, const std::vector<TBlit>& plan,
                 bool transparent = false);

// Frame k of n of `src`, nine-sliced to width by height.
TPixmap SliceFrameImage(int width, int height, const TPixmap& src, TMargins m, bool vertical,
                        bool tile, int n, int k);
// The same painted onto dst at the rectangle's top-left corner.
void DrawElementImage(TPixmap& dst, const TRect& r, const TPixmap& src, bool vertical, bool tile,
                      bool transparent, int n, int k, TMargins m);
// A horizontal frame stretched to the rectangle, or drawn unscaled and centred.
void DrawFrameScaledImage(TPixmap& dst, const TRect& r, const TPixmap& src, bool transparent, int n,
                          int k);
void DrawFrameCentredImage(TPixmap& dst, const TRect& r, const TPixmap& src, bool transparent,
                           int n, int k);
