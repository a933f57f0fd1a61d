// Colours as the skin INI writes them: three decimal numbers "R G B".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reads a colour typed into the grid. The numbers may be separated by any
// non-digit characters ("255 128 0", "255,128,0", "255 - 128 - 0"); a text
// with fewer than three numbers keeps the missing components 0, and a last
// number is taken only as the third component (so "200 100" is red 200).
// Numbers past the third are ignored. Each component is taken modulo 256.
//
// Returns false for a number that does not fit a signed 32-bit integer.
// An empty (or blank) text is valid but has no colour: `colour` is then left
// empty. On success with a colour, `colour` is 0x00BBGGRR.
bool ParseRGB(std::string_view text, std::optional<uint32_t>& colour);

// "R G B" of a 0x00BBGGRR colour.
std::string FormatRGB(uint32_t colour);
