// A plain transcription of the classic LZHUF coder (N 4096, F 60, threshold 2),
// byte at a time, kept as the yardstick for our codec: the tests check that
// both produce the same bits, the benchmarks measure against it.
#pragma once

#include <cstdint>
#include <vector>

namespace lzhuf_ref {

// Returns the coded bits (without any length prefix).
std::vector<uint8_t> Encode(const std::vector<uint8_t>& input);
// Decodes `size` bytes from the coded bits; missing input reads as zero bits.
std::vector<uint8_t> Decode(const std::vector<uint8_t>& coded, uint32_t size);

}  // namespace lzhuf_ref
