// The skin checker's member rules (every key that names a member, each named
// bitmap decoded once) and strip rules (frame counts and margins against the
// bitmaps the engine cuts).
#include <algorithm>

#include "engine/check_rules.h"
#include "format/bmp.h"
#include "format/text.h"
#include "skin_checker_rules.h"

namespace skin_check {

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& ch : out)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return out;
}

std::string_view MemberNameOf(std::string_view value) {
  const size_t cut = value.find_last_of("\\/:");
  return cut == std::string_view::npos ? value : value.substr(cut + 1);
}

namespace {

bool KeyIsOneOf(std::string_view key, std::initializer_list<std::string_view> keys) {
  for (std::string_view k : keys)
    if (EqualsIgnoreCase(key, k)) return true;
  return false;
}

bool EndsWithBmp(std::string_view name, bool exact) {
  if (name.size() < 4) return false;
  const std::string_view tail = name.substr(name.size() - 4);
  return exact ? tail == ".bmp" : EqualsIgnoreCase(tail, ".bmp");
}

// The element sections read through the image, border and box-label readers
// (the menu bar lives in [Personality], the progress bar has its own key).
bool IsImageSlot(int slot) {
  return slot >= ksProgressChunk && slot <= ksTrackVert && slot != ksMenuBar;
}

std::string Quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

}  // namespace

int TSkinChecker::Int(std::string_view section, std::string_view key, int def) const {
  return ini_.ReadInteger(section, key, def);
}

// The keys ParseSkin loads a bitmap from.
bool TSkinChecker::IsEngineBitmapKey(std::string_view section, std::string_view key) const {
  if (EqualsIgnoreCase(section, "Personality"))
    return KeyIsOneOf(key, {"Left", "Right", "Top", "Bottom", "TextBack", "menuBar"});
  if (EqualsIgnoreCase(section, "Buttons"))
    return KeyIsOneOf(key, {"Bitmap", "CheckButton", "RadioButton"});
  if (EqualsIgnoreCase(section, "Progress")) return EqualsIgnoreCase(key, "Bitmap");
  if (EqualsIgnoreCase(section, "MDICONTROLS")) return EqualsIgnoreCase(key, "Image");
  if (IsTitleButton(section)) return EqualsIgnoreCase(key, "ButtonImage");
  for (int slot = 0; slot < kSkinSlotCount; ++slot) {
    if (!IsImageSlot(slot) || !EqualsIgnoreCase(section, SkinSlotName(TSkinSlot(slot)))) continue;
    if (EqualsIgnoreCase(key, "Image")) return true;
    if (slot == ksTabs) return EqualsIgnoreCase(key, "Border");
    if (slot == ksUpDownHorz || slot == ksUpDownVert) return EqualsIgnoreCase(key, "GlyphImage");
    return false;
  }
  return false;
}

// Every key the engine loads a bitmap from, and any other whose value is a
// ".bmp" name (a member it keeps in the package).
void TSkinChecker::CheckReferences() {
  for (const TIniEntry& e : entries_) {
    if (e.Value.empty()) continue;
    const bool engine_key = e.FirstSection && IsEngineBitmapKey(e.Section, e.Key);
    if (!engine_key && !EndsWithBmp(MemberNameOf(e.Value), false)) continue;
    if (e.FirstSection) {
      CheckReference(e, engine_key);
    } else if (TMemberFacts* m = FindMember(MemberNameOf(e.Value))) {
      m->Named = true;
    }
  }
}

void TSkinChecker::CheckReference(const TIniEntry& e, bool engine_key) {
  const std::string_view name = MemberNameOf(e.Value);
  if (name.empty()) {
    Add(TFindingSeverity::Error, e.Section, e.Key, "", Quoted(e.Value) + " names no member");
    return;
  }
  TMemberFacts* m = FindMember(name);
  if (m) m->Named = true;
  if (engine_key && !EndsWithBmp(name, true)) {
    Add(TFindingSeverity::Error, e.Section, e.Key, m ? m->Name : "",
        Quoted(name) + " does not end in \".bmp\" in lower case, so the engine loads no bitmap");
    return;
  }
  if (!m) {
    Add(engine_key ? TFindingSeverity::Error : TFindingSeverity::Warning, e.Section, e.Key,
        LowerAscii(name), "names the member " + Quoted(LowerAscii(name)) + ", which is missing");
    return;
  }
  Inspect(*m, e);
}

