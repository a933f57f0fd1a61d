#include "format/text.h"

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20)
    ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20)
    --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) {
  return std::string(TrimView(s));
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string LowerAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    c = LowerAscii(c);
  return r;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithIgnoreCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsIgnoreCase(s.substr(0, prefix.size()), prefix);
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  if (s.empty()) return def;
  if (s[0] == '$') {
    if (s.size() == 1) return def;
    uint64_t v = 0;
    for (size_t i = 1; i < s.size(); ++i) {
      char c = s[i];
      unsigned d;
      if (c >= '0' && c <= '9') {
        d = static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        d = static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        d = static_cast<unsigned>(c - 'A' + 10);
      } else {
        return def;
      }
      v = v * 16 + d;
      if (v > 0x7FFFFFFF) return def;
    }
    return static_cast<int32_t>(v);
  }
  size_t i = 0;
  bool neg = false;
  if (s[0] == '+' || s[0] == '-') {
    neg = s[0] == '-';
    i = 1;
  }
  if (i == s.size()) return def;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c < '0' || c > '9') return def;
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > 0x80000000ull) return def;
  }
  if (neg) return static_cast<int32_t>(-static_cast<int64_t>(v));
  if (v > 0x7FFFFFFF) return def;
  return static_cast<int32_t>(v);
}

int32_t IniStrToIntDef(std::string_view s, int32_t def) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    std::string t = "$";
    t.append(s.substr(2));
    return StrToIntDef(t, def);
  }
  return StrToIntDef(s, def);
}
