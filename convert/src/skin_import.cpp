#include "convert/skin_import.h"

#include <algorithm>

#include "format/file_io.h"
#include "format/text.h"

const char* const kImportGroups[kImportGroupCount] = {
    "Border",      "Caption-Button", "Menubar",       "Menuitem",  "Button",      "CheckBox",
    "Radiobutton", "Combobox",       "Tab",           "Statusbar", "Progressbar", "Scrollbar",
    "Trackbar",    "UpDown",         "HeaderControl", "Colors"};

namespace {

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return s;
}

// Caption-button sections: BUTTON..., but not the push, radio and check box
// settings.
template <typename Ini>
std::vector<std::string> ButtonSections(const Ini& ini) {
  std::vector<std::string> all, out;
  ini.ReadSections(all);
  for (const std::string& s : all) {
    std::string u = Upper(s);
    if (u.compare(0, 6, "BUTTON") == 0 && u != "BUTTONS" && u != "BUTTON.RADIO" &&
        u != "BUTTON.CHECKBOX") {
      out.push_back(s);
    }
  }
  return out;
}

}  // namespace

bool TSkinImport::OpenSource(const std::string& path) {
  auto refuse = [&](const std::string& why) {
    has_source_ = false;
    error_ = "Cannot import from \"" + path + "\": " + why;
    return false;
  };
  if (path.empty()) return refuse("no skin package was chosen.");
  if (!FileExists(path)) return refuse("the file does not exist.");
  TSkinFileList list;
  if (!list.Open(path)) return refuse(list.LastError());
  if (!SetSource(list)) return refuse("the package has no INI member.");
  error_.clear();
  return true;
}

bool TSkinImport::SetSource(const TSkinFileList& source) {
  std::string name;
  std::vector<uint8_t> bytes;
  has_source_ = false;
  if (!source.FindIni(name, bytes)) return false;
  source_ = source;
  // The source's INI is read in memory: nothing is written beside the
  // program for it.
  source_ini_ = TMemIniFile();
  source_ini_.LoadFromBytes(bytes);
  has_source_ = true;
  return true;
}

void TSkinImport::CopyKey(std::string_view section, std::string_view key) {
  skin_ini_.WriteString(section, key, source_ini_.ReadString(section, key, ""));
}

bool TSkinImport::NamedByAnyKey(const std::string& member, std::string_view except_section,
                                std::string_view except_key) const {
  std::vector<std::string> sections, keys;
  skin_ini_.ReadSections(sections);
  for (const std::string& s : sections) {
    const bool in_except = EqualsIgnoreCase(s, except_section);
    skin_ini_.ReadSection(s, keys);
    for (const std::string& k : keys) {
      if (in_except && EqualsIgnoreCase(k, except_key)) continue;
      if (EqualsIgnoreCase(skin_ini_.ReadString(s, k, ""), member)) return true;
    }
  }
  return false;
}

bool TSkinImport::PendingDelete(const std::string& member) const {
  for (const std::string& name : pending_deletes_) {
    if (EqualsIgnoreCase(name, member)) return true;
  }
  return false;
}

std::string TSkinImport::FreeMemberName(const std::string& name) const {
  const size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  for (int n = 1;; ++n) {
    std::string candidate = stem + "_" + std::to_string(n) + ext;
    if (!file_list_.Find(candidate) && !NamedByAnyKey(candidate)) return candidate;
  }
}

std::string TSkinImport::MemberNameFor(const std::string& source_name, const std::string& replaced,
                                       const std::vector<uint8_t>& bytes, std::string_view section,
                                       std::string_view key) const {
  const std::vector<uint8_t>* existing = file_list_.Find(source_name);
  if (!existing || *existing == bytes) return source_name;
  // The member of that name may take the image when it is the one this key
  // replaces, or one that a removed section left behind, and no other key
  // still shows it.
  const bool replaced_here = EqualsIgnoreCase(replaced, source_name) || PendingDelete(source_name);
  if (replaced_here && !NamedByAnyKey(source_name, section, key)) return source_name;
  return FreeMemberName(source_name);
}

void TSkinImport::ImportImageKey(std::string_view section, std::string_view key) {
  if (key.empty()) return;
  std::string s = source_ini_.ReadString(section, key, "");
  std::string d = skin_ini_.ReadString(section, key, "");
  if (s.empty()) return;
  const std::vector<uint8_t>* bytes = source_.Find(s);
  if (!bytes) return;
  std::vector<uint8_t> copy = *bytes;
  const std::string name = MemberNameFor(s, d, copy, section, key);
  skin_ini_.WriteString(section, key, name);
  if (file_list_.Find(name)) {
    // The member of that name takes the image in its place; the one the key
    // named before goes unless another key still names it.
    file_list_.ReplaceFromStream(name, name, copy);
    if (!d.empty() && !EqualsIgnoreCase(d, name)) pending_deletes_.push_back(d);
    return;
  }
  // The replaced member keeps its place and takes the new name, unless
  // another key still names it; then the image goes in beside it.
  const bool shared = !d.empty() && NamedByAnyKey(d);
  file_list_.ReplaceFromStream(shared ? name : d, name, copy);
}

