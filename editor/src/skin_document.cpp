#include "editor/skin_document.h"

#include "format/file_io.h"
#include "format/skin_package.h"

const char* const kVersionNotSupportedMessage = "Skin format version not support !";

TSkinDocument::TSkinDocument() : list_(std::make_unique<TSkinFileList>()) {}
TSkinDocument::~TSkinDocument() = default;

TOpenResult TSkinDocument::Open(const std::string& path, TVersionRule rule,
                                const TPackageNotice& notice) {
  error_.clear();
  if (!FileExists(path)) return TOpenResult::orMissing;
  auto list = std::make_unique<TSkinFileList>();
  if (!list->Open(path, notice)) {
    error_ = list->LastError();
    return TOpenResult::orRefused;
  }
  return Adopt(std::move(list), path, rule);
}

TOpenResult TSkinDocument::OpenFromBytes(std::span<const uint8_t> package, const std::string& path,
                                         TVersionRule rule, const TPackageNotice& notice) {
  error_.clear();
  auto list = std::make_unique<TSkinFileList>();
  if (!list->OpenFromBytes(package, notice)) {
    error_ = list->LastError();
    return TOpenResult::orRefused;
  }
  return Adopt(std::move(list), path, rule);
}

TOpenResult TSkinDocument::Adopt(std::unique_ptr<TSkinFileList> list, const std::string& path,
                                 TVersionRule rule) {
  std::string name;
  std::vector<uint8_t> bytes;
  if (!list->FindIni(name, bytes)) {
    error_ = kVersionNotSupportedMessage;
    return TOpenResult::orNotSupported;
  }
  auto ini = std::make_unique<TMemIniFile>();
  ini->LoadFromBytes(bytes);
  if (rule == TVersionRule::vrEditable &&
      ini->ReadInteger("Skins", "Version", 0) < kMinEditableSkinVersion) {
    error_ = kVersionNotSupportedMessage;
    return TOpenResult::orNotSupported;
  }
  list_ = std::move(list);
  ini_ = std::move(ini);
  ini_member_ = std::move(name);
  file_name_ = path;
  modified_ = untitled_ = false;
  return TOpenResult::orOpened;
}

std::vector<uint8_t> TSkinDocument::PackageBytes() const {
  TSkinWriter writer;
  bool ini_written = false;
  for (const TSkinFileEntry& e : list_->Entries()) {
    // The INI member is found as opening found it: the first name that
    // contains ".ini".
    if (ini_ && !ini_written && e.Name.find(".ini") != std::string::npos) {
      writer.AddMember(e.Name, ini_->SaveToBytes());
      ini_written = true;
    } else {
      writer.AddMember(e.Name, e.Bytes);
    }
  }
  return writer.SaveToBytes();
}

void TSkinDocument::Save(const std::string& path) {
  std::vector<uint8_t> package = PackageBytes();
  WriteFileAtomic(path, package);
  file_name_ = path;
  modified_ = untitled_ = false;
}

void TSkinDocument::Close() {
  list_ = std::make_unique<TSkinFileList>();
  ini_.reset();
  ini_member_.clear();
  file_name_.clear();
  modified_ = untitled_ = false;
}
