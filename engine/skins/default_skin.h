// The built-in default skin package, embedded in the program.
#pragma once

#include <cstdint>
#include <span>

std::span<const uint8_t> DefaultSkinPackage();
