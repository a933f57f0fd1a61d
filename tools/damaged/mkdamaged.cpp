// Writes the damaged-skin corpus into a folder, one package a file, and an
// index "NAME<TAB>KIND<TAB>readable|unreadable" a line. Command line:
//   mkdamaged DIR [--sample N] [--seed N] [--style FILE | --no-style]
// --sample N writes about N packages covering every damage kind; --style
// names the visual style to convert as the second base skin (Wine's light
// style by default), --no-style uses the default skin alone.
// Exit codes: 0 done, 1 a file could not be written, 2 usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "damaged_corpus.h"
#include "format/file_io.h"

namespace {

struct TOptions {
  std::string Folder;
  size_t Sample = 0;  // 0: the whole corpus
  TCorpusOptions Corpus;
};

bool ParseOptions(int argc, char** argv, TOptions& o) {
  o.Corpus.StylePath = LightStylePath();
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--sample") == 0 && has_value) {
      o.Sample = std::strtoul(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--seed") == 0 && has_value) {
      o.Corpus.Seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--style") == 0 && has_value) {
      o.Corpus.StylePath = argv[++i];
    } else if (std::strcmp(argv[i], "--no-style") == 0) {
      o.Corpus.StylePath.clear();
    } else if (o.Folder.empty() && argv[i][0] != '-') {
      o.Folder = argv[i];
    } else {
      return false;
    }
  }
  return !o.Folder.empty();
}

}  // namespace

int main(int argc, char** argv) {
  TOptions o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: mkdamaged DIR [--sample N] [--seed N] [--style FILE | --no-style]\n");
    return 2;
  }
  const TDamagedCorpus corpus = BuildDamagedCorpus(o.Corpus);
  for (const std::string& note : corpus.Notes)
    std::fprintf(stderr, "mkdamaged: %s\n", note.c_str());
  std::vector<const TDamagedSkin*> skins;
  if (o.Sample > 0) {
    skins = SampleCorpus(corpus, o.Sample);
  } else {
    for (const TDamagedSkin& s : corpus.Skins)
      skins.push_back(&s);
  }
  try {
    CreateDirectoryIfMissing(o.Folder);
    const std::string folder = IncludeTrailingSeparator(o.Folder);
    std::string index;
    for (const TDamagedSkin* s : skins) {
      WriteFileAtomic(folder + s->Name, s->Package);
      index += s->Name + "\t" + DamageKindName(s->Kind) + "\t" +
               (s->Readable ? "readable" : "unreadable") + "\n";
    }
    WriteFileAtomic(folder + "index.txt", index);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkdamaged: %s\n", e.what());
    return 1;
  }
  std::printf("%zu packages in %s\n", skins.size(), o.Folder.c_str());
  return 0;
}
