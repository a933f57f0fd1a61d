#include "engine/skin_checker.h"

#include <cstdint>
#include <exception>
#include <map>
#include <set>

#include "engine/colour.h"
#include "engine/skin_parse.h"
#include "format/text.h"
#include "skin_checker_rules.h"

namespace skin_check {

namespace {

// The lines of the INI the checker looks at, with their section. A section
// is the one the engine reads when no earlier header has its name (the INI
// matches the name between the brackets as it is, letter case aside).
std::vector<TIniEntry> IniEntries(const TQuickIni& ini) {
  std::vector<TIniEntry> out;
  std::set<std::string> seen;
  std::string section;
  bool first = false;
  for (const std::string& stored : ini.Lines()) {
    const std::string_view line = stored;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view inner = line.substr(1, line.size() - 2);
      section = Trim(inner);
      first = seen.insert(LowerAscii(inner)).second;
      continue;
    }
    const size_t eq = line.find('=');
    if (section.empty() || eq == std::string_view::npos) continue;
    TIniEntry e{section, Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)), first};
    if (!e.Key.empty()) out.push_back(std::move(e));
  }
  return out;
}

}  // namespace

TSkinChecker::TSkinChecker(const TSkinReader& reader, const TQuickIni& ini, std::string ini_name)
    : reader_(reader), ini_(ini), ini_name_(std::move(ini_name)), entries_(IniEntries(ini)) {
  for (int i = 0; i < reader.Count(); ++i) {
    members_.push_back({reader.Names()[static_cast<size_t>(i)], i});
    member_index_.emplace(members_.back().Name, static_cast<size_t>(i));
  }
  ini.ReadSections(sections_);
}

std::vector<TSkinFinding> TSkinChecker::Run() {
  ParseSkin(content_, ini_, reader_);
  for (const auto& b : content_.TitleButtons)
    title_buttons_.emplace(b->Name, b.get());
  CheckDuplicateMembers();
  CheckVersion();
  CheckDuplicateLines();
  CheckReferences();
  CheckStrips();
  CheckNumbers();
  CheckColours();
  CheckTitleButtons();
  CheckUnnamedMembers();
  return std::move(findings_);
}

void TSkinChecker::Add(TFindingSeverity severity, std::string_view section, std::string_view key,
                       std::string_view member, std::string message) {
  findings_.push_back(
      {severity, std::string(section), std::string(key), std::string(member), std::move(message)});
}

TMemberFacts* TSkinChecker::FindMember(std::string_view name) {
  const auto it = member_index_.find(LowerAscii(name));
  return it == member_index_.end() ? nullptr : &members_[it->second];
}

std::string TSkinChecker::Value(std::string_view section, std::string_view key) const {
  return Trim(ini_.ReadString(section, key, ""));
}

bool TSkinChecker::IsTitleButton(std::string_view section) const {
  return TitleButton(section) != nullptr;
}

const TDataSkinSysButton* TSkinChecker::TitleButton(std::string_view section) const {
  const auto it = title_buttons_.find(UpperAscii(section));
  return it == title_buttons_.end() ? nullptr : it->second;
}

void TSkinChecker::CheckDuplicateMembers() {
  std::map<std::string, int> count;
  for (const TMemberFacts& m : members_)
    ++count[m.Name];
  std::set<std::string> told;
  for (const TMemberFacts& m : members_) {
    const int n = count[m.Name];
    if (n < 2 || !told.insert(m.Name).second) continue;
    Add(TFindingSeverity::Error, "", "", m.Name,
        std::to_string(n) + " members are named \"" + m.Name + "\"; only the first is ever read");
  }
}

void TSkinChecker::CheckVersion() {
  const std::string text = Value("Skins", "Version");
  const int version = IniStrToIntDef(text, 0);
  if (version >= kLowestEditableVersion) return;
  std::string what = "format version \"" + text + "\" is below 150";
  if (text.empty()) what = "the skin gives no format version";
  if (!text.empty() && IniStrToIntDef(text, 1) != version)
    what = "\"" + text + "\" is no version number";
  Add(TFindingSeverity::Error, "Skins", "Version", "",
      what + "; the editor refuses to open skins before version 150");
}

// Sections and keys given twice: the engine reads the first only.
void TSkinChecker::CheckDuplicateLines() {
  std::map<std::string, int> seen_sections;
  for (const std::string& s : sections_) {
    if (++seen_sections[LowerAscii(s)] != 2) continue;
    Add(TFindingSeverity::Warning, s, "", "",
        "the section appears more than once; the engine reads only the first");
  }
  std::set<std::pair<std::string, std::string>> keys;
  std::set<std::pair<std::string, std::string>> told;
  for (const TIniEntry& e : entries_) {
    if (!e.FirstSection) continue;
    const auto id = std::make_pair(LowerAscii(e.Section), LowerAscii(e.Key));
    if (keys.insert(id).second || !told.insert(id).second) continue;
    Add(TFindingSeverity::Warning, e.Section, e.Key, "",
        "the key appears more than once in its section; the engine reads the first");
  }
}

