#include "damaged_corpus.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <random>
#include <string_view>

#include "convert/style_convert.h"
#include "default_skin.h"
#include "format/file_io.h"
#include "format/lzh.h"
#include "format/mem_ini.h"
#include "format/skin_file_list.h"
#include "format/skin_package.h"

namespace {

// A good skin the damage starts from: its members in package order.
struct TBaseSkin {
  std::string Name;
  std::vector<TSkinFileEntry> Members;
  size_t Ini = 0;  // index of the INI member
};

using TMembers = std::vector<TSkinFileEntry>;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Letters, digits and '-' stay; everything else becomes '_'.
std::string SafePart(std::string_view s) {
  std::string out;
  for (char c : s)
    out += std::isalnum(static_cast<unsigned char>(c)) || c == '-' ? c : '_';
  return out;
}

bool ReadBase(std::string name, std::span<const uint8_t> package, TBaseSkin& base) {
  TSkinReader reader;
  if (!reader.LoadFromStream(package)) return false;
  base.Name = std::move(name);
  bool has_ini = false;
  for (int i = 0; i < reader.Count(); ++i) {
    const std::string& member = reader.Names()[static_cast<size_t>(i)];
    auto bytes = reader.Member(i);
    if (!has_ini && member.find(".ini") != std::string::npos) {
      base.Ini = base.Members.size();
      has_ini = true;
    }
    base.Members.push_back({member, std::vector<uint8_t>(bytes.begin(), bytes.end())});
  }
  return has_ini;
}

std::vector<uint8_t> PackMembers(const TMembers& members) {
  TSkinWriter writer;
  for (const TSkinFileEntry& m : members)
    writer.AddMember(m.Name, m.Bytes);
  return writer.SaveToBytes();
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A package body laid out by hand (version 70000 unless told), so that it can
// break what the writer refuses to write: more members than the format holds,
// an unknown version, sizes past the data.
std::vector<uint8_t> RawBody(const TMembers& members, uint32_t version = kSkinPackageVersion,
                             uint32_t size_bonus = 0) {
  std::string names;
  for (const TSkinFileEntry& m : members)
    names += m.Name + "\r\n";
  std::vector<uint8_t> body;
  PutU32(body, version);
  PutU32(body, static_cast<uint32_t>(names.size()));
  body.insert(body.end(), 8 + 69, 0);
  body.insert(body.end(), names.begin(), names.end());
  for (const TSkinFileEntry& m : members)
    PutU32(body, static_cast<uint32_t>(m.Bytes.size()) + size_bonus);
  for (const TSkinFileEntry& m : members)
    body.insert(body.end(), m.Bytes.begin(), m.Bytes.end());
  return body;
}

// The package file of a body: its length, then the body LZHUF-coded.
std::vector<uint8_t> CodeBody(const std::vector<uint8_t>& body) {
  std::vector<uint8_t> out;
  PutU32(out, static_cast<uint32_t>(body.size()));
  size_t at = 0;
  TLZH codec;
  codec.Pack(
      [&](uint8_t* buf, uint16_t count) {
        const size_t n = std::min<size_t>(count, body.size() - at);
        std::copy_n(body.begin() + static_cast<ptrdiff_t>(at), n, buf);
        at += n;
        return static_cast<uint16_t>(n);
      },
      [&](const uint8_t* buf, uint16_t count) {
        out.insert(out.end(), buf, buf + count);
        return count;
      });
  return out;
}

// Collects the packages of one base skin.
class TCorpusBuilder {
 public:
  TCorpusBuilder(const TBaseSkin& base, uint32_t seed, std::vector<TDamagedSkin>& out)
      : base_(base), rng_(seed), out_(out) {}

  void MemberDamage();
  void IniValueDamage();
  void MissingSections();
  void MemberLimit();
  void IniGarbage();

 private:
  void Add(TDamageKind kind, std::string_view detail, std::vector<uint8_t> package,
           bool readable = true) {
    TDamagedSkin s;
    s.Kind = kind;
    s.Base = base_.Name;
    s.Name = SafePart(base_.Name) + "-" + DamageKindName(kind) + "-" + SafePart(detail) + ".skn";
    s.Readable = readable;
    s.Package = std::move(package);
    out_.push_back(std::move(s));
  }
  void AddWithIni(TDamageKind kind, std::string_view detail, const TMemIniFile& ini) {
    TMembers members = base_.Members;
    members[base_.Ini].Bytes = ini.SaveToBytes();
    Add(kind, detail, PackMembers(members));
  }
  void AddWithIniText(TDamageKind kind, std::string_view detail, std::vector<uint8_t> text) {
    TMembers members = base_.Members;
    members[base_.Ini].Bytes = std::move(text);
    Add(kind, detail, PackMembers(members));
  }
  TMemIniFile Ini() const {
    TMemIniFile ini;
    ini.LoadFromBytes(base_.Members[base_.Ini].Bytes);
    return ini;
  }
  std::string IniText() const {
    const auto& b = base_.Members[base_.Ini].Bytes;
    return std::string(b.begin(), b.end());
  }
  // Sets every key of every section that `pick` accepts (lowercased section
  // and key) to `value`; false when no key was picked.
  template <class Pick>
  static bool SetKeys(TMemIniFile& ini, std::string_view only_section, Pick pick,
                      std::string_view value);
  std::vector<uint8_t> FlipBits(std::vector<uint8_t> bytes);

  const TBaseSkin& base_;
  std::mt19937 rng_;
  std::vector<TDamagedSkin>& out_;
};

std::vector<uint8_t> TCorpusBuilder::FlipBits(std::vector<uint8_t> bytes) {
  if (bytes.empty()) return bytes;
  // One flip in the first 64 bytes (a bitmap's headers), then one for every
  // 64 bytes anywhere.
  const size_t head = std::min<size_t>(bytes.size(), 64);
  bytes[rng_() % head] ^= static_cast<uint8_t>(1u << (rng_() % 8));
  for (size_t n = bytes.size() / 64; n > 0; --n)
    bytes[rng_() % bytes.size()] ^= static_cast<uint8_t>(1u << (rng_() % 8));
  return bytes;
}

void TCorpusBuilder::MemberDamage() {
  static const std::string kText = "This member is plain text and no picture at all.\r\n";
  for (size_t i = 0; i < base_.Members.size(); ++i) {
    const TSkinFileEntry& m = base_.Members[i];
    TMembers cut = base_.Members;
    cut[i].Bytes.resize(m.Bytes.size() / 2);
    Add(TDamageKind::dkTruncated, m.Name, PackMembers(cut));
    TMembers flipped = base_.Members;
    flipped[i].Bytes = FlipBits(m.Bytes);
    Add(TDamageKind::dkBitFlipped, m.Name, PackMembers(flipped));
    TMembers text = base_.Members;
    text[i].Bytes.assign(kText.begin(), kText.end());
    Add(TDamageKind::dkNotBitmap, m.Name, PackMembers(text));
  }
}

template <class Pick>
bool TCorpusBuilder::SetKeys(TMemIniFile& ini, std::string_view only_section, Pick pick,
                             std::string_view value) {
  std::vector<std::string> sections, keys;
  ini.ReadSections(sections);
  bool any = false;
  for (const std::string& section : sections) {
    if (!only_section.empty() && section != only_section) continue;
    ini.ReadSection(section, keys);
    for (const std::string& key : keys) {
      if (!pick(Lower(section), Lower(key))) continue;
      ini.WriteString(section, key, value);
      any = true;
    }
  }
  return any;
}

bool IsFrameKey(const std::string&, const std::string& key) {
  return EndsWith(key, "frame") || key == "framecount";
}

bool IsMarginKey(const std::string&, const std::string& key) {
  return EndsWith(key, "width") || EndsWith(key, "height") || EndsWith(key, "botheight") ||
         key.starts_with("txtback") || (key.starts_with("tile") && EndsWith(key, "menu")) ||
         key.starts_with("textshift") || key == "textrightclip";
}

bool IsColourKey(const std::string& section, const std::string& key) {
  return section == "colours" || key.find("colour") != std::string::npos ||
         key.find("color") != std::string::npos;
}

void TCorpusBuilder::IniValueDamage() {
  static const char* const kFrames[] = {"0", "-3", "100000", "2147483647"};
  static const char* const kMargins[] = {"4096", "-40", "2147483647"};
  static const char* const kColours[] = {"",
                                         "red",
                                         "255",
                                         "255 0",
                                         "999 -5 70000",
                                         "1,2,3,4,5,6",
                                         "0xFF 0 16",
                                         "12345678901234567890 1 2",
                                         "\t7 \t8\t",
                                         "255 0 255 and some words"};
  std::vector<std::string> sections;
  Ini().ReadSections(sections);
  for (const std::string& section : sections) {
    for (const char* v : kFrames) {
      TMemIniFile ini = Ini();
      if (SetKeys(ini, section, IsFrameKey, v))
        AddWithIni(TDamageKind::dkFrameCount, section + "-" + v, ini);
    }
    for (const char* v : kMargins) {
      TMemIniFile ini = Ini();
      if (SetKeys(ini, section, IsMarginKey, v))
        AddWithIni(TDamageKind::dkMargins, section + "-" + v, ini);
    }
  }
  for (size_t i = 0; i < std::size(kColours); ++i) {
    TMemIniFile ini = Ini();
    if (SetKeys(ini, "", IsColourKey, kColours[i]))
      AddWithIni(TDamageKind::dkColours, "form" + std::to_string(i), ini);
  }
}

void TCorpusBuilder::MissingSections() {
  std::vector<std::string> sections;
  Ini().ReadSections(sections);
  for (const std::string& section : sections) {
    TMemIniFile ini = Ini();
    ini.EraseSection(section);
    AddWithIni(TDamageKind::dkMissingSection, section, ini);
  }
  TMemIniFile only_version;
  only_version.WriteString("Skins", "Version", Ini().ReadString("Skins", "Version", "200"));
  AddWithIni(TDamageKind::dkMissingSection, "all-but-Skins", only_version);
}

void TCorpusBuilder::MemberLimit() {
  TMembers members = base_.Members;
  for (int i = 0; members.size() < static_cast<size_t>(kMaxSkinMembers); ++i) {
    std::vector<uint8_t> bytes(8);
    for (uint8_t& b : bytes)
      b = static_cast<uint8_t>(rng_());
    members.push_back({"filler" + std::to_string(i) + ".bin", std::move(bytes)});
  }
  Add(TDamageKind::dkMemberLimit, "1001", PackMembers(members));
  members.push_back({"onetoomany.bmp", members.front().Bytes});
  Add(TDamageKind::dkMemberLimit, "1002", CodeBody(RawBody(members)), false);
}

void TCorpusBuilder::IniGarbage() {
  const std::string text = IniText();
  std::vector<uint8_t> noise(4096);
  for (uint8_t& b : noise)
    b = static_cast<uint8_t>(rng_());
  AddWithIniText(TDamageKind::dkIniGarbage, "random-bytes", noise);
  AddWithIniText(TDamageKind::dkIniGarbage, "empty", {});
  std::string no_equals = text, unclosed = text, with_nuls = text, wide;
  std::erase(no_equals, '=');
  std::erase(unclosed, ']');
  for (size_t at = 40; at < with_nuls.size(); at += 41)
    with_nuls[at] = '\0';
  for (char c : text)
    wide += std::string{c, '\0'};
  const std::string long_line = "[Personality]\r\nTop=" + std::string(200000, 'x') + ".bmp\r\n" +
                                std::string(100000, '[') + "\r\n" + text;
  const std::string twice = text + "\r" + text + "\n[Skins]\nVersion=\n";
  for (const auto& [detail, garbage] :
       {std::pair<const char*, const std::string&>{"no-equals", no_equals},
        {"unclosed-sections", unclosed},
        {"nul-bytes", with_nuls},
        {"utf16", wide},
        {"long-lines", long_line},
        {"doubled-sections", twice}})
    AddWithIniText(TDamageKind::dkIniGarbage, detail, {garbage.begin(), garbage.end()});
}

// Packages that are no package: empty, cut inside the length, a length the
// coding cannot give, an unknown version, sizes past the data, coding cut
// short, noise.
void AddUndecodable(const TBaseSkin& base, uint32_t seed, std::vector<TDamagedSkin>& out) {
  std::mt19937 rng(seed);
  const std::vector<uint8_t> good = PackMembers(base.Members);
  std::vector<uint8_t> huge_length = good;
  huge_length[3] = 0x7F;
  std::vector<uint8_t> noise(1000);
  for (uint8_t& b : noise)
    b = static_cast<uint8_t>(rng());
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"empty-file", {}},
      {"three-bytes", {1, 2, 3}},
      {"length-only", {0x10, 0, 0, 0}},
      {"huge-length", huge_length},
      {"unknown-version", CodeBody(RawBody(base.Members, 12345))},
      {"sizes-past-data", CodeBody(RawBody(base.Members, kSkinPackageVersion, 1000))},
      {"coding-cut", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
      {"noise", noise},
  };
  for (const auto& [detail, bytes] : cases) {
    TDamagedSkin s;
    s.Kind = TDamageKind::dkUndecodable;
    s.Base = base.Name;
    s.Name = base.Name + "-" + DamageKindName(s.Kind) + "-" + detail + ".skn";
    s.Readable = false;
    s.Package = bytes;
    out.push_back(std::move(s));
  }
}

void AddBase(const TBaseSkin& base, uint32_t seed, std::vector<TDamagedSkin>& out) {
  TCorpusBuilder builder(base, seed, out);
  builder.MemberDamage();
  builder.IniValueDamage();
  builder.MissingSections();
  builder.MemberLimit();
  builder.IniGarbage();
}

// The first variant of the style, converted; false with a note otherwise.
bool ConvertStyle(const std::string& path, TBaseSkin& base, std::vector<std::string>& notes) {
  if (!FileExists(path)) {
    notes.push_back("no converted skin: " + path + " is missing");
    return false;
  }
  try {
    TStyleFile style(path);
    if (style.Variants().empty()) {
      notes.push_back("no converted skin: " + path + " offers no variant");
      return false;
    }
    std::string name;
    const std::vector<uint8_t> package = style.ConvertToBytes(style.Variants().front(), name);
    if (ReadBase(Lower(style.BaseName()), package, base)) return true;
    notes.push_back("no converted skin: the package converted from " + path + " does not read");
  } catch (const std::exception& e) {
    notes.push_back("no converted skin: " + path + ": " + e.what());
  }
  return false;
}

}  // namespace

