// The skin checker's working state, shared by its two sources: the package
// and INI rules (skin_checker.cpp) and the member, strip and margin rules
// (skin_checker_strips.cpp).
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/geometry.h"
#include "engine/skin_checker.h"
#include "engine/skin_elements.h"
#include "format/quick_ini.h"
#include "format/skin_package.h"

namespace skin_check {

constexpr int kLowestEditableVersion = 150;

// A "key=value" line of the INI. FirstSection: it lies in the first section
// of its name, the only one the engine reads.
struct TIniEntry {
  std::string Section;
  std::string Key;
  std::string Value;
  bool FirstSection = false;
};

// What the checker learned of one member.
struct TMemberFacts {
  std::string Name;  // lowercased, as the reader gives it
  int Index = 0;
  bool Named = false;      // some INI value names it
  bool Inspected = false;  // decoded, and its faults told, once
  bool Decoded = false;
  int Width = 0;
  int Height = 0;
};

// A bitmap strip as the engine cuts it: the key that names the bitmap, the
// frame count and layout the engine uses, and the margins with their keys
// (left, top, right, bottom; an empty key: that margin is not used).
struct TStripFacts {
  std::string Section;
  std::string Key;
  int Frames = 1;
  bool Vertical = false;
  std::string FrameKey;  // the key the count comes from; empty when fixed
  TMargins Margins;
  std::array<std::string, 4> MarginKeys;
};

class TSkinChecker {
 public:
  TSkinChecker(const TSkinReader& reader, const TQuickIni& ini, std::string ini_name);
  std::vector<TSkinFinding> Run();

 private:
  void Add(TFindingSeverity severity, std::string_view section, std::string_view key,
           std::string_view member, std::string message);
  TMemberFacts* FindMember(std::string_view name);
  std::string Value(std::string_view section, std::string_view key) const;
  int Int(std::string_view section, std::string_view key, int def) const;
  const TDataSkinSysButton* TitleButton(std::string_view section) const;
  bool IsTitleButton(std::string_view section) const;
  bool IsEngineBitmapKey(std::string_view section, std::string_view key) const;

  void CheckDuplicateMembers();
  void CheckVersion();
  void CheckDuplicateLines();
  void CheckReferences();
  void CheckReference(const TIniEntry& e, bool engine_key);
  void Inspect(TMemberFacts& m, const TIniEntry& e);
  void CheckStrips();
  std::vector<TStripFacts> Strips() const;
  void AddElementStrips(std::vector<TStripFacts>& out) const;
  void AddTitleButtonStrips(std::vector<TStripFacts>& out) const;
  void CheckStrip(const TStripFacts& s);
  void CheckMarginPair(const TStripFacts& s, const TMemberFacts& m, int first, int frame_size);
  void CheckNumbers();
  void CheckColours();
  void CheckTitleButtons();
  void CheckUnnamedMembers();

  const TSkinReader& reader_;
  const TQuickIni& ini_;
  std::string ini_name_;
  std::vector<TIniEntry> entries_;
  std::vector<std::string> sections_;
  std::vector<TMemberFacts> members_;
  std::map<std::string, size_t> member_index_;                      // the first member of each name
  std::map<std::string, const TDataSkinSysButton*> title_buttons_;  // by upper-cased section
  TSkinContent content_;
  std::vector<TSkinFinding> findings_;
};

std::string UpperAscii(std::string_view s);
// The member name an INI value stands for: the folder part dropped.
std::string_view MemberNameOf(std::string_view value);

}  // namespace skin_check
