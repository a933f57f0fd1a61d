// The preview snapshot's decisions: the name the save dialog proposes, the
// extension a typed name gets, and what happens to the chosen path. A
// snapshot is never written over the skin package it shows.
#pragma once

#include <string>
#include <string_view>

extern const char* const kSnapshotFilter;      // "Jpeg files (*.jpg)|*.jpg"
extern const char* const kSnapshotDefaultExt;  // "Jpg"
// Shown when the chosen name is the package's own.
extern const char* const kSnapshotOverPackageMessage;

// Two Windows paths name the same file: letter case ignored, "/" and "\"
// the same separator.
bool SameWindowsPath(std::string_view a, std::string_view b);

// The package's path with its extension (of the file-name part only)
// replaced by ".jpg"; a package that is itself called *.jpg gets
// "_preview.jpg" after its name instead. Empty for no package.
std::string ProposedSnapshotName(std::string_view skin_file);

// The typed name, with "." + kSnapshotDefaultExt appended when its file-name
// part has no extension (as the save dialog does when the user types one).
std::string WithSnapshotExtension(std::string_view path);

enum class TSnapshotVerdict {
  Nothing,            // no name: nothing to write
  Write,              // a new file
  AskReplace,         // an existing file: replaced only when the user agrees
  RefuseOverPackage,  // the package itself: refused with a message
};
TSnapshotVerdict JudgeSnapshotPath(std::string_view path, std::string_view skin_file,
                                   bool file_exists);

// The question before an existing file is replaced.
std::string ReplaceSnapshotQuestion(std::string_view path);
// The error box text when the picture could not be encoded or written.
std::string SnapshotFailureText(std::string_view reason);

// Save snapshot is offered only once a photograph exists.
inline bool SnapshotAvailable(int width, int height) {
  return width > 0 && height > 0;
}
