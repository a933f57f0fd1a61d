// Fuzz target: the package reader and the working set on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "format/skin_file_list.h"
#include "format/skin_package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> bytes(data, size);
  TSkinReader reader;
  if (reader.LoadFromStream(bytes)) {
    std::vector<uint8_t> out;
    std::string name;
    reader.FindMember(".ini", out, name);
    for (int i = 0; i < reader.Count(); ++i)
      reader.ReadMember(reader.Names()[static_cast<size_t>(i)], out);
    TSkinFileList list;
    if (list.OpenFromBytes(bytes) && list.Count() <= kMaxSkinMembers) {
      TSkinReader again;
      (void)again.LoadFromStream(list.SaveToBytes());
    }
  }
  return 0;
}
