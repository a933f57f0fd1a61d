// The bitmap commands' decisions: the file an exported bitmap is written to,
// the member an imported bitmap becomes, and when a member may be renamed or
// removed. A member that another key of the skin still names is shared: no
// command on one key renames or removes it.
#pragma once

#include <string>
#include <string_view>

#include "format/bmp.h"
#include "format/mem_ini.h"
#include "format/skin_file_list.h"

// A name that is safe as a file in one folder and opens as a bitmap: the
// part after the last folder separator, without the characters Windows does
// not allow in file names, its extension replaced by ".bmp", a "_" before a
// device name (CON, NUL, COM1 ...), "bitmap.bmp" when nothing is left.
std::string BareBitmapName(std::string_view name);

// The export file name of a member for the skin file `skin_file`: the
// skin's file name up to its first "." followed by "_" is the prefix; a
// member whose (safe) name contains the prefix keeps it, any other gets
// prefix + "_" in front. untitle.skn and silver_close.bmp give
// untitle__silver_close.bmp, which stays as it is the next time.
std::string MakeExportName(std::string_view skin_file, std::string_view member);

// The command line that starts the external bitmap editor on an exported
// file: program and path each in quotes, so spaces in either stay inside
// their argument.
std::string EditorCommandLine(std::string_view program, std::string_view path);

// The member name an imported file gets: its safe name in lower case.
std::string ImportedMemberName(std::string_view file_path);

// True when a key of the skin other than `section`/`key` names `member` (by
// its file name, letter case ignored, as the engine finds members).
bool MemberNamedElsewhere(const TMemIniFile& skin, std::string_view member,
                          std::string_view section, std::string_view key);

// `name`, or when the list has a member of that name, the first free
// "stem_1.bmp", "stem_2.bmp" ...
std::string UniqueMemberName(const TSkinFileList& list, std::string_view name);

// What importing a file for one key does to the working set.
struct TImportPlan {
  std::string Replace;  // the member that takes the new bitmap; empty: a new member is added
  std::string NewName;  // the member's name afterwards, written to the key
};
// The key's member is replaced in place (and renamed) unless another key
// names it; a name already taken by another member is made unique.
TImportPlan PlanImport(const TMemIniFile& skin, const TSkinFileList& list, std::string_view section,
                       std::string_view key, std::string_view current_member,
                       std::string_view file_path);
// Carries the plan out: the bitmap goes into the working set and its name
// into the key. Returns the new name.
std::string ImportBitmap(TMemIniFile& skin, TSkinFileList& list, std::string_view section,
                         std::string_view key, std::string_view current_member,
                         std::string_view file_path, const TPixmap& bitmap);

// Blanks the key (which stays, with an empty value) and removes its member
// unless another key still names it.
void ClearBitmap(TMemIniFile& skin, TSkinFileList& list, std::string_view section,
                 std::string_view key, std::string_view member);
