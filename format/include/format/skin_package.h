// Skin package (.skn): a 4-byte body length followed by the LZHUF-coded body.
// The body holds a version, the member names as CR LF separated text, one
// 32-bit size per member and the members' bytes, in name-list order.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

constexpr uint32_t kSkinPackageVersion = 70000;  // what this system writes
constexpr int kMaxSkinMembers = 1001;

// Filler bytes between the 16-byte header and the name list, by version;
// -1 for a version that is not a skin package version.
int SkinFillerLength(uint32_t version);

// Splits a name list at CR, LF and CR LF; a NUL ends it. A break at the very
// end adds no name; an empty line between two names is an empty name.
std::vector<std::string> SplitNameList(std::string_view text);

// The user-facing notice about a package of an unknown version. Each read
// chooses whether to give it: the editor's open passes its message box;
// every other reader (the engine above all) passes none and stays silent.
using TPackageNotice = std::function<void(const std::string& text)>;
extern const char* const kOlderSkinFileMessage;

class ESkinPackageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSkinReader {
 public:
  // False (silently) when the file is missing; otherwise as LoadFromStream.
  bool LoadFromFile(const std::string& path, const TPackageNotice& notice = {});
  // Decodes a whole package. Malformed packages (length prefix that does not
  // match the data, truncated coding, sizes past the body, more than 1001
  // names) and unknown versions are refused: false, and nothing of a refused
  // package is kept. LastError() says why. An unknown version is also told
  // to `notice`, when there is one.
  bool LoadFromStream(std::span<const uint8_t> bytes, const TPackageNotice& notice = {});

  // The first member whose (lowercased) name equals `name` lowercased.
  // Returns false and leaves `out` empty when there is none.
  bool ReadMember(std::string_view name, std::vector<uint8_t>& out) const;
  // The first member whose name contains `text` (not lowercased; an empty
  // text finds nothing). `member_name` is left as it was when none matches.
  bool FindMember(std::string_view text, std::vector<uint8_t>& out, std::string& member_name) const;

  int Count() const { return static_cast<int>(names_.size()); }
  const std::vector<std::string>& Names() const { return names_; }
  // A member by position; members of the same name keep their own bytes.
  std::span<const uint8_t> Member(int index) const;
  uint32_t Version() const { return version_; }
  int32_t NameListLength() const { return name_list_length_; }
  const std::string& LastError() const { return error_; }

 private:
  bool Fail(std::string why);

  std::vector<std::string> names_;
  std::vector<uint32_t> sizes_;
  std::vector<uint64_t> offsets_;
  std::vector<uint8_t> data_;
  uint32_t version_ = 0;
  int32_t name_list_length_ = 0;
  std::string error_;
};

class TSkinWriter {
 public:
  // Appends a member. Throws ESkinPackageError for the 1002nd member and for
  // a name containing CR, LF or NUL (it would break the name list).
  void AddMember(std::string name, std::span<const uint8_t> bytes);
  int Count() const { return static_cast<int>(names_.size()); }

  // The whole package file, version 70000 unless another known version is
  // asked for (the built-in default skin is a version 20000 package).
  std::vector<uint8_t> SaveToBytes(uint32_t version = kSkinPackageVersion) const;
  // Writes the package atomically; throws EFileError when it cannot.
  void SaveToFile(const std::string& path) const;

 private:
  std::vector<std::string> names_;
  std::vector<uint32_t> sizes_;
  std::vector<uint8_t> data_;
};
