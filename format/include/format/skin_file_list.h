// The members of an open skin package, each a name and its bytes, in package
// order. This is what the editor changes while a skin is open and packs again
// when it saves.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/bmp.h"
#include "format/skin_package.h"

struct TSkinFileEntry {
  std::string Name;
  std::vector<uint8_t> Bytes;
};

class TSkinFileList {
 public:
  // Empties the set and loads the package; on failure the set stays empty and
  // LastError() says why. Members are taken by position, so two members of the
  // same name keep their own bytes. `notice` is the reader's (TSkinReader).
  bool Open(const std::string& path, const TPackageNotice& notice = {});
  bool OpenFromBytes(std::span<const uint8_t> package, const TPackageNotice& notice = {});
  const std::string& LastError() const { return error_; }

  // The INI member: the first entry whose name contains ".ini" (letter case
  // significant). False when there is none.
  bool FindIni(std::string& name, std::vector<uint8_t>& bytes) const;
  // Writes the INI member into `folder` under a file name made safe from the
  // member name (see SafeFileName) and returns the path written; `name` gets
  // the member name. Both empty when there is no INI member.
  std::string ExtractIni(const std::string& folder, std::string& name) const;

  // The first entry of that name (letter case ignored), or null.
  const std::vector<uint8_t>* Find(std::string_view name) const;
  void Delete(std::string_view name);
  // Each looks up `old_name` (appending a new entry when it is empty or
  // absent), renames the entry to `new_name` and replaces its bytes.
  void ReplaceFromFile(std::string_view old_name, std::string_view new_name,
                       const std::string& path);  // EFileError when unreadable
  void ReplaceWithBitmap(std::string_view old_name, std::string_view new_name,
                         const TPixmap& bitmap);
  void ReplaceFromStream(std::string_view old_name, std::string_view new_name,
                         std::span<const uint8_t> bytes);
  void Clear() { entries_.clear(); }

  // Packs every entry, in order, into a version 70000 package, atomically.
  void SaveToFile(const std::string& path) const;
  std::vector<uint8_t> SaveToBytes() const;

  int Count() const { return static_cast<int>(entries_.size()); }
  const TSkinFileEntry& Entry(int index) const { return entries_[static_cast<size_t>(index)]; }
  const std::vector<TSkinFileEntry>& Entries() const { return entries_; }

 private:
  TSkinFileEntry& EntryFor(std::string_view old_name);

  std::vector<TSkinFileEntry> entries_;
  std::string error_;
};
