// Pixel routines on portable images (TPixmap from the BMP codec). The skin
// engine keeps every bitmap as a 24-bit image, rows top-down, blue, green,
// red bytes per pixel; colours are TColor values (0x00BBGGRR).
#pragma once

#include "engine/colour.h"
#include "format/bmp.h"

// A copy of any image at 24 (or 32) bits per pixel; indexed images go
// through their palette, the alpha byte of 32-bit images is dropped (24) or
// set to 255 where the source had none (32).
TPixmap To24Bit(const TPixmap& src);
TPixmap To32Bit(const TPixmap& src);
// Converts in place when the image is not already 24-bit.
void Ensure24Bit(TPixmap& image);

// A width by height 24-bit image filled with one colour (references resolved).
TPixmap SolidImage(int width, int height, TColor colour);

// Pixel access on 24- or 32-bit images; outside the image reads black and
// writes nothing.
TColor GetPixel(const TPixmap& image, int x, int y);
void SetPixel(TPixmap& image, int x, int y, TColor colour);
// Fills the part of the rectangle [x1, x2) x [y1, y2) inside the image.
void FillRectangle(TPixmap& image, int x1, int y1, int x2, int y2, TColor colour);

// Every exactly magenta pixel becomes `colour` (a reference is resolved);
// the image becomes 24-bit first.
void ReplaceMagenta(TPixmap& image, TColor colour);
// Left-right mirror, top-bottom flip, quarter turns (24-bit results).
void MirrorHorizontal(TPixmap& image);
void FlipVertical(TPixmap& image);
// 90 degrees counter-clockwise: result (x, y) = source (W - 1 - y, x).
void RotateLeft(TPixmap& image);
// 90 degrees clockwise: result (x, y) = source (y, H - 1 - x).
void RotateRight(TPixmap& image);

// The part [x, x + w) x [y, y + h) of a 24/32-bit image as a new 24-bit
// image; the rectangle is clipped to the source.
TPixmap CropImage(const TPixmap& src, int x, int y, int w, int h);

// A vertical (top to bottom) or horizontal (left to right) gradient image
// through the shared ramp cache.
TPixmap GradientImage(int width, int height, TColor start, TColor end, bool vertical);
