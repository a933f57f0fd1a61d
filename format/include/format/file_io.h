// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Raised when a file cannot be read or written; the message names the file.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool FileExists(const std::string& path);

// Reads a whole file. Returns false when it cannot be opened or read, or is
// larger than `max_size`; `error` (when given) gets a one-line reason.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out, std::string* error = nullptr,
                   uint64_t max_size = 1ull << 31);

// Writes `data` to a new file beside `path` and renames it over `path`, so a
// failed or interrupted write leaves the previous file as it was. Throws
// EFileError on failure (the temporary file is removed).
void WriteFileAtomic(const std::string& path, std::span<const uint8_t> data);
void WriteFileAtomic(const std::string& path, const std::string& text);

bool DeleteFileIfExists(const std::string& path);
bool CreateDirectoryIfMissing(const std::string& path);

// Path helpers that accept both separators.
std::string ExtractFileName(const std::string& path);  // after the last separator
std::string ExtractFilePath(const std::string& path);  // up to and including it
std::string IncludeTrailingSeparator(const std::string& folder);

// A file name made from a package member name that cannot leave the folder it
// is written to: path separators, drive colons, ".." and characters Windows
// does not allow become "_", reserved device names get a "_" in front, and an
// empty result becomes "member".
std::string SafeFileName(const std::string& member_name);
