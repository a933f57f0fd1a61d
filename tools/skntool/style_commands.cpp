// skntool variants / convert / import: visual-style conversion and partial
// import of another skin from the command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "convert/skin_import.h"
#include "convert/style_convert.h"
#include "editor/skin_document.h"
#include "format/file_io.h"

namespace {

constexpr int kOk = 0;
constexpr int kBadInput = 1;
constexpr int kUsage = 2;

int Fail(const std::string& what) {
  std::string line = what;
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  std::fprintf(stderr, "skntool: %s\n", line.c_str());
  return kBadInput;
}

}  // namespace

// skntool variants STYLE
int StyleVariantsCommand(const std::vector<std::string>& args) {
  if (args.size() != 1) return kUsage;
  try {
    TStyleFile style(args[0]);
    for (const std::string& v : style.Variants())
      std::printf("%s\n", v.c_str());
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return kOk;
}

// skntool convert STYLE VARIANT [-o DIR]
int StyleConvertCommand(const std::vector<std::string>& args) {
  std::vector<std::string> plain;
  std::string folder = ".";
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size()) return kUsage;
      folder = args[++i];
    } else {
      plain.push_back(args[i]);
    }
  }
  if (plain.size() != 2) return kUsage;
  try {
    TStyleFile style(plain[0]);
    style.OnMessage = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    bool offered = false;
    for (const std::string& v : style.Variants())
      offered = offered || v == plain[1];
    if (!offered) return Fail(plain[0] + ": the style offers no variant \"" + plain[1] + "\"");
    if (!CreateDirectoryIfMissing(folder)) return Fail("cannot create folder \"" + folder + "\"");
    std::printf("%s\n", style.Convert(plain[1], folder).c_str());
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return kOk;
}

// skntool import DEST SRC GROUP...
int SkinImportCommand(const std::vector<std::string>& args) {
  if (args.size() < 3) return kUsage;
  std::vector<std::string> groups(args.begin() + 2, args.end());
  for (const std::string& g : groups) {
    bool known = false;
    for (const char* k : kImportGroups)
      known = known || g == k;
    if (!known) {
      std::string all;
      for (const char* k : kImportGroups)
        all += std::string(all.empty() ? "" : " ") + k;
      return Fail("unknown group \"" + g + "\"; groups: " + all);
    }
  }
  try {
    TSkinDocument dest;
    switch (dest.Open(args[0], TVersionRule::vrAny)) {
      case TOpenResult::orOpened:
        break;
      case TOpenResult::orMissing:
        return Fail(args[0] + ": no such file");
      case TOpenResult::orNotSupported:
        return Fail(args[0] + ": the package has no INI member");
      case TOpenResult::orRefused:
        return Fail(args[0] + ": " + dest.LastError());
    }
    TSkinImport import(dest.Ini(), dest.FileList());
    if (!import.OpenSource(args[1])) return Fail(args[1] + ": no skin package with an INI member");
    import.Run(groups);
    dest.Save(args[0]);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return kOk;
}
