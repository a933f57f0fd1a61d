// The main tool bar's 16 x 16 glyphs, drawn at start-up: one cell per
// button, in button order (convert, new, open, save, refresh, test,
// snapshot, three help commands, add button, add colour, delete, import, INI,
// check).
#pragma once

#include "framework/graphics.h"

constexpr TColor kToolbarGlyphKey = 0xFF00FF;  // transparent (magenta)
constexpr int kToolbarGlyphCount = 16;

void PaintToolbarGlyphs(TBitmap& strip);