// Members no key names. The INI member is read by its name, and a second
// member of a taken name was told about already.
void TSkinChecker::CheckUnnamedMembers() {
  for (TMemberFacts& m : members_) {
    if (m.Named || m.Name == ini_name_ || FindMember(m.Name) != &m) continue;
    Add(TFindingSeverity::Warning, "", "", m.Name,
        "no key of the INI names the member \"" + m.Name + "\"");
  }
}

// ----------------------------------------------------------------- colours

namespace {

constexpr std::string_view kColourKeys[] = {
    "WindowText",       "ButtonFace",   "Scrollbar",      "HilightText", "Hilight",
    "Menubar",          "Menu",         "MenuText",       "ButtonText",  "ButtonHilight",
    "Buttonlight",      "ButtonShadow", "ButtonDkShadow", "MenuBarText", "TitleTextActive",
    "TitleTextNoActive"};

bool IsColourKey(std::string_view section, std::string_view key) {
  if (EqualsIgnoreCase(key, "NormalColour2") || EqualsIgnoreCase(key, "MouseOverColour2") ||
      EqualsIgnoreCase(key, "PressedColour2"))
    return true;
  if (EqualsIgnoreCase(section, "Colours")) {
    for (std::string_view k : kColourKeys)
      if (EqualsIgnoreCase(key, k)) return true;
    return false;
  }
  if (StartsWithIgnoreCase(section, "Colour")) return EqualsIgnoreCase(key, "color");
  if (EqualsIgnoreCase(section, "Customcolors"))
    return key.size() == 6 && StartsWithIgnoreCase(key, "Color") && key[5] >= '0' && key[5] <= '9';
  return false;
}

// The decimal numbers of a colour text, as the engine finds them.
struct TColourText {
  int Numbers = 0;
  bool AboveByte = false;
  bool Plain = true;  // "R G B": three numbers, single spaces between
};

TColourText ScanColour(std::string_view text) {
  TColourText t;
  bool in_number = false;
  int digits = 0, value = 0;
  char before = ' ';
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      if (!in_number) ++t.Numbers;
      in_number = true;
      if (++digits <= 6) value = value * 10 + (c - '0');
    } else {
      if (in_number && (digits > 3 || value > 255)) t.AboveByte = true;
      if (c != ' ' || before == ' ') t.Plain = false;
      in_number = false;
      digits = value = 0;
    }
    before = c;
  }
  if (in_number && (digits > 3 || value > 255)) t.AboveByte = true;
  if (!in_number || t.Numbers != 3) t.Plain = false;
  return t;
}

std::string ReadsAs(std::string_view text) {
  const TColor c = ParseColourValue(text);
  return "the engine reads it as R G B = " + std::to_string(RedOf(c)) + " " +
         std::to_string(GreenOf(c)) + " " + std::to_string(BlueOf(c));
}

}  // namespace

void TSkinChecker::CheckColours() {
  for (const TIniEntry& e : entries_) {
    if (!e.FirstSection || e.Value.empty() || !IsColourKey(e.Section, e.Key)) continue;
    const TColourText t = ScanColour(e.Value);
    const std::string quoted = "\"" + e.Value + "\"";
    if (t.Numbers != 3)
      Add(TFindingSeverity::Error, e.Section, e.Key, "",
          quoted + " is not three numbers; " + ReadsAs(e.Value));
    else if (t.AboveByte)
      Add(TFindingSeverity::Error, e.Section, e.Key, "",
          quoted + " holds a number above 255; " + ReadsAs(e.Value));
    else if (!t.Plain)
      Add(TFindingSeverity::Warning, e.Section, e.Key, "",
          quoted + " is not written \"R G B\" with single spaces; " + ReadsAs(e.Value));
  }
}

// ----------------------------------------------------------------- numbers

namespace {

// The keys the engine reads as integers (the format version aside).
bool IsNumberKey(std::string_view key) {
  static constexpr std::string_view kKeys[] = {"Style",
                                               "LeftWidth",
                                               "RightWidth",
                                               "TopHeight",
                                               "BottomHeight",
                                               "Trans",
                                               "Tile",
                                               "Frame",
                                               "FrameCount",
                                               "NormalColour",
                                               "MouseOverColour",
                                               "PressedColour",
                                               "BackgroundAlignment",
                                               "BackgroundLeftShift",
                                               "BackgroundRightShift",
                                               "RadioButtonFrame",
                                               "CheckButtonFrame",
                                               "TextShift",
                                               "TextShiftVert",
                                               "TextRightClip",
                                               "TextAlignment",
                                               "TXTBackleft",
                                               "TXTBackRight",
                                               "TileMenu",
                                               "TileLeftMenu",
                                               "TileRightMenu",
                                               "Action",
                                               "Align",
                                               "XCoord",
                                               "YCoord",
                                               "Visibility",
                                               "Visibility1",
                                               "CombineOp"};
  for (std::string_view k : kKeys)
    if (EqualsIgnoreCase(key, k)) return true;
  for (std::string_view side : {"Left", "Right", "Top", "Bottom"}) {
    if (!StartsWithIgnoreCase(key, side)) continue;
    const std::string_view rest = key.substr(side.size());
    for (std::string_view k : {"Frame", "Stretch", "Trans", "TopHeight", "BotHeight"})
      if (EqualsIgnoreCase(rest, k)) return true;
  }
  return false;
}

}  // namespace

