#include "editor/colour_text.h"

#include <cstdio>

#include "format/text.h"

namespace {

// Digits accumulated so far; `overflow` once they no longer fit a signed
// 32-bit integer (further digits are still consumed, the value stays).
struct TNumber {
  int64_t Value = 0;
  bool Digits = false;
  bool Overflow = false;
  void Add(char c) {
    Digits = true;
    if (Overflow) return;
    Value = Value * 10 + (c - '0');
    if (Value > INT32_MAX) Overflow = true;
  }
};

}  // namespace

bool ParseRGB(std::string_view text, std::optional<uint32_t>& colour) {
  colour.reset();
  std::string_view s = TrimView(text);
  if (s.empty()) return true;
  int64_t parts[3] = {0, 0, 0};
  int taken = 0;
  bool overflow = false;
  TNumber n;
  for (char c : s) {
    if (c >= '0' && c <= '9') {
      n.Add(c);
      continue;
    }
    if (n.Digits) {
      if (taken < 3) {
        overflow = overflow || n.Overflow;
        parts[taken] = n.Value;
      }
      ++taken;
    }
    n = TNumber();
  }
  if (n.Digits && taken == 2) {
    overflow = overflow || n.Overflow;
    parts[2] = n.Value;
  }
  if (overflow) return false;
  colour = static_cast<uint32_t>(parts[0] % 256) | static_cast<uint32_t>(parts[1] % 256) << 8 |
           static_cast<uint32_t>(parts[2] % 256) << 16;
  return true;
}

std::string FormatRGB(uint32_t colour) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%u %u %u", colour & 0xFFu, (colour >> 8) & 0xFFu,
                (colour >> 16) & 0xFFu);
  return buf;
}
