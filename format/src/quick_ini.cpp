#include "format/quick_ini.h"

#include "format/text.h"

namespace {

bool IsHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

// The key of a stored line: the text before the first "=", trimmed; empty
// when there is no "=".
std::string_view KeyOf(std::string_view line) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return TrimView(line.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  return TrimView(line.substr(eq + 1));
}

}  // namespace

void TQuickIni::LoadFromStream(std::span<const uint8_t> bytes) {
  SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TQuickIni::SetText(std::string_view text) {
  lines_.clear();
  index_.clear();
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] != '\0') {
    size_t start = i;
    while (i < n && text[i] != '\r' && text[i] != '\n' && text[i] != '\0')
      ++i;
    std::string_view line = TrimView(text.substr(start, i - start));
    if (i < n && text[i] == '\r') ++i;
    if (i < n && text[i] == '\n') ++i;
    if (line.empty() || line.front() == ';') continue;
    if (IsHeader(line)) index_.push_back({std::string(line), static_cast<int>(lines_.size())});
    lines_.emplace_back(line);
  }
}

void TQuickIni::SaveToStream(std::vector<uint8_t>& out) const {
  for (const std::string& l : lines_) {
    out.insert(out.end(), l.begin(), l.end());
    out.push_back('\r');
    out.push_back('\n');
  }
}

std::string TQuickIni::Text() const {
  std::string s;
  for (const std::string& l : lines_) {
    s += l;
    s += "\r\n";
  }
  return s;
}

int TQuickIni::FindSection(std::string_view name) const {
  for (const TSectionEntry& e : index_) {
    std::string_view h = e.Header;
    if (h.size() == name.size() + 2 && EqualsIgnoreCase(h.substr(1, name.size()), name)) {
      return e.Line;
    }
  }
  return -1;
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const {
  list.clear();
  for (const TSectionEntry& e : index_) {
    std::string_view h = TrimView(e.Header);
    list.push_back(Trim(h.substr(1, h.size() - 2)));
  }
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view def) const {
  if (lines_.empty()) return std::string(def);
  int h = FindSection(section);
  if (h < 0) return std::string(def);
  for (size_t i = static_cast<size_t>(h) + 1; i < lines_.size(); ++i) {
    std::string_view line = lines_[i];
    if (IsHeader(line)) break;
    if (EqualsIgnoreCase(KeyOf(line), key)) {
      std::string_view v = ValueOf(line);
      return v.empty() ? std::string(def) : std::string(v);
    }
  }
  return std::string(def);
}

int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  return IniStrToIntDef(ReadString(section, key, ""), def);
}

void TQuickIni::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
  std::string line = std::string(key) + "=" + std::string(value);
  int h = FindSection(section);
  if (h < 0) {
    std::string header = "[" + std::string(section) + "]";
    index_.push_back({header, static_cast<int>(lines_.size())});
    lines_.push_back(std::move(header));
    if (!key.empty()) lines_.push_back(std::move(line));
    return;
  }
  size_t i = static_cast<size_t>(h) + 1;
  for (; i < lines_.size(); ++i) {
    if (IsHeader(lines_[i])) break;
    if (EqualsIgnoreCase(KeyOf(lines_[i]), key)) {
      if (!key.empty()) lines_[i] = std::move(line);
      return;
    }
  }
  if (key.empty()) return;
  if (i == lines_.size()) {
    lines_.push_back(std::move(line));
    return;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(i), std::move(line));
  for (TSectionEntry& e : index_) {
    if (e.Line >= static_cast<int>(i)) ++e.Line;
  }
}

void TQuickIni::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}