void TSkinChecker::Inspect(TMemberFacts& m, const TIniEntry& e) {
  if (m.Inspected) return;
  m.Inspected = true;
  const std::span<const uint8_t> bytes = reader_.Member(m.Index);
  if (bytes.empty()) {
    Add(TFindingSeverity::Error, e.Section, e.Key, m.Name,
        "the member " + Quoted(m.Name) + " is empty, so the engine has no bitmap");
    return;
  }
  try {
    const TPixmap image = DecodeBmp(bytes);
    m.Decoded = true;
    m.Width = image.Width;
    m.Height = image.Height;
    if (image.BitsPerPixel != 24)
      Add(TFindingSeverity::Warning, e.Section, e.Key, m.Name,
          Quoted(m.Name) + " has " + std::to_string(image.BitsPerPixel) +
              " bits per pixel; skin bitmaps are 24-bit");
  } catch (const EBmpError& err) {
    Add(TFindingSeverity::Error, e.Section, e.Key, m.Name,
        Quoted(m.Name) + " does not decode as a bitmap: " + err.what());
  }
}

// ------------------------------------------------------------------ strips

namespace {

TStripFacts Strip(std::string_view section, std::string_view key, int frames, bool vertical,
                  std::string_view frame_key = {}) {
  TStripFacts s;
  s.Section = section;
  s.Key = key;
  s.Frames = frames;
  s.Vertical = vertical;
  s.FrameKey = frame_key;
  return s;
}

void SetMargins(TStripFacts& s, TMargins m, std::array<std::string, 4> keys) {
  s.Margins = m;
  s.MarginKeys = std::move(keys);
}

const std::array<std::string, 4> kElementMarginKeys = {"LeftWidth", "TopHeight", "RightWidth",
                                                       "BottomHeight"};

}  // namespace

void TSkinChecker::CheckStrips() {
  for (const TStripFacts& s : Strips())
    CheckStrip(s);
}

// Window borders, caption strip, menu bar, push, check and radio buttons,
// the MDI buttons, then the element sections and the title buttons.
std::vector<TStripFacts> TSkinChecker::Strips() const {
  std::vector<TStripFacts> out;
  const TSkinContent& c = content_;
  for (const TDataSkinBorder* b : {&c.LeftBorder, &c.RightBorder, &c.TopBorder, &c.BottomBorder}) {
    const std::string& n = b->Name;
    const bool stacked = c.IsVerticalStrip(b);
    TStripFacts s = Strip("Personality", n, b->FrameCount, stacked, n + "Frame");
    if (stacked)
      SetMargins(s, b->Margins(), {n + "TopHeight", "", n + "BotHeight", ""});
    else
      SetMargins(s, b->Margins(), {"", n + "TopHeight", "", n + "BotHeight"});
    out.push_back(std::move(s));
  }
  TStripFacts caption = Strip("Personality", "TextBack", c.Title.FrameCount, true);
  SetMargins(caption, {c.Title.TXTBackleft, 0, c.Title.TXTBackRight, 0},
             {"TXTBackleft", "", "TXTBackRight", ""});
  out.push_back(std::move(caption));
  if (const TDataSkinObject* bar = c.Element(ksMenuBar)) {
    TStripFacts s = Strip("Personality", "menuBar", bar->FrameCount, true);
    SetMargins(s, bar->Margins(), {"TileLeftMenu", "", "TileRightMenu", ""});
    out.push_back(std::move(s));
  }
  TStripFacts push = Strip("Buttons", "Bitmap", c.Buttons.FrameCount, false);
  SetMargins(push, c.Buttons.Margins(), kElementMarginKeys);
  out.push_back(std::move(push));
  out.push_back(Strip("Buttons", "CheckButton", CheckStripCells(c.Buttons.CheckButtonFrame), false,
                      "CheckButtonFrame"));
  out.push_back(Strip("Buttons", "RadioButton", CheckStripCells(c.Buttons.RadioButtonFrame), false,
                      "RadioButtonFrame"));
  out.push_back(Strip("MDICONTROLS", "Image", 12, false));
  AddElementStrips(out);
  AddTitleButtonStrips(out);
  return out;
}

