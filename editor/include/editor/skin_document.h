// The open skin: its package's members, its INI document, the INI member's
// name, the file it came from and whether it has unsaved changes.
//
// Opening reads into fresh objects and takes them over only when the package
// opened, has an INI member and declares [Skins] Version 150 or more; a
// refused open leaves the open skin exactly as it was. Saving packs every
// member with the INI document's text in place of the INI member, written
// atomically, so a failed save leaves the file that was there.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "format/mem_ini.h"
#include "format/skin_file_list.h"

constexpr int kMinEditableSkinVersion = 150;
extern const char* const kVersionNotSupportedMessage;  // "Skin format version not support !"

enum class TOpenResult {
  orOpened,
  orMissing,       // no such file: nothing happens
  orRefused,       // the package reader refused it (LastError says why)
  orNotSupported,  // no INI member, or [Skins] Version below 150
};

// Whether opening applies the editor's version rule. Tools that only copy
// settings between packages accept any version that has an INI member.
enum class TVersionRule { vrEditable, vrAny };

class TSkinDocument {
 public:
  TSkinDocument();
  ~TSkinDocument();

  // `notice` hears about a package of an unknown version (TSkinReader).
  TOpenResult Open(const std::string& path, TVersionRule rule = TVersionRule::vrEditable,
                   const TPackageNotice& notice = {});
  // The same for package bytes in memory; `path` becomes FileName.
  TOpenResult OpenFromBytes(std::span<const uint8_t> package, const std::string& path,
                            TVersionRule rule = TVersionRule::vrEditable,
                            const TPackageNotice& notice = {});
  // Writes the package to `path` (which becomes FileName) and clears
  // Modified and Untitled. Throws EFileError or ESkinPackageError (more than
  // 1001 members, a member name that cannot be stored); the document and the
  // file on disk are then unchanged.
  void Save(const std::string& path);
  // The package bytes Save would write.
  std::vector<uint8_t> PackageBytes() const;
  void Close();

  bool IsOpen() const { return ini_ != nullptr; }
  TSkinFileList& FileList() { return *list_; }
  const TSkinFileList& FileList() const { return *list_; }
  // Only while IsOpen().
  TMemIniFile& Ini() { return *ini_; }
  const TMemIniFile& Ini() const { return *ini_; }
  const TMemIniFile* IniOrNull() const { return ini_.get(); }
  const std::string& IniMemberName() const { return ini_member_; }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& v) { file_name_ = v; }
  const std::string& LastError() const { return error_; }

  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }
  bool Untitled() const { return untitled_; }
  void SetUntitled(bool v) { untitled_ = v; }

 private:
  TOpenResult Adopt(std::unique_ptr<TSkinFileList> list, const std::string& path,
                    TVersionRule rule);

  std::unique_ptr<TSkinFileList> list_;
  std::unique_ptr<TMemIniFile> ini_;
  std::string ini_member_;
  std::string file_name_;
  std::string error_;
  bool modified_ = false;
  bool untitled_ = false;
};
