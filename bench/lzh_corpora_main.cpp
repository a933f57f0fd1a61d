// lzh_corpora DIR [PACKAGE.skn]: writes the codec benchmark's corpora into DIR
// as NAME.bin, one a line on stdout; the converted skin is left out, with a
// note on stderr, when it cannot be had.
#include <cstdio>
#include <exception>
#include <string>

#include "format/file_io.h"
#include "lzh_corpora.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: lzh_corpora DIR [PACKAGE.skn]\n");
    return 2;
  }
  const std::string dir = IncludeTrailingSeparator(argv[1]);
  if (!CreateDirectoryIfMissing(dir)) {
    std::fprintf(stderr, "lzh_corpora: cannot create folder \"%s\"\n", argv[1]);
    return 1;
  }
  std::string skipped;
  try {
    for (const TLzhCorpus& c : MakeLzhCorpora(argc == 3 ? argv[2] : "", skipped)) {
      WriteFileAtomic(dir + c.Name + ".bin", c.Bytes);
      std::printf("%s\n", c.Name.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lzh_corpora: %s\n", e.what());
    return 1;
  }
  if (!skipped.empty()) std::fprintf(stderr, "%s\n", skipped.c_str());
  return 0;
}
