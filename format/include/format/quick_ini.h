// The line-oriented INI model the skin engine and the converter read skins
// with. Loading keeps every non-blank, non-comment line, trimmed, in order, and
// indexes the section headers; comments and blank lines are not kept.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TQuickIni {
 public:
  struct TSectionEntry {
    std::string Header;  // the header line as stored, e.g. "[Personality]"
    int Line = 0;        // its position in Lines()
  };

  void LoadFromStream(std::span<const uint8_t> bytes);
  void SetText(std::string_view text);
  // Every retained line followed by CR LF, appended to `out`.
  void SaveToStream(std::vector<uint8_t>& out) const;
  std::string Text() const;

  // Position of the header line of the first section "[name]" (letter case
  // ignored, the name matched exactly otherwise), or -1.
  int FindSection(std::string_view name) const;
  void ReadSections(std::vector<std::string>& list) const;

  // The value of the first line with that key in the first section of that
  // name; an empty value reads as `def`.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);

  const std::vector<std::string>& Lines() const { return lines_; }
  const std::vector<TSectionEntry>& SectionIndex() const { return index_; }

 private:
  std::vector<std::string> lines_;
  std::vector<TSectionEntry> index_;
};
