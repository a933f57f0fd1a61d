// Screen capture for the programs' --shot options: a window's screen area,
// with some room around it for a dropdown, clipped to the screen and saved as
// a 24-bit bitmap file.
#pragma once

#include <windows.h>

#include <string>

// False when the area is off the screen or the file cannot be written.
bool SaveScreenAround(HWND window, int extra_right, int extra_below, const std::string& path);
