// Small text helpers shared by the package and INI code. Texts are 8-bit in
// the system's ANSI code page; only ASCII letters change case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Removes spaces and control characters (bytes up to 0x20) at both ends.
std::string_view TrimView(std::string_view s);
std::string Trim(std::string_view s);

// ASCII letters A-Z become a-z; every other byte stays.
std::string LowerAscii(std::string_view s);
char LowerAscii(char c);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view s, std::string_view prefix);

// A 32-bit signed integer: an optional sign and decimal digits, or "$" and
// hexadecimal digits. Anything else, an empty text, or a value outside the
// signed 32-bit range gives `def`.
int32_t StrToIntDef(std::string_view s, int32_t def);
// The INI form of the above: a leading "0x" or "0X" (on a text longer than two
// characters) reads as "$".
int32_t IniStrToIntDef(std::string_view s, int32_t def);
