// skntool: inspect, unpack and build skin packages from the command line.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "format/file_io.h"
#include "format/lzh.h"
#include "format/skin_package.h"
#include "format/text.h"
#include "engine_commands.h"

namespace {

constexpr int kOk = 0;
constexpr int kBadInput = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: skntool COMMAND ARGS...\n"
    "\n"
    "  list PKG                 version, then index, size and name of every member\n"
    "  extract PKG DIR          write every member into DIR (created if missing)\n"
    "  pack -o PKG FILE...      build a version 70000 package from the files, in order,\n"
    "                           each named by its bare file name\n"
    "  ini PKG                  print the INI member\n"
    "  lzh c IN OUT             LZHUF-code IN, with a 4-byte length prefix\n"
    "  lzh d IN OUT             decode such a file\n"
    "  variants STYLE           the colour variants a .msstyles file offers\n"
    "  convert STYLE VARIANT [-o DIR]  convert a variant into DIR/BASE-VARIANT.skn\n"
    "  import DEST SRC GROUP... copy setting groups (and their bitmaps) from SRC into DEST\n"
    "  default OUT              write the built-in default skin package\n"
    "  render PKG ELEMENT W H FRAME OUT.bmp   draw one skin element (Windows build)\n"
    "  check PKG                find what will not work in a skin: one finding a line,\n"
    "                           SEVERITY<TAB>SECTION<TAB>KEY<TAB>MESSAGE (SEVERITY error or\n"
    "                           warning, \"-\" for no section or key); exit 0 clean,\n"
    "                           1 findings, 2 the package cannot be read (why on stderr)\n"
    "  --help                   this text\n"
    "\n"
    "exit codes: 0 done, 1 bad input (reason on stderr), 2 usage (check: see above)\n";

int Usage() {
  std::fputs(kUsageText, stderr);
  return kUsage;
}

// One line on stderr; line breaks inside the message become spaces.
int Fail(const std::string& what) {
  std::string line = what;
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  std::fprintf(stderr, "skntool: %s\n", line.c_str());
  return kBadInput;
}

bool LoadPackage(const std::string& path, TSkinReader& reader, std::string& why) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, &why)) return false;
  if (!reader.LoadFromStream(bytes)) {
    why = path + ": " + reader.LastError();
    return false;
  }
  return true;
}

void WriteStdout(const void* data, size_t size) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::fwrite(data, 1, size, stdout);
  std::fflush(stdout);
}

int List(const std::string& pkg) {
  TSkinReader reader;
  std::string why;
  if (!LoadPackage(pkg, reader, why)) return Fail(why);
  std::printf("version %u\n", reader.Version());
  for (int i = 0; i < reader.Count(); ++i) {
    std::printf("%4d %10zu %s\n", i, reader.Member(i).size(),
                reader.Names()[static_cast<size_t>(i)].c_str());
  }
  return kOk;
}

int Extract(const std::string& pkg, const std::string& dir) {
  TSkinReader reader;
  std::string why;
  if (!LoadPackage(pkg, reader, why)) return Fail(why);
  if (!CreateDirectoryIfMissing(dir)) return Fail("cannot create folder \"" + dir + "\"");
  std::map<std::string, int> used;  // lowercased file names already written
  for (int i = 0; i < reader.Count(); ++i) {
    std::string name = SafeFileName(reader.Names()[static_cast<size_t>(i)]);
    std::string candidate = name;
    for (int n = 2; used.count(LowerAscii(candidate)); ++n) {
      size_t dot = name.rfind('.');
      if (dot == std::string::npos || dot == 0) dot = name.size();
      candidate = name.substr(0, dot) + "_" + std::to_string(n) + name.substr(dot);
    }
    used[LowerAscii(candidate)] = i;
    try {
      WriteFileAtomic(IncludeTrailingSeparator(dir) + candidate, reader.Member(i));
    } catch (const EFileError& e) {
      return Fail(e.what());
    }
    std::printf("%s\n", candidate.c_str());
  }
  return kOk;
}