const char* DamageKindName(TDamageKind kind) {
  switch (kind) {
    case TDamageKind::dkTruncated:
      return "truncated";
    case TDamageKind::dkBitFlipped:
      return "bit-flipped";
    case TDamageKind::dkNotBitmap:
      return "not-bitmap";
    case TDamageKind::dkFrameCount:
      return "frame-count";
    case TDamageKind::dkMargins:
      return "margins";
    case TDamageKind::dkColours:
      return "colours";
    case TDamageKind::dkMissingSection:
      return "missing-section";
    case TDamageKind::dkMemberLimit:
      return "member-limit";
    case TDamageKind::dkIniGarbage:
      return "ini-garbage";
    case TDamageKind::dkUndecodable:
      return "undecodable";
  }
  return "unknown";
}

TDamagedCorpus BuildDamagedCorpus(const TCorpusOptions& options) {
  TDamagedCorpus corpus;
  TBaseSkin def;
  if (!ReadBase("default", DefaultSkinPackage(), def)) {
    corpus.Notes.push_back("the built-in default skin does not read");
    return corpus;
  }
  AddBase(def, options.Seed, corpus.Skins);
  AddUndecodable(def, options.Seed + 1, corpus.Skins);
  TBaseSkin converted;
  if (!options.StylePath.empty() && ConvertStyle(options.StylePath, converted, corpus.Notes))
    AddBase(converted, options.Seed + 2, corpus.Skins);
  return corpus;
}

