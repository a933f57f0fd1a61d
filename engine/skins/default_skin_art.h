// The built-in default skin "UNTITLE": a light metallic skin drawn by code.
// Everything in it comes from the drawing routines in default_skin_*.cpp;
// change them and run mkdefaultskin to rebuild untitle.skn.
#pragma once

#include <cstdint>
#include <vector>

#include "format/skin_file_list.h"

// The INI member "metallic.ini" first, then the bitmap members.
std::vector<TSkinFileEntry> MakeDefaultSkinMembers();
// The whole package (version 20000), byte for byte what untitle.skn holds.
std::vector<uint8_t> MakeDefaultSkinPackage();
