// skntool check PKG: the skin checker's findings, one a line on stdout.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/skin_checker.h"
#include "format/file_io.h"

// 0: no findings; 1: findings; 2: the package cannot be read (why on stderr).
int SkinCheckCommand(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string why;
  TSkinCheckReport report;
  if (ReadFileBytes(path, bytes, &why)) {
    report = CheckSkinPackage(bytes);
    why = path + ": " + report.Why;
  }
  if (!report.Readable) {
    for (char& c : why)
      if (c == '\r' || c == '\n') c = ' ';
    std::fprintf(stderr, "skntool: %s\n", why.c_str());
    return 2;
  }
  for (const TSkinFinding& f : report.Findings)
    std::printf("%s\n", FormatFinding(f).c_str());
  return report.Findings.empty() ? 0 : 1;
}
