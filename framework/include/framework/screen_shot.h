// Screen capture: the one copy of the screen into a 24-bit bitmap, for the
// programs' --shot options (a window's screen area, with some room around it
// for a dropdown, saved as a bitmap file) and for picking colours from a
// photograph of the screen.
#pragma once

#include <windows.h>

#include <string>

class TBitmap;

// The screen in screen coordinates: (0, 0) to its resolution.
RECT ScreenRect();

// Copies `area` (screen coordinates) clipped to the screen into `shot`, which
// becomes a 24-bit bitmap of the clipped size. False, with `shot` emptied,
// when nothing of the area is on the screen.
bool CaptureScreen(RECT area, TBitmap& shot);

// False when the area is off the screen or the file cannot be written.
bool SaveScreenAround(HWND window, int extra_right, int extra_below, const std::string& path);
