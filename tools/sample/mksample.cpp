// mksample DIR [SCALE]: writes the generated sample skin's files into DIR and
// prints their paths, INI first.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "format/file_io.h"
#include "sample_skin.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: mksample DIR [SCALE]\n", stderr);
    return 2;
  }
  std::string dir = argv[1];
  int scale = argc == 3 ? std::atoi(argv[2]) : 1;
  if (!CreateDirectoryIfMissing(dir)) {
    std::fprintf(stderr, "mksample: cannot create folder \"%s\"\n", dir.c_str());
    return 1;
  }
  try {
    for (const TSkinFileEntry& e : MakeSampleSkin(scale)) {
      std::string path = IncludeTrailingSeparator(dir) + e.Name;
      WriteFileAtomic(path, e.Bytes);
      std::printf("%s\n", path.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mksample: %s\n", e.what());
    return 1;
  }
  return 0;
}
