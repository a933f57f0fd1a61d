// The help shown beside the grid: one entry per key, each between the lines
// "<*KEY*>" and "</KEY/>".
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The help resource as the editor keeps it: its lines (broken at CR, LF or
// CR LF) each followed by CR LF.
std::string NormaliseHelpText(std::string_view raw);

// The text of the entry for `key` (schema section "-" INI key), or, when
// there is none, of the entry for key "-" display name (the tree node's
// caption). Empty when neither exists. Keys compare exactly.
std::string FindHelp(std::string_view help, std::string_view key, std::string_view display_name);

// --- Help authoring ---

extern const char* const kHelpAddedMessage;   // "Add new section in help file !"
extern const char* const kHelpFailedMessage;  // "Fail to add new section in help file !"
extern const char* const kHelpSavedMessage;   // "Save help.txt !"

enum class THelpWrite { hwAppended, hwReplaced, hwRefused };

// Puts the entry for `key` into `help`: opening marker "<*KEY*>" CR LF, the
// lines each followed by CR LF, closing marker CR LF "</KEY/>" CR LF. An
// entry already there (from its opening marker to the end of its closing
// marker) is replaced; a missing one is appended. An opening marker without
// a closing marker after it is a damaged entry: `help` is left as it was.
THelpWrite WriteHelpEntry(std::string& help, std::string_view key,
                          const std::vector<std::string>& lines);

// The file the help authoring commands write: help.txt in the parent of the
// program's folder, which is what "..\help.txt" names from there (a root
// folder is its own parent).
std::string HelpFilePath(const std::string& program_folder);
