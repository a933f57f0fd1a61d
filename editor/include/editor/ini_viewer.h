// The INI viewer's text: one section of the skin's INI shown as "key=value"
// lines, and the lines the user typed written back into that section.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/mem_ini.h"

// The section's keys in the section's order, each as key "=" value.
std::vector<std::string> SectionAsLines(const TMemIniFile& ini, std::string_view section);

struct TIniEntry {
  std::string Key;
  std::string Value;
};

// A typed line as a key and a value: the text before the first "=" and the
// text after it, both trimmed as the INI document trims them, so " Key = v "
// names the key that is already there instead of a second one it would
// shadow. Nothing for a line without "=", with an empty key, or a comment
// (";" first).
std::optional<TIniEntry> ParseIniLine(std::string_view line);

// Writes every line that ParseIniLine accepts into `section`, in order.
// Keys that are not typed stay as they are. Nothing is written for an empty
// section name. Returns the number of lines written.
int WriteIniLines(const std::vector<std::string>& lines, std::string_view section,
                  TMemIniFile& ini);
