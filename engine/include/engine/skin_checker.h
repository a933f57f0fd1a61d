// The skin checker: reads a skin package the way the engine does and lists
// what will not work: members a key names but the package lacks, members no
// key names, bitmaps that do not decode or are not 24-bit, strips that do not
// cut into the frames the engine uses, margins wider than a frame, colour
// texts and integers the engine misreads, a format version the editor
// refuses, title buttons without a picture or with an action the engine does
// not know, sections and keys given twice, and members that share a name.
// Shared by `skntool check` and the editor.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "format/skin_file_list.h"

enum class TFindingSeverity { Error, Warning };

// One fault. Section and Key locate the INI line it concerns (both empty for
// a fault of the package itself, Key empty for a whole section); Member names
// the package member concerned, when there is one.
struct TSkinFinding {
  TFindingSeverity Severity = TFindingSeverity::Error;
  std::string Section;
  std::string Key;
  std::string Member;
  std::string Message;
  bool operator==(const TSkinFinding&) const = default;
};

struct TSkinCheckReport {
  // False when the bytes are no skin package with an INI member at all;
  // Why then says why and there are no findings.
  bool Readable = false;
  std::string Why;
  std::vector<TSkinFinding> Findings;  // in a fixed order: same input, same list
  bool Clean() const { return Readable && Findings.empty(); }
};

// Checks a whole package file. Never throws: malformed input is reported.
TSkinCheckReport CheckSkinPackage(std::span<const uint8_t> package);
// Checks the members of an open skin as they would be saved.
TSkinCheckReport CheckSkinFiles(const TSkinFileList& files);
// The same with the INI member's text replaced by `ini_text` (the editor's
// document, which reaches its member only when the skin is saved).
TSkinCheckReport CheckSkinFiles(const TSkinFileList& files, std::string_view ini_text);

// "error" or "warning".
const char* SeverityName(TFindingSeverity severity);
// One line without a line break: severity, section, key and message separated
// by tabs, "-" standing for an empty section or key; control characters
// inside the fields (a damaged INI may hold any byte) become spaces.
std::string FormatFinding(const TSkinFinding& finding);
