#include "editor/scratch_file.h"

#include "format/file_io.h"

void TScratchFile::Write(const std::string& path, std::span<const uint8_t> bytes) {
  WriteFileAtomic(path, bytes);
  if (!path_.empty() && path_ != path) DeleteFileIfExists(path_);
  path_ = path;
}

void TScratchFile::Remove() {
  if (path_.empty()) return;
  DeleteFileIfExists(path_);
  path_.clear();
}

std::string ScratchPackageName(const std::string& prefix, unsigned long process_id,
                               unsigned serial) {
  return prefix + "_" + std::to_string(process_id) + "_" + std::to_string(serial) + ".skn";
}