std::vector<const TDamagedSkin*> SampleCorpus(const TDamagedCorpus& corpus, size_t count) {
  std::vector<std::vector<const TDamagedSkin*>> by_kind(kDamageKindCount);
  for (const TDamagedSkin& s : corpus.Skins)
    by_kind[static_cast<size_t>(s.Kind)].push_back(&s);
  std::erase_if(by_kind, [](const auto& v) { return v.empty(); });
  std::vector<const TDamagedSkin*> sample;
  if (by_kind.empty()) return sample;
  const size_t share = std::max<size_t>(1, count / by_kind.size());
  for (const auto& kind : by_kind) {
    const size_t take = std::min(share, kind.size());
    for (size_t j = 0; j < take; ++j)
      sample.push_back(kind[j * kind.size() / take]);
  }
  return sample;
}

std::vector<const TDamagedSkin*> PackagesUnderTest(const TDamagedCorpus& corpus) {
  const char* which = std::getenv("MV_DAMAGED_CORPUS");
  if (!which || std::string_view(which) != "whole") return SampleCorpus(corpus, 30);
  std::vector<const TDamagedSkin*> all;
  for (const TDamagedSkin& s : corpus.Skins)
    all.push_back(&s);
  return all;
}

const TDamagedCorpus& TestCorpus() {
  static const TDamagedCorpus corpus = [] {
    TCorpusOptions o;
    o.StylePath = LightStylePath();
    return BuildDamagedCorpus(o);
  }();
  return corpus;
}

std::string LightStylePath() {
#ifdef _WIN32
  return "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\light.msstyles";
#else
  return "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/light.msstyles";
#endif
}
