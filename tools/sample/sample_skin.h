// A small generated skin: an INI text and 24-bit frame strips drawn with
// gradients, flat areas and magenta transparency, like real skins. It feeds
// `make run`, the format benchmarks and the tests; nothing in it is copied
// from anywhere.
#pragma once

#include <vector>

#include "format/skin_file_list.h"

// `scale` multiplies the bitmap sizes (1 gives about 100 KB of members).
std::vector<TSkinFileEntry> MakeSampleSkin(int scale = 1);
