// Copies chosen groups of settings, and the bitmaps they name, from another
// skin package into the skin being edited (its INI document and members).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "format/mem_ini.h"
#include "format/skin_file_list.h"

constexpr int kImportGroupCount = 16;
// The groups in the order they run.
extern const char* const kImportGroups[kImportGroupCount];

class TSkinImport {
 public:
  TSkinImport(TMemIniFile& skin_ini, TSkinFileList& file_list)
      : skin_ini_(skin_ini), file_list_(file_list) {}

  // Loads the source package and parses its INI member in memory. False
  // (nothing to import) when the file is missing, the package cannot be read
  // or has no INI; LastError then says why, naming the file.
  bool OpenSource(const std::string& path);
  bool SetSource(const TSkinFileList& source);
  const std::string& LastError() const { return error_; }

  // Runs the named groups in table order; names compare exactly and unknown
  // names are ignored. Members that the replaced settings named are deleted
  // at the end, unless a key of the skin still names them.
  void Run(const std::vector<std::string>& groups);

  // The steps, usable one by one (deletions wait for Finish). An imported
  // image keeps its source name unless a different member of the skin that
  // is still in use has it; then it gets a free name and the key follows.
  void CopyKey(std::string_view section, std::string_view key);
  void ImportImageKey(std::string_view section, std::string_view key);
  void RemoveSection(std::string_view section, const std::vector<std::string>& image_keys);
  void ImportSection(std::string_view section, const std::vector<std::string>& image_keys);
  void Finish();

 private:
  void RunGroup(const std::string& group);
  void ImportBorder();
  void ImportCaptionButtons();
  // Whether a key of the skin, other than `except_section`/`except_key`,
  // names the member.
  bool NamedByAnyKey(const std::string& member, std::string_view except_section = {},
                     std::string_view except_key = {}) const;
  // The name an imported image takes in the skin.
  std::string MemberNameFor(const std::string& source_name, const std::string& replaced,
                            const std::vector<uint8_t>& bytes, std::string_view section,
                            std::string_view key) const;
  std::string FreeMemberName(const std::string& name) const;
  bool PendingDelete(const std::string& member) const;

  TMemIniFile& skin_ini_;
  TSkinFileList& file_list_;
  TSkinFileList source_;
  TMemIniFile source_ini_;
  bool has_source_ = false;
  std::string error_;
  std::vector<std::string> pending_deletes_;
};
