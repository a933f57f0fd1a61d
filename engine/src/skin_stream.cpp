#include "engine/skin_stream.h"

#include <algorithm>

std::vector<uint8_t> WriteSkinStream(std::span<const uint8_t> package) {
  const auto n = static_cast<uint32_t>(package.size());
  std::vector<uint8_t> out(4 + package.size());
  for (int i = 0; i < 4; ++i)
    out[static_cast<size_t>(i)] = static_cast<uint8_t>(n >> (8 * i));
  std::copy(package.begin(), package.end(), out.begin() + 4);
  return out;
}

std::optional<std::vector<uint8_t>> ReadSkinStream(std::span<const uint8_t> stored) {
  if (stored.size() < 4) return std::nullopt;
  const auto count = static_cast<int32_t>(
      static_cast<uint32_t>(stored[0]) | (static_cast<uint32_t>(stored[1]) << 8) |
      (static_cast<uint32_t>(stored[2]) << 16) | (static_cast<uint32_t>(stored[3]) << 24));
  if (count < 0 || static_cast<uint64_t>(count) > stored.size() - 4) return std::nullopt;
  return std::vector<uint8_t>(stored.begin() + 4, stored.begin() + 4 + count);
}
