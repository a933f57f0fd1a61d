// Reading a skin package into skin elements.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "engine/skin_elements.h"
#include "format/quick_ini.h"
#include "format/skin_package.h"

// Facts about the platform that parsing needs.
struct TParseEnvironment {
  int HScrollWidth = 17;  // SM_CXHSCROLL: width of a combo box's button
};

// Loads the member an INI value names into `bitmap`: the folder part is
// dropped; a name that is empty, not ending in ".bmp" (exactly), missing,
// empty or not a decodable BMP gives an empty bitmap. Never throws.
void ReadMemberBitmap(const TSkinReader& reader, TSkinBitmap& bitmap, std::string_view value);

// Reads every section the engine knows from the INI into `content`, taking
// bitmaps from the package's members. Sets SkinEmpty false at the end.
void ParseSkin(TSkinContent& content, const TQuickIni& ini, const TSkinReader& reader,
               const TParseEnvironment& env = {});

// A whole package: refused (false, `content` untouched) when the reader
// rejects it or it holds no member whose name contains ".ini"; otherwise
// parsed (true).
bool LoadSkinPackage(TSkinContent& content, std::span<const uint8_t> package,
                     const TParseEnvironment& env = {});
