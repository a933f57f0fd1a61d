// The stored form of a skin package inside a form resource: a 32-bit
// little-endian byte count N, then N bytes of the package (nothing after the
// count when N is 0).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

std::vector<uint8_t> WriteSkinStream(std::span<const uint8_t> package);
// The package bytes of a stored stream; nullopt (the stream is ignored) when
// the count is missing, negative or larger than the bytes that follow.
// An empty package (count 0) gives an empty vector.
std::optional<std::vector<uint8_t>> ReadSkinStream(std::span<const uint8_t> stored);
