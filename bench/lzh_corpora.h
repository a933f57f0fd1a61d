// The corpora the codec is measured on: what skin packages carry (converted
// and built-in skins' members, flat UI bitmaps, INI text) and the two ends of
// compressibility (photograph-like 24-bit noise, random bytes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TLzhCorpus {
  std::string Name;  // short, one word: used in benchmark and file names
  std::vector<uint8_t> Bytes;
};

// The bitmap members of a skin package, one after another. When `package` is
// empty, the light visual style of the system is converted (first variant)
// instead. Returns false, with `why`, when there is nothing to read.
bool LoadSkinBitmaps(const std::string& package, std::vector<uint8_t>& out, std::string& why);

// The built-in default skin's members, INI included, in package order.
std::vector<uint8_t> DefaultSkinMembers();
// 24-bit pixels of a smooth picture with sensor-like noise on every channel.
std::vector<uint8_t> PhotoNoise(size_t bytes);
// 24-bit pixels of flat UI pieces: faces, one-pixel rims, magenta outside.
std::vector<uint8_t> FlatBitmaps(size_t bytes);
// Skin INI text: many sections with colour, bitmap and margin keys.
std::vector<uint8_t> IniText(size_t bytes);
std::vector<uint8_t> RandomBytes(size_t bytes);

// Every corpus; the converted skin is left out (with a note in `skipped`) when
// it cannot be had.
std::vector<TLzhCorpus> MakeLzhCorpora(const std::string& package, std::string& skipped);
