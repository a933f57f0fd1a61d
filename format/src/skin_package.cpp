#include "format/skin_package.h"

#include <algorithm>
#include <cstring>

#include "format/file_io.h"
#include "format/lzh.h"
#include "format/text.h"

namespace {

constexpr uint64_t kMaxBodySize = 1ull << 30;  // no skin comes near a gigabyte
constexpr int kHeaderSize = 16;

uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 24));
}

}  // namespace

const char* const kOlderSkinFileMessage = "This is Older Skin File\rPlease update to new version !";

int SkinFillerLength(uint32_t version) {
  switch (version) {
    case 20000:
      return 0;
    case 30000:
      return 256;
    case 40000:
      return 80;
    case 50000:
      return 48;
    case 60000:
      return 117;
    case 70000:
      return 69;
    default:
      return -1;
  }
}

std::vector<std::string> SplitNameList(std::string_view text) {
  std::vector<std::string> names;
  size_t end = text.find('\0');
  if (end != std::string_view::npos) text = text.substr(0, end);
  size_t i = 0;
  while (i < text.size()) {
    size_t start = i;
    while (i < text.size() && text[i] != '\r' && text[i] != '\n')
      ++i;
    names.emplace_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return names;
}

// ---------------------------------------------------------------- reader

bool TSkinReader::Fail(std::string why) {
  error_ = std::move(why);
  return false;
}

bool TSkinReader::LoadFromFile(const std::string& path, const TPackageNotice& notice) {
  error_.clear();
  if (!FileExists(path)) return Fail("file not found: " + path);
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadFileBytes(path, bytes, &why)) return Fail(why);
  return LoadFromStream(bytes, notice);
}

bool TSkinReader::LoadFromStream(std::span<const uint8_t> bytes, const TPackageNotice& notice) {
  error_.clear();
  if (bytes.size() < 4) return Fail("not a skin package: shorter than its length prefix");
  const uint64_t size = GetU32(bytes.data());
  std::span<const uint8_t> coded = bytes.subspan(4);
  if (size < kHeaderSize) return Fail("not a skin package: body shorter than its header");
  if (size > kMaxBodySize || size > LzhMaxExpansion(coded.size())) {
    return Fail("not a skin package: length prefix larger than its data can hold");
  }
  TLzhUnpacked unpacked = LzhUnpack(coded, static_cast<uint32_t>(size));
  if (unpacked.Overrun) return Fail("damaged skin package: the compressed data is truncated");
  if (unpacked.Bytes.size() != size) {
    return Fail("damaged skin package: decoded length differs from its length prefix");
  }
  const std::vector<uint8_t>& body = unpacked.Bytes;

  const uint32_t version = GetU32(body.data());
  const int filler = SkinFillerLength(version);
  if (filler < 0) {
    if (notice) notice(kOlderSkinFileMessage);
    return Fail(kOlderSkinFileMessage);
  }
  const int32_t list_length = static_cast<int32_t>(GetU32(body.data() + 4));
  const uint64_t list_start = static_cast<uint64_t>(kHeaderSize) + static_cast<uint64_t>(filler);
  if (list_length < 0 || list_start + static_cast<uint64_t>(list_length) > size) {
    return Fail("damaged skin package: name list runs past the body");
  }
  std::string_view list(reinterpret_cast<const char*>(body.data() + list_start),
                        static_cast<size_t>(list_length));
  std::vector<std::string> names = SplitNameList(list);
  if (names.size() > static_cast<size_t>(kMaxSkinMembers)) {
    return Fail("damaged skin package: more than 1001 member names");
  }
  for (std::string& n : names)
    n = LowerAscii(n);

  const uint64_t sizes_start = list_start + static_cast<uint64_t>(list_length);
  const uint64_t data_start = sizes_start + 4ull * names.size();
  if (data_start > size) return Fail("damaged skin package: size table runs past the body");
  std::vector<uint32_t> sizes(names.size());
  std::vector<uint64_t> offsets(names.size());
  uint64_t total = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    sizes[i] = GetU32(body.data() + sizes_start + 4 * i);
    offsets[i] = total;
    total += sizes[i];
  }
  if (total > size - data_start)
    return Fail("damaged skin package: member sizes run past the body");

  names_ = std::move(names);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  data_.assign(body.begin() + static_cast<std::ptrdiff_t>(data_start), body.end());
  version_ = version;
  name_list_length_ = list_length;
  return true;
}

std::span<const uint8_t> TSkinReader::Member(int index) const {
  if (index < 0 || index >= Count()) return {};
  return std::span<const uint8_t>(data_).subspan(static_cast<size_t>(offsets_[index]),
                                                 sizes_[index]);
}

bool TSkinReader::ReadMember(std::string_view name, std::vector<uint8_t>& out) const {
  out.clear();
  std::string wanted = LowerAscii(name);
  for (int i = 0; i < Count(); ++i) {
    if (names_[i] == wanted) {
      auto m = Member(i);
      out.assign(m.begin(), m.end());
      return true;
    }
  }
  return false;
}

bool TSkinReader::FindMember(std::string_view text, std::vector<uint8_t>& out,
                             std::string& member_name) const {
  out.clear();
  if (text.empty()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (names_[i].find(text) != std::string::npos) {
      auto m = Member(i);
      out.assign(m.begin(), m.end());
      member_name = names_[i];
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------- writer

void TSkinWriter::AddMember(std::string name, std::span<const uint8_t> bytes) {
  if (names_.size() >= static_cast<size_t>(kMaxSkinMembers)) {
    throw ESkinPackageError("A skin package holds at most 1001 members");
  }
  if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
    throw ESkinPackageError("A member name cannot contain line breaks or NUL characters");
  }
  if (static_cast<uint64_t>(data_.size()) + bytes.size() > kMaxBodySize) {
    throw ESkinPackageError("A skin package cannot hold members that large");
  }
  names_.push_back(std::move(name));
  sizes_.push_back(static_cast<uint32_t>(bytes.size()));
  data_.insert(data_.end(), bytes.begin(), bytes.end());
}

std::vector<uint8_t> TSkinWriter::SaveToBytes(uint32_t version) const {
  if (SkinFillerLength(version) < 0) throw ESkinPackageError("unknown package version");
  std::string list;
  for (const std::string& n : names_) {
    list += n;
    list += "\r\n";
  }
  std::vector<uint8_t> body;
  body.reserve(kHeaderSize + 69 + list.size() + 4 * sizes_.size() + data_.size());
  PutU32(body, version);
  PutU32(body, static_cast<uint32_t>(list.size()));
  body.insert(body.end(), 8, 0);
  body.insert(body.end(), static_cast<size_t>(SkinFillerLength(version)), 0);
  body.insert(body.end(), list.begin(), list.end());
  for (uint32_t s : sizes_)
    PutU32(body, s);
  body.insert(body.end(), data_.begin(), data_.end());

  std::vector<uint8_t> file;
  PutU32(file, static_cast<uint32_t>(body.size()));
  std::vector<uint8_t> coded = LzhPack(body);
  file.insert(file.end(), coded.begin(), coded.end());
  return file;
}

void TSkinWriter::SaveToFile(const std::string& path) const {
  WriteFileAtomic(path, SaveToBytes());
}
