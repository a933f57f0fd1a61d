// Without libFuzzer, a fuzz target runs every file of the folders (or files)
// named on its command line once: the corpus becomes a regression test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "format/file_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  int runs = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::filesystem::path> files;
    std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (const auto& e : std::filesystem::directory_iterator(p)) {
        if (e.is_regular_file()) files.push_back(e.path());
      }
    } else {
      files.push_back(p);
    }
    for (const auto& f : files) {
      std::vector<uint8_t> bytes;
      if (!ReadFileBytes(f.string(), bytes)) {
        std::fprintf(stderr, "cannot read %s\n", f.string().c_str());
        return 1;
      }
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++runs;
    }
  }
  std::printf("replayed %d inputs\n", runs);
  return runs > 0 ? 0 : 1;
}
