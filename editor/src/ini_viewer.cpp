#include "editor/ini_viewer.h"

#include "format/text.h"

std::vector<std::string> SectionAsLines(const TMemIniFile& ini, std::string_view section) {
  std::vector<std::string> keys;
  ini.ReadSection(section, keys);
  std::vector<std::string> lines;
  lines.reserve(keys.size());
  for (const std::string& key : keys)
    lines.push_back(key + "=" + ini.ReadString(section, key, ""));
  return lines;
}

std::optional<TIniEntry> ParseIniLine(std::string_view line) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  TIniEntry entry{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
  if (entry.Key.empty() || entry.Key[0] == ';') return std::nullopt;
  return entry;
}

int WriteIniLines(const std::vector<std::string>& lines, std::string_view section,
                  TMemIniFile& ini) {
  if (Trim(section).empty()) return 0;
  int written = 0;
  for (const std::string& line : lines) {
    if (std::optional<TIniEntry> entry = ParseIniLine(line)) {
      ini.WriteString(section, entry->Key, entry->Value);
      ++written;
    }
  }
  return written;
}
