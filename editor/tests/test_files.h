// Reading the editor's resource files in native tests.
#pragma once

#include <string>

#include "format/file_io.h"

inline std::string ReadSourceFile(const std::string& relative) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(std::string(MV_SOURCE_DIR) + "/" + relative, bytes)) return {};
  return std::string(bytes.begin(), bytes.end());
}
inline std::string SchemaResourceText() {
  return ReadSourceFile("editor/resources/skinini.ini");
}
inline std::string HelpResourceText() {
  return ReadSourceFile("editor/resources/help.txt");
}