// A number the engine cannot read counts as absent: the key's default.
void TSkinChecker::CheckNumbers() {
  for (const TIniEntry& e : entries_) {
    if (!e.FirstSection || e.Value.empty() || !IsNumberKey(e.Key)) continue;
    if (IniStrToIntDef(e.Value, INT32_MIN) == IniStrToIntDef(e.Value, INT32_MAX)) continue;
    Add(TFindingSeverity::Error, e.Section, e.Key, "",
        "\"" + e.Value + "\" is not a whole number; the engine reads the key's default");
  }
}

// ------------------------------------------------------------ title buttons

namespace {

bool IsKnownAction(int action) {
  static constexpr int kActions[] = {-1, 0, 1, 2, 3, 4, 7, 8, 9, 11, 12, 22, 23, 60, 61, 62};
  for (int a : kActions)
    if (a == action) return true;
  return false;
}

bool DrawsWindowIcon(int action) {
  return action == 3 || action == 11;
}

}  // namespace

void TSkinChecker::CheckTitleButtons() {
  std::set<std::string> done;
  for (const std::string& s : sections_) {
    const TDataSkinSysButton* b = TitleButton(s);
    if (!b || !done.insert(UpperAscii(s)).second) continue;
    if (!IsKnownAction(b->Action))
      Add(TFindingSeverity::Warning, s, "Action", "",
          "action " + std::to_string(b->Action) +
              " is none the engine knows; a click only posts it to the application");
    if (Value(s, "ButtonImage").empty() && !DrawsWindowIcon(b->Action))
      Add(TFindingSeverity::Error, s, "ButtonImage", "",
          "the title button has no bitmap, so it never shows");
  }
}

}  // namespace skin_check

// ------------------------------------------------------------ entry points

namespace {

TSkinCheckReport Unreadable(std::string why) {
  TSkinCheckReport r;
  r.Why = std::move(why);
  return r;
}

TSkinCheckReport CheckReadPackage(const TSkinReader& reader) {
  std::vector<uint8_t> ini_bytes;
  std::string ini_name;
  if (!reader.FindMember(".ini", ini_bytes, ini_name))
    return Unreadable("the package has no INI member (no member name contains \".ini\")");
  TQuickIni ini;
  ini.LoadFromStream(ini_bytes);
  TSkinCheckReport r;
  r.Readable = true;
  r.Findings = skin_check::TSkinChecker(reader, ini, ini_name).Run();
  return r;
}

}  // namespace

TSkinCheckReport CheckSkinPackage(std::span<const uint8_t> package) {
  try {
    TSkinReader reader;
    if (!reader.LoadFromStream(package)) return Unreadable(reader.LastError());
    return CheckReadPackage(reader);
  } catch (const std::exception& e) {
    return Unreadable(std::string("the check stopped: ") + e.what());
  }
}

TSkinCheckReport CheckSkinFiles(const TSkinFileList& files) {
  try {
    return CheckSkinPackage(files.SaveToBytes());
  } catch (const std::exception& e) {
    return Unreadable(std::string("the members do not make a package: ") + e.what());
  }
}

TSkinCheckReport CheckSkinFiles(const TSkinFileList& files, std::string_view ini_text) {
  try {
    std::string name;
    std::vector<uint8_t> bytes;
    if (!files.FindIni(name, bytes)) return CheckSkinFiles(files);
    TSkinFileList edited = files;
    edited.ReplaceFromStream(name, name, std::vector<uint8_t>(ini_text.begin(), ini_text.end()));
    return CheckSkinFiles(edited);
  } catch (const std::exception& e) {
    return Unreadable(std::string("the check stopped: ") + e.what());
  }
}

const char* SeverityName(TFindingSeverity severity) {
  return severity == TFindingSeverity::Error ? "error" : "warning";
}

std::string FormatFinding(const TSkinFinding& f) {
  auto field = [](std::string_view s) {
    std::string out = s.empty() ? std::string("-") : std::string(s);
    for (char& c : out)
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return out;
  };
  return std::string(SeverityName(f.Severity)) + "\t" + field(f.Section) + "\t" + field(f.Key) +
         "\t" + field(f.Message);
}
