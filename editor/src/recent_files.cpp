#include "editor/recent_files.h"

#include "format/file_io.h"

const char* const kRecentSection = "FileList";

std::vector<std::string> AddRecentFile(const std::vector<std::string>& entries,
                                       const std::string& path) {
  std::vector<std::string> out{path};
  for (const std::string& e : entries) {
    if (static_cast<int>(out.size()) >= kMaxRecentFiles) break;
    if (e != path) out.push_back(e);
  }
  return out;
}

std::string RecentFileKey(int index) {
  return "File" + std::to_string(index);
}

std::string RecentFileCaption(const std::string& path) {
  return ExtractFileName(path);
}
