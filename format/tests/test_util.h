// Helpers shared by the format tests: byte buffers from text, hand-built
// package bodies, and a scratch folder removed after each test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "format/lzh.h"

namespace testutil {

inline std::vector<uint8_t> Bytes(std::string_view s) {
  return {s.begin(), s.end()};
}
inline std::string Text(const std::vector<uint8_t>& b) {
  return {b.begin(), b.end()};
}

inline void PutU32(std::vector<uint8_t>& o, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v)
    b = static_cast<uint8_t>(rng() % static_cast<uint32_t>(alphabet));
  return v;
}

// A package body laid out by hand, so tests can write what our writer never
// would (other versions, non-zero reserved bytes, lying sizes).
struct BodySpec {
  uint32_t version = 70000;
  int filler = 69;
  std::string names;  // the raw name list
  std::vector<uint32_t> sizes;
  std::vector<uint8_t> data;
  uint8_t reserved = 0;
  uint8_t filler_byte = 0;
  std::optional<int32_t> list_length;  // unset: the length of `names`
};

inline std::vector<uint8_t> MakeBody(const BodySpec& s) {
  std::vector<uint8_t> b;
  PutU32(b, s.version);
  PutU32(b, static_cast<uint32_t>(s.list_length.value_or(static_cast<int32_t>(s.names.size()))));
  b.insert(b.end(), 8, s.reserved);
  b.insert(b.end(), static_cast<size_t>(s.filler), s.filler_byte);
  b.insert(b.end(), s.names.begin(), s.names.end());
  for (uint32_t z : s.sizes)
    PutU32(b, z);
  b.insert(b.end(), s.data.begin(), s.data.end());
  return b;
}

// U, then the coded body.
inline std::vector<uint8_t> Wrap(const std::vector<uint8_t>& body, int64_t u = -1) {
  std::vector<uint8_t> f;
  PutU32(f, static_cast<uint32_t>(u >= 0 ? u : static_cast<int64_t>(body.size())));
  std::vector<uint8_t> coded = LzhPack(body);
  f.insert(f.end(), coded.begin(), coded.end());
  return f;
}

class ScratchDir {
 public:
  ScratchDir() {
    static int n = 0;
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("mvtest-" + std::to_string(rd()) + "-" + std::to_string(n++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string File(std::string_view name) const { return (path_ / name).string(); }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace testutil
