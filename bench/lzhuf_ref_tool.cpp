// The reference coder as a program of its own, with the file format of
// `skntool lzh`: `c IN OUT` writes a 4-byte little-endian length and the coded
// bits of IN; `d IN OUT` reads such a file back. It exists so whole commands
// can be timed against it (bench/lzh_commands.sh).
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "format/file_io.h"
#include "reference/lzhuf_ref.h"

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "lzhuf_ref_tool: %s\n", why.c_str());
  return 1;
}

int Run(const std::string& mode, const std::string& in, const std::string& out) {
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadFileBytes(in, bytes, &why)) return Fail(why);
  std::vector<uint8_t> result;
  if (mode == "c") {
    const auto n = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i)
      result.push_back(static_cast<uint8_t>(n >> (8 * i)));
    std::vector<uint8_t> coded = lzhuf_ref::Encode(bytes);
    result.insert(result.end(), coded.begin(), coded.end());
  } else {
    if (bytes.size() < 4) return Fail(in + ": shorter than its 4-byte length prefix");
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
      n |= static_cast<uint32_t>(bytes[static_cast<size_t>(i)]) << (8 * i);
    // A symbol costs at least one bit and yields at most 60 bytes.
    if (n > (bytes.size() - 4) * 48 + 60)
      return Fail(in + ": length prefix larger than the data can hold");
    bytes.erase(bytes.begin(), bytes.begin() + 4);
    result = lzhuf_ref::Decode(bytes, n);
  }
  try {
    WriteFileAtomic(out, result);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 4 ? argv[1] : "";
  if (mode != "c" && mode != "d") {
    std::fprintf(stderr, "usage: lzhuf_ref_tool c|d IN OUT\n");
    return 2;
  }
  return Run(mode, argv[2], argv[3]);
}
