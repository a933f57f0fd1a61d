// The demos' screen capture: a window's screen area, with some room around
// it for a dropdown, saved as a bitmap file.
#pragma once

#include <windows.h>

#include <string>

// False when the area is off the screen or the file cannot be written.
bool SaveScreenAround(HWND window, int extra_right, int extra_below, const std::string& path);
