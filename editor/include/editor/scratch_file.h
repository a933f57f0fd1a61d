// A file the editor writes for itself (the live preview's package in the
// system's temporary folder): written over as often as needed, and removed
// when it is replaced by a file of another name and when the object goes, so
// nothing is left behind.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class TScratchFile {
 public:
  TScratchFile() = default;
  TScratchFile(const TScratchFile&) = delete;
  TScratchFile& operator=(const TScratchFile&) = delete;
  ~TScratchFile() { Remove(); }

  // Writes `bytes` to `path` atomically; the file written before, when it
  // had another name, is then removed. Throws EFileError; a failed write
  // keeps the file written before and its path.
  void Write(const std::string& path, std::span<const uint8_t> bytes);
  void Remove();
  // Empty until written.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A name that no other editor running at the same time uses:
// "<prefix>_<process>_<serial>.skn".
std::string ScratchPackageName(const std::string& prefix, unsigned long process_id,
                               unsigned serial);