int Pack(const std::vector<std::string>& args) {
  std::string out;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size() || !out.empty()) return Usage();
      out = args[++i];
    } else {
      files.push_back(args[i]);
    }
  }
  if (out.empty()) return Usage();
  TSkinWriter writer;
  try {
    for (const std::string& f : files) {
      std::vector<uint8_t> bytes;
      std::string why;
      if (!ReadFileBytes(f, bytes, &why)) return Fail(why);
      std::string name = ExtractFileName(f);
      if (name.empty()) return Fail("\"" + f + "\" names no file");
      writer.AddMember(name, bytes);
    }
    writer.SaveToFile(out);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return kOk;
}

int Ini(const std::string& pkg) {
  TSkinReader reader;
  std::string why;
  if (!LoadPackage(pkg, reader, why)) return Fail(why);
  std::vector<uint8_t> bytes;
  std::string name;
  if (!reader.FindMember(".ini", bytes, name)) return Fail(pkg + ": the package has no INI member");
  WriteStdout(bytes.data(), bytes.size());
  return kOk;
}

int Lzh(const std::string& mode, const std::string& in, const std::string& out) {
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadFileBytes(in, bytes, &why)) return Fail(why);
  std::vector<uint8_t> result;
  if (mode == "c") {
    uint32_t n = static_cast<uint32_t>(bytes.size());
    result = {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n >> 16),
              static_cast<uint8_t>(n >> 24)};
    std::vector<uint8_t> coded = LzhPack(bytes);
    result.insert(result.end(), coded.begin(), coded.end());
  } else {
    if (bytes.size() < 4) return Fail(in + ": shorter than its 4-byte length prefix");
    uint32_t n = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                 static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    std::span<const uint8_t> coded(bytes.data() + 4, bytes.size() - 4);
    if (n > LzhMaxExpansion(coded.size())) {
      return Fail(in + ": length prefix " + std::to_string(n) +
                  " is larger than the data can hold");
    }
    TLzhUnpacked u = LzhUnpack(coded, n);
    if (u.Overrun) return Fail(in + ": the coded data is truncated");
    if (u.Bytes.size() != n)
      return Fail(in + ": the decoded length differs from the length prefix");
    result = std::move(u.Bytes);
  }
  try {
    WriteFileAtomic(out, result);
  } catch (const EFileError& e) {
    return Fail(e.what());
  }
  return kOk;
}

}  // namespace

// Commands in their own source files; they return 2 for a usage error.
int StyleVariantsCommand(const std::vector<std::string>& args);
int StyleConvertCommand(const std::vector<std::string>& args);
int SkinImportCommand(const std::vector<std::string>& args);
int SkinCheckCommand(const std::string& path);
static int Sub(int rc) {
  return rc == kUsage ? Usage() : rc;
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& cmd = args[0];
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    std::fputs(kUsageText, stdout);
    return kOk;
  }
  if (int rc = 0; RunEngineCommand(args, rc)) return rc;
  try {
    if (cmd == "list" && args.size() == 2) return List(args[1]);
    if (cmd == "extract" && args.size() == 3) return Extract(args[1], args[2]);
    if (cmd == "pack") return Pack({args.begin() + 1, args.end()});
    if (cmd == "ini" && args.size() == 2) return Ini(args[1]);
    if (cmd == "check" && args.size() == 2) return SkinCheckCommand(args[1]);
    if (cmd == "variants") return Sub(StyleVariantsCommand({args.begin() + 1, args.end()}));
    if (cmd == "convert") return Sub(StyleConvertCommand({args.begin() + 1, args.end()}));
    if (cmd == "import") return Sub(SkinImportCommand({args.begin() + 1, args.end()}));
    if (cmd == "lzh" && args.size() == 4 && (args[1] == "c" || args[1] == "d")) {
      return Lzh(args[1], args[2], args[3]);
    }
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return Usage();
}
