#include "editor/snapshot_rules.h"

#include <cctype>

const char* const kSnapshotFilter = "Jpeg files (*.jpg)|*.jpg";
const char* const kSnapshotDefaultExt = "Jpg";
const char* const kSnapshotOverPackageMessage =
    "The snapshot cannot replace the skin package itself. Choose another file name.";

namespace {

char FoldPathChar(char c) {
  if (c == '/') return '\\';
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Where the file-name part's extension starts (its dot), or npos.
size_t ExtensionDot(std::string_view path) {
  const size_t slash = path.find_last_of("\\/:");
  const size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < name_start) return std::string_view::npos;
  return dot;
}

}  // namespace

bool SameWindowsPath(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldPathChar(a[i]) != FoldPathChar(b[i])) return false;
  return true;
}

std::string ProposedSnapshotName(std::string_view skin_file) {
  if (skin_file.empty()) return {};
  const size_t dot = ExtensionDot(skin_file);
  const std::string_view stem =
      dot == std::string_view::npos ? skin_file : skin_file.substr(0, dot);
  std::string proposed = std::string(stem) + ".jpg";
  if (SameWindowsPath(proposed, skin_file)) proposed = std::string(stem) + "_preview.jpg";
  return proposed;
}

std::string WithSnapshotExtension(std::string_view path) {
  if (path.empty() || ExtensionDot(path) != std::string_view::npos) return std::string(path);
  const char last = path.back();
  if (last == '\\' || last == '/' || last == ':') return std::string(path);
  return std::string(path) + "." + kSnapshotDefaultExt;
}

TSnapshotVerdict JudgeSnapshotPath(std::string_view path, std::string_view skin_file,
                                   bool file_exists) {
  if (path.empty()) return TSnapshotVerdict::Nothing;
  if (!skin_file.empty() && SameWindowsPath(path, skin_file))
    return TSnapshotVerdict::RefuseOverPackage;
  return file_exists ? TSnapshotVerdict::AskReplace : TSnapshotVerdict::Write;
}

std::string ReplaceSnapshotQuestion(std::string_view path) {
  return "\"" + std::string(path) + "\" already exists. Replace it ?";
}

std::string SnapshotFailureText(std::string_view reason) {
  return "The snapshot was not saved: " + std::string(reason);
}