void TSkinChecker::AddElementStrips(std::vector<TStripFacts>& out) const {
  // The combo composite replaces these two elements' bitmaps and margins;
  // what the skin gave is in the INI.
  const bool composite = content_.Element(ksSunkEdge) && content_.Element(ksComboButton);
  for (int slot = ksProgress; slot <= ksTrackVert; ++slot) {
    const TDataSkinObject* e = content_.Element(TSkinSlot(slot));
    if (!e || slot == ksMenuBar) continue;
    const std::string section(SkinSlotName(TSkinSlot(slot)));
    std::string frame_key;
    if (slot == ksProgress) frame_key = "Style";
    if (slot == ksProgressChunk || slot == ksTrack || slot == ksTrackVert) frame_key = "Frame";
    if (slot == ksHeaderbar && Int(section, "Frame", 0) != 0) frame_key = "Frame";
    if (slot == ksHorzScrollThumb || slot == ksVertScrollThumb) frame_key = "FrameCount";
    TStripFacts s = Strip(section, slot == ksProgress ? "Bitmap" : "Image", e->FrameCount,
                          content_.IsVerticalStrip(e), frame_key);
    TMargins m = e->Margins();
    if (composite && (slot == ksSunkEdge || slot == ksComboButton))
      m = {Int(section, "LeftWidth", 0), Int(section, "TopHeight", 0),
           Int(section, "RightWidth", 0), Int(section, "BottomHeight", 0)};
    SetMargins(s, m, kElementMarginKeys);
    out.push_back(std::move(s));
    if (slot == ksUpDownHorz || slot == ksUpDownVert)
      out.push_back(Strip(section, "GlyphImage", e->FrameCount, false));
  }
}

void TSkinChecker::AddTitleButtonStrips(std::vector<TStripFacts>& out) const {
  std::vector<std::string> done;
  for (const std::string& section : sections_) {
    const TDataSkinSysButton* b = TitleButton(section);
    if (!b || b->Action == 3 || b->Action == 11) continue;  // they show the window icon
    if (std::find(done.begin(), done.end(), b->Name) != done.end()) continue;
    done.push_back(b->Name);
    out.push_back(Strip(section, "ButtonImage", b->FrameCount, false,
                        Int(section, "frame", 0) != 0 ? "frame" : ""));
  }
}

void TSkinChecker::CheckStrip(const TStripFacts& s) {
  const std::string value = Value(s.Section, s.Key);
  if (!EndsWithBmp(MemberNameOf(value), true)) return;
  TMemberFacts* m = FindMember(MemberNameOf(value));
  if (!m || !m->Decoded) return;
  const int frames = std::max(s.Frames, 1);
  const int along = s.Vertical ? m->Height : m->Width;
  const std::string what = Quoted(m->Name) + " is " + std::to_string(along) + " pixels " +
                           (s.Vertical ? "high" : "wide");
  const std::string count = "the " + std::to_string(frames) + " frames" +
                            (s.FrameKey.empty() ? "" : " (" + s.FrameKey + ")") +
                            (s.Vertical ? " stacked" : "") + " the engine cuts it into";
  if (along < frames) {
    Add(TFindingSeverity::Error, s.Section, s.Key, m->Name, what + ", too few for " + count);
    return;
  }
  if (along % frames != 0)
    Add(TFindingSeverity::Error, s.Section, s.Key, m->Name,
        what + ", which does not divide into " + count);
  CheckMarginPair(s, *m, 0, s.Vertical ? m->Width : m->Width / frames);
  CheckMarginPair(s, *m, 1, s.Vertical ? m->Height / frames : m->Height);
}

// Margins `first` (left or top) and `first` + 2 (right or bottom) against
// one frame's width or height.
void TSkinChecker::CheckMarginPair(const TStripFacts& s, const TMemberFacts& m, int first,
                                   int frame_size) {
  const int values[4] = {s.Margins.Left, s.Margins.Top, s.Margins.Right, s.Margins.Bottom};
  const size_t a = static_cast<size_t>(first), b = a + 2;
  std::string told, key;
  int64_t sum = 0;
  for (size_t i : {a, b}) {
    const std::string& k = s.MarginKeys[i];
    if (k.empty()) continue;
    if (values[i] < 0) {
      Add(TFindingSeverity::Error, s.Section, k, m.Name,
          k + " is negative (" + std::to_string(values[i]) + ")");
      return;
    }
    if (key.empty()) key = k;
    told += (told.empty() ? "" : " and ") + k + " " + std::to_string(values[i]);
    sum += values[i];
  }
  if (key.empty() || sum <= frame_size) return;
  Add(TFindingSeverity::Error, s.Section, key, m.Name,
      told + (told.find(" and ") == std::string::npos ? " does" : " do") + " not fit the " +
          std::to_string(frame_size) + "-pixel " + (first == 0 ? "width" : "height") +
          " of one frame of " + Quoted(m.Name));
}

}  // namespace skin_check
