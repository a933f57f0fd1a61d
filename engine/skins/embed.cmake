# Writes the bytes of IN as a C++ array behind DefaultSkinPackage() into OUT.
file(READ ${IN} _hex HEX)
string(LENGTH "${_hex}" _len)
math(EXPR _count "${_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" _bytes "${_bytes}")
file(WRITE ${OUT} "// Generated from untitle.skn; do not edit.
#include \"default_skin.h\"

namespace {
const uint8_t kPackage[${_count}] = {
${_bytes}
};
}  // namespace

std::span<const uint8_t> DefaultSkinPackage() { return kPackage; }
")
