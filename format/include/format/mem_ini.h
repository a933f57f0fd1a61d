// The INI document the editor works on: ordered sections of "key=value" lines,
// loaded from a file or from bytes and written back whole. Section names and
// keys compare without regard to letter case.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TMemIniFile {
 public:
  TMemIniFile() = default;
  // Loads the file when it exists (EFileError when it exists but cannot be
  // read); UpdateFile writes back to it.
  explicit TMemIniFile(std::string file_name);

  void LoadFromBytes(std::span<const uint8_t> bytes);
  void SetText(std::string_view text);
  // The document as UpdateFile writes it.
  std::string GetText() const;
  std::vector<uint8_t> SaveToBytes() const;
  // Writes the document to its file atomically; throws EFileError.
  void UpdateFile() const;
  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string file_name) { file_name_ = std::move(file_name); }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void DeleteKey(std::string_view section, std::string_view key);
  void EraseSection(std::string_view section);
  void ReadSection(std::string_view section, std::vector<std::string>& keys) const;
  void ReadSections(std::vector<std::string>& names) const;
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  void Clear() { sections_.clear(); }

 private:
  struct TSection {
    std::string Name;
    std::vector<std::string> Lines;
  };
  TSection* Find(std::string_view section);
  const TSection* Find(std::string_view section) const;

  std::string file_name_;
  std::vector<TSection> sections_;
};
