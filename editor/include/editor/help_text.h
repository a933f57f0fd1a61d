// The help shown beside the grid: one entry per key, each between the lines
// "<*KEY*>" and "</KEY/>".
#pragma once

#include <string>
#include <string_view>

// The help resource as the editor keeps it: its lines (broken at CR, LF or
// CR LF) each followed by CR LF.
std::string NormaliseHelpText(std::string_view raw);

// The text of the entry for `key` (schema section "-" INI key), or, when
// there is none, of the entry for key "-" display name (the tree node's
// caption). Empty when neither exists. Keys compare exactly.
std::string FindHelp(std::string_view help, std::string_view key, std::string_view display_name);
