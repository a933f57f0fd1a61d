#include "format/skin_file_list.h"

#include "format/file_io.h"
#include "format/skin_package.h"
#include "format/text.h"

namespace {
void TakeMembers(const TSkinReader& reader, std::vector<TSkinFileEntry>& entries) {
  for (int i = 0; i < reader.Count(); ++i) {
    auto m = reader.Member(i);
    entries.push_back({reader.Names()[static_cast<size_t>(i)], {m.begin(), m.end()}});
  }
}
}  // namespace

bool TSkinFileList::Open(const std::string& path, const TPackageNotice& notice) {
  entries_.clear();
  error_.clear();
  TSkinReader reader;
  if (!reader.LoadFromFile(path, notice)) {
    error_ = reader.LastError();
    return false;
  }
  TakeMembers(reader, entries_);
  return true;
}

bool TSkinFileList::OpenFromBytes(std::span<const uint8_t> package, const TPackageNotice& notice) {
  entries_.clear();
  error_.clear();
  TSkinReader reader;
  if (!reader.LoadFromStream(package, notice)) {
    error_ = reader.LastError();
    return false;
  }
  TakeMembers(reader, entries_);
  return true;
}

bool TSkinFileList::FindIni(std::string& name, std::vector<uint8_t>& bytes) const {
  for (const TSkinFileEntry& e : entries_) {
    if (e.Name.find(".ini") != std::string::npos) {
      name = e.Name;
      bytes = e.Bytes;
      return true;
    }
  }
  return false;
}

std::string TSkinFileList::ExtractIni(const std::string& folder, std::string& name) const {
  name.clear();
  for (const TSkinFileEntry& e : entries_) {
    if (e.Name.find(".ini") != std::string::npos) {
      std::string path = IncludeTrailingSeparator(folder) + SafeFileName(e.Name);
      WriteFileAtomic(path, e.Bytes);
      name = e.Name;
      return path;
    }
  }
  return {};
}

const std::vector<uint8_t>* TSkinFileList::Find(std::string_view name) const {
  for (const TSkinFileEntry& e : entries_) {
    if (EqualsIgnoreCase(e.Name, name)) return &e.Bytes;
  }
  return nullptr;
}

void TSkinFileList::Delete(std::string_view name) {
  if (name.empty()) return;
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (EqualsIgnoreCase(it->Name, name)) {
      entries_.erase(it);
      return;
    }
  }
}

TSkinFileEntry& TSkinFileList::EntryFor(std::string_view old_name) {
  if (!old_name.empty()) {
    for (TSkinFileEntry& e : entries_) {
      if (EqualsIgnoreCase(e.Name, old_name)) return e;
    }
  }
  entries_.push_back({});
  return entries_.back();
}

void TSkinFileList::ReplaceFromFile(std::string_view old_name, std::string_view new_name,
                                    const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadFileBytes(path, bytes, &why)) throw EFileError(why);
  ReplaceFromStream(old_name, new_name, bytes);
}

void TSkinFileList::ReplaceWithBitmap(std::string_view old_name, std::string_view new_name,
                                      const TPixmap& bitmap) {
  std::vector<uint8_t> bytes = EncodeBmp(bitmap);
  ReplaceFromStream(old_name, new_name, bytes);
}

void TSkinFileList::ReplaceFromStream(std::string_view old_name, std::string_view new_name,
                                      std::span<const uint8_t> bytes) {
  std::vector<uint8_t> copy(bytes.begin(), bytes.end());  // `bytes` may be an entry's own
  TSkinFileEntry& e = EntryFor(old_name);
  e.Name = std::string(new_name);
  e.Bytes = std::move(copy);
}

std::vector<uint8_t> TSkinFileList::SaveToBytes() const {
  TSkinWriter writer;
  for (const TSkinFileEntry& e : entries_)
    writer.AddMember(e.Name, e.Bytes);
  return writer.SaveToBytes();
}

void TSkinFileList::SaveToFile(const std::string& path) const {
  WriteFileAtomic(path, SaveToBytes());
}
