// The picture of the splash form and the About box: a gradient with a few
// overlapping window frames in different skins. The program's name is not
// part of it; the form's label draws that over the picture.
#pragma once

#include "format/bmp.h"

constexpr int kSplashWidth = 513;
constexpr int kSplashHeight = 326;

// A 24-bit kSplashWidth x kSplashHeight picture; the same every time.
TPixmap DrawSplashPicture();
