// Bitmaps the engine carries itself: the four 16 by 16 menu-bar glyphs and the
// track-bar channel images used when a skin has none.
#pragma once

#include "format/bmp.h"

// 64 by 16 on white: restore, maximise, minimise, close.
TPixmap MakeMenuGlyphs();
// Horizontal and vertical track-bar channels (margins 3 on every side).
TPixmap MakeTrackBitmap();
TPixmap MakeTrackVertBitmap();
