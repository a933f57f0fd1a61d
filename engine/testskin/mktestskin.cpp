// mktestskin OUT.skn: writes the generated test skin (test_skin.h) as a
// package file, for programs that take a package on their command line.
#include <cstdio>
#include <exception>

#include "format/file_io.h"
#include "test_skin.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: mktestskin OUT.skn\n", stderr);
    return 2;
  }
  try {
    WriteFileAtomic(argv[1], MakeTestSkin().Package());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mktestskin: %s\n", e.what());
    return 1;
  }
  return 0;
}
