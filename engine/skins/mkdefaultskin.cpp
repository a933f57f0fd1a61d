// mkdefaultskin OUT.skn: draws the built-in default skin and writes its
// package (the committed engine/skins/untitle.skn is this program's output).
#include <cstdio>
#include <exception>

#include "default_skin_art.h"
#include "format/file_io.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: mkdefaultskin OUT.skn\n", stderr);
    return 2;
  }
  try {
    WriteFileAtomic(argv[1], MakeDefaultSkinPackage());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkdefaultskin: %s\n", e.what());
    return 1;
  }
  return 0;
}
