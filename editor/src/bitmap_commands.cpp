#include "editor/bitmap_commands.h"

#include <vector>

#include "format/text.h"

namespace {

constexpr size_t kMaxStemLength = 120;

std::string_view AfterFolder(std::string_view name) {
  const size_t cut = name.find_last_of("\\/:");
  return cut == std::string_view::npos ? name : name.substr(cut + 1);
}

bool IsReservedChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || u == 0x7F || c == '<' || c == '>' || c == ':' || c == '"' || c == '/' ||
         c == '\\' || c == '|' || c == '?' || c == '*';
}

std::string WithoutReservedChars(std::string_view s) {
  std::string out;
  for (char c : s)
    if (!IsReservedChar(c)) out += c;
  return out;
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever follows the
// first dot.
bool IsDeviceName(std::string_view stem) {
  std::string s = LowerAscii(stem.substr(0, stem.find('.')));
  while (!s.empty() && s.back() == ' ')
    s.pop_back();
  if (s == "con" || s == "prn" || s == "aux" || s == "nul") return true;
  return s.size() == 4 && (s.starts_with("com") || s.starts_with("lpt")) && s[3] >= '1' &&
         s[3] <= '9';
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
  return LowerAscii(text).find(LowerAscii(part)) != std::string::npos;
}

}  // namespace

std::string BareBitmapName(std::string_view name) {
  std::string s = WithoutReservedChars(AfterFolder(name));
  const size_t dot = s.find_last_of('.');
  std::string stem = dot == std::string::npos ? s : s.substr(0, dot);
  // Windows drops trailing dots and spaces; leading spaces are easy to miss.
  while (!stem.empty() && (stem.back() == '.' || stem.back() == ' '))
    stem.pop_back();
  while (!stem.empty() && stem.front() == ' ')
    stem.erase(stem.begin());
  if (stem.size() > kMaxStemLength) stem.resize(kMaxStemLength);
  if (stem.empty()) stem = "bitmap";
  if (IsDeviceName(stem)) stem.insert(stem.begin(), '_');
  return stem + ".bmp";
}

std::string MakeExportName(std::string_view skin_file, std::string_view member) {
  const std::string file = WithoutReservedChars(AfterFolder(skin_file));
  const size_t dot = file.find('.');
  const std::string prefix = dot == std::string::npos ? std::string() : file.substr(0, dot) + "_";
  const std::string name = BareBitmapName(member);
  if (ContainsIgnoreCase(name, prefix)) return name;
  return prefix + "_" + name;
}

std::string EditorCommandLine(std::string_view program, std::string_view path) {
  return "\"" + std::string(program) + "\" \"" + std::string(path) + "\"";
}

std::string ImportedMemberName(std::string_view file_path) {
  return LowerAscii(BareBitmapName(file_path));
}

bool MemberNamedElsewhere(const TMemIniFile& skin, std::string_view member,
                          std::string_view section, std::string_view key) {
  const std::string_view wanted = AfterFolder(TrimView(member));
  if (wanted.empty()) return false;
  std::vector<std::string> sections, keys;
  skin.ReadSections(sections);
  for (const std::string& s : sections) {
    skin.ReadSection(s, keys);
    for (const std::string& k : keys) {
      if (EqualsIgnoreCase(s, section) && EqualsIgnoreCase(k, key)) continue;
      const std::string value = skin.ReadString(s, k, "");
      if (EqualsIgnoreCase(AfterFolder(TrimView(value)), wanted)) return true;
    }
  }
  return false;
}

std::string UniqueMemberName(const TSkinFileList& list, std::string_view name) {
  if (!list.Find(name)) return std::string(name);
  const size_t dot = name.find_last_of('.');
  const std::string_view stem = dot == std::string_view::npos ? name : name.substr(0, dot);
  const std::string_view ext = dot == std::string_view::npos ? "" : name.substr(dot);
  for (int n = 1;; ++n) {
    std::string candidate = std::string(stem) + "_" + std::to_string(n) + std::string(ext);
    if (!list.Find(candidate)) return candidate;
  }
}

TImportPlan PlanImport(const TMemIniFile& skin, const TSkinFileList& list, std::string_view section,
                       std::string_view key, std::string_view current_member,
                       std::string_view file_path) {
  const std::string wanted = ImportedMemberName(file_path);
  const bool own_member = !current_member.empty() && list.Find(current_member) &&
                          !MemberNamedElsewhere(skin, current_member, section, key);
  TImportPlan plan;
  if (own_member) {
    plan.Replace = std::string(current_member);
    plan.NewName =
        EqualsIgnoreCase(wanted, current_member) ? wanted : UniqueMemberName(list, wanted);
  } else {
    plan.NewName = UniqueMemberName(list, wanted);
  }
  return plan;
}

std::string ImportBitmap(TMemIniFile& skin, TSkinFileList& list, std::string_view section,
                         std::string_view key, std::string_view current_member,
                         std::string_view file_path, const TPixmap& bitmap) {
  TImportPlan plan = PlanImport(skin, list, section, key, current_member, file_path);
  list.ReplaceWithBitmap(plan.Replace, plan.NewName, bitmap);
  skin.WriteString(section, key, plan.NewName);
  return plan.NewName;
}

void ClearBitmap(TMemIniFile& skin, TSkinFileList& list, std::string_view section,
                 std::string_view key, std::string_view member) {
  skin.WriteString(section, key, "");
  if (!member.empty() && !MemberNamedElsewhere(skin, member, section, key)) list.Delete(member);
}