void TSkinImport::RemoveSection(std::string_view section,
                                const std::vector<std::string>& image_keys) {
  static const size_t kOrder[] = {0, 2, 1};
  for (size_t i : kOrder) {
    if (i >= image_keys.size() || image_keys[i].empty()) continue;
    std::string v = skin_ini_.ReadString(section, image_keys[i], "");
    if (!v.empty()) pending_deletes_.push_back(v);
  }
  skin_ini_.EraseSection(section);
}

void TSkinImport::ImportSection(std::string_view section,
                                const std::vector<std::string>& image_keys) {
  RemoveSection(section, image_keys);
  std::vector<std::string> keys;
  source_ini_.ReadSection(section, keys);
  for (const std::string& k : keys)
    CopyKey(section, k);
  static const size_t kOrder[] = {0, 2, 1};
  for (size_t i : kOrder) {
    if (i < image_keys.size()) ImportImageKey(section, image_keys[i]);
  }
}

void TSkinImport::Finish() {
  for (const std::string& name : pending_deletes_) {
    if (!NamedByAnyKey(name)) file_list_.Delete(name);
  }
  pending_deletes_.clear();
}

void TSkinImport::ImportBorder() {
  const char* p = "Personality";
  for (const char* edge : {"Left", "Right", "Top", "Bottom"}) {
    std::string e = edge;
    for (const char* suffix : {"TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
      CopyKey(p, e + suffix);
    ImportImageKey(p, e);
  }
  ImportImageKey(p, "TextBack");
  for (const char* k :
       {"TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground",
        "TXTBackleft", "TXTBackRight", "ActiveText", "InActiveText"})
    CopyKey(p, k);
  CopyKey("Colours", "TitleTextActive");
}

void TSkinImport::ImportCaptionButtons() {
  for (const std::string& s : ButtonSections(skin_ini_))
    RemoveSection(s, {"ButtonImage"});
  for (const std::string& s : ButtonSections(source_ini_)) {
    for (const char* k :
         {"Action", "Align", "Xcoord", "Ycoord", "Visibility", "Visibility1", "CombineOp", "frame"})
      CopyKey(s, k);
    ImportImageKey(s, "ButtonImage");
  }
  ImportImageKey("MDICONTROLS", "Image");
}

void TSkinImport::RunGroup(const std::string& g) {
  auto sections = [&](std::initializer_list<const char*> names) {
    for (const char* n : names)
      ImportSection(n, {"Image"});
  };
  if (g == "Border") {
    ImportBorder();
    CopyKey("Colours", "TitleTextActive");
    CopyKey("Colours", "TitleTextNoActive");
  } else if (g == "Caption-Button") {
    ImportCaptionButtons();
  } else if (g == "Menubar") {
    for (const char* k : {"TileMenu", "TileLeftMenu", "TileRightMenu"})
      CopyKey("Personality", k);
    CopyKey("Colours", "Menubar");
    CopyKey("Colours", "MenuBarText");
    ImportImageKey("Personality", "menuBar");
  } else if (g == "Menuitem") {
    sections({"MenuItem", "MenuBackground"});
    for (const char* k : {"HilightText", "Hilight", "Menu", "MenuText"})
      CopyKey("Colours", k);
  } else if (g == "Button") {
    ImportSection("Buttons", {"Bitmap", "CheckButton", "RadioButton"});
  } else if (g == "CheckBox") {
    ImportImageKey("Buttons", "CheckButton");
  } else if (g == "Radiobutton") {
    ImportImageKey("Buttons", "RadioButton");
  } else if (g == "Combobox") {
    sections({"ComboButton", "SunkEdge", "ExtraImages"});
  } else if (g == "Tab") {
    ImportSection("Tabs", {"Image", "Border"});
    ImportSection("Tab.Pane", {"Image"});
  } else if (g == "Statusbar") {
    sections({"StatusBarEdges"});
  } else if (g == "Progressbar") {
    ImportSection("Progress", {"Bitmap"});
    ImportSection("Progress.Chunk", {"Image"});
  } else if (g == "Scrollbar") {
    sections({"Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb"});
  } else if (g == "Trackbar") {
    sections({"Trackbar.ThumbDown", "Trackbar.ThumbHorz", "Trackbar.ThumbLeft",
              "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbVert", "Track",
              "Trackbar"});
  } else if (g == "UpDown") {
    ImportSection("UpDown.Horz", {"Image", "GlyphImage"});
    ImportSection("UpDown.Vert", {"Image", "GlyphImage"});
  } else if (g == "HeaderControl") {
    sections({"Headerbar"});
  } else if (g == "Colors") {
    for (const char* k : {"ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
                          "ButtonDkShadow", "ButtonFace", "WindowText"})
      CopyKey("Colours", k);
  }
}

void TSkinImport::Run(const std::vector<std::string>& groups) {
  if (!has_source_) return;
  for (const char* g : kImportGroups) {
    if (std::find(groups.begin(), groups.end(), g) != groups.end()) RunGroup(g);
  }
  Finish();
}
