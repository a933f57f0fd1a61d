// Fuzz target: the PE resource reader. The whole resource tree is walked and
// every item rendered; a file that offers a style variant is converted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "convert/exe_image.h"
#include "convert/style_convert.h"

namespace {

void Walk(TResourceList& list) {
  for (const auto& item : list.Entries()) {
    (void)item->DisplayName();
    if (item->IsDirectory()) {
      Walk(item->Children());
      continue;
    }
    std::span<const uint8_t> data = item->Data();
    if (data.size() != item->DataSize()) std::abort();
    std::vector<uint8_t> out;
    item->WriteData(out);
    std::vector<std::string> lines;
    TPixmap picture;
    try {
      item->AssignTo(lines);
    } catch (const EExeError&) {
    }
    try {
      item->AssignTo(picture);
    } catch (const std::exception&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  try {
    TExeImage image(MemoryFileView(bytes), "fuzz.msstyles");
    Walk(image.RootList());
  } catch (const EExeError&) {
  }
  try {
    TStyleFile style(MemoryFileView(bytes), "fuzz.msstyles");
    if (!style.Variants().empty()) {
      std::string name;
      (void)style.ConvertToBytes(style.Variants()[0], name);
    }
  } catch (const std::exception&) {
  }
  return 0;
}
