#include "format/mem_ini.h"

#include "format/file_io.h"
#include "format/text.h"

namespace {

// The key of a stored line: the text before its first "="; a line without
// "=" has none (and `has_key` is false).
std::string_view KeyOf(std::string_view line, bool* has_key = nullptr) {
  size_t eq = line.find('=');
  if (has_key) *has_key = eq != std::string_view::npos;
  if (eq == std::string_view::npos) return {};
  return line.substr(0, eq);
}

}  // namespace

TMemIniFile::TMemIniFile(std::string file_name) : file_name_(std::move(file_name)) {
  if (!FileExists(file_name_)) return;
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadFileBytes(file_name_, bytes, &why)) throw EFileError(why);
  LoadFromBytes(bytes);
}

void TMemIniFile::LoadFromBytes(std::span<const uint8_t> bytes) {
  SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TMemIniFile::SetText(std::string_view text) {
  sections_.clear();
  size_t i = 0;
  const size_t n = text.size();
  TSection* current = nullptr;
  while (i < n && text[i] != '\0') {
    size_t start = i;
    while (i < n && text[i] != '\r' && text[i] != '\n' && text[i] != '\0')
      ++i;
    std::string_view line = TrimView(text.substr(start, i - start));
    if (i < n && text[i] == '\r') ++i;
    if (i < n && text[i] == '\n') ++i;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      sections_.push_back({Trim(line.substr(1, line.size() - 2)), {}});
      current = &sections_.back();
      continue;
    }
    if (!current) continue;  // lines before the first section are dropped
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      current->Lines.emplace_back(line);
    } else {
      std::string l = Trim(line.substr(0, eq));
      l += '=';
      l.append(TrimView(line.substr(eq + 1)));
      current->Lines.push_back(std::move(l));
    }
  }
}

std::string TMemIniFile::GetText() const {
  std::string s;
  for (const TSection& sec : sections_) {
    s += '[';
    s += sec.Name;
    s += "]\r\n";
    for (const std::string& l : sec.Lines) {
      s += l;
      s += "\r\n";
    }
    s += "\r\n";
  }
  return s;
}

std::vector<uint8_t> TMemIniFile::SaveToBytes() const {
  std::string s = GetText();
  return std::vector<uint8_t>(s.begin(), s.end());
}

void TMemIniFile::UpdateFile() const {
  if (file_name_.empty()) throw EFileError("Cannot create file \"\". No file name");
  WriteFileAtomic(file_name_, GetText());
}

TMemIniFile::TSection* TMemIniFile::Find(std::string_view section) {
  for (TSection& s : sections_) {
    if (EqualsIgnoreCase(s.Name, section)) return &s;
  }
  return nullptr;
}

const TMemIniFile::TSection* TMemIniFile::Find(std::string_view section) const {
  for (const TSection& s : sections_) {
    if (EqualsIgnoreCase(s.Name, section)) return &s;
  }
  return nullptr;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  const TSection* s = Find(section);
  if (!s) return std::string(def);
  for (const std::string& l : s->Lines) {
    bool has_key = false;
    std::string_view k = KeyOf(l, &has_key);
    if (has_key && EqualsIgnoreCase(k, key)) return l.substr(k.size() + 1);
  }
  return std::string(def);
}

int32_t TMemIniFile::ReadInteger(std::string_view section, std::string_view key,
                                 int32_t def) const {
  return IniStrToIntDef(ReadString(section, key, ""), def);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  TSection* s = Find(section);
  if (!s) {
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  std::string line = std::string(key) + "=" + std::string(value);
  for (std::string& l : s->Lines) {
    bool has_key = false;
    std::string_view k = KeyOf(l, &has_key);
    if (has_key && EqualsIgnoreCase(k, key)) {
      l = std::move(line);
      return;
    }
  }
  s->Lines.push_back(std::move(line));
}

void TMemIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view key) {
  TSection* s = Find(section);
  if (!s) return;
  for (auto it = s->Lines.begin(); it != s->Lines.end(); ++it) {
    bool has_key = false;
    std::string_view k = KeyOf(*it, &has_key);
    if (has_key && EqualsIgnoreCase(k, key)) {
      s->Lines.erase(it);
      return;
    }
  }
}

void TMemIniFile::EraseSection(std::string_view section) {
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (EqualsIgnoreCase(it->Name, section)) {
      sections_.erase(it);
      return;
    }
  }
}

void TMemIniFile::ReadSection(std::string_view section, std::vector<std::string>& keys) const {
  keys.clear();
  const TSection* s = Find(section);
  if (!s) return;
  for (const std::string& l : s->Lines)
    keys.emplace_back(KeyOf(l));
}

void TMemIniFile::ReadSections(std::vector<std::string>& names) const {
  names.clear();
  for (const TSection& s : sections_)
    names.push_back(s.Name);
}

bool TMemIniFile::SectionExists(std::string_view section) const {
  const TSection* s = Find(section);
  return s && !s->Lines.empty();
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view key) const {
  std::vector<std::string> keys;
  ReadSection(section, keys);
  for (const std::string& k : keys) {
    if (EqualsIgnoreCase(k, key)) return true;
  }
  return false;
}
