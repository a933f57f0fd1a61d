// The editor's schema: which tree nodes are editable elements, which section
// of the skin's INI holds each one, and the keys it shows in the grid with
// their on-screen labels and value types. Loaded from the schema resource
// each time a package opens; title buttons add run-time entries to it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "format/mem_ini.h"

// How a grid row's value is shown and edited.
enum TValueType : int {
  vtNumber = 1,   // a number or flag
  vtColour = 2,   // "R G B", with a swatch and a screen pick
  vtText = 3,     // free text
  vtBitmap = 5,   // a bitmap member's name, shown as "BitMap"
  vtBitmap2 = 6,  // a second bitmap of the element
  vtLeftMargin = 21,
  vtRightMargin = 22,
  vtTopMargin = 23,
  vtBottomMargin = 24,
};

struct TSchemaEntry {
  int Type = vtNumber;
  std::string Label;
};
// A schema value "5,Left Border BMP" is type 5 labelled "Left Border BMP"; a
// value without a comma is the type alone and the label is the key. A type
// that is not a number behaves as a number row.
TSchemaEntry ParseSchemaEntry(std::string_view value, std::string_view key);

bool IsBitmapType(int type);
bool IsMarginType(int type);

struct TSchemaRow {
  std::string Key;    // the key in the skin's INI
  std::string Label;  // what column 0 shows
  int Type = vtNumber;
};

// The display names the schema maps to element kinds and skin sections.
extern const char* const kSectionNameSection;      // "SectionName"
extern const char* const kSkinSectionNameSection;  // "SkinSectionName"

class TEditorSchema {
 public:
  // Parses the schema text (the resource) in memory.
  void Load(std::string_view text);
  const TMemIniFile& Ini() const { return ini_; }

  // The schema section that lists the element's keys, and the skin section
  // that holds its values; empty when the display name has none.
  std::string SchemaSection(std::string_view display_name) const;
  std::string SkinSection(std::string_view display_name) const;
  // True when the display name already maps to a skin section.
  bool HasDisplayName(std::string_view display_name) const;
  // The rows of a schema section, in order.
  std::vector<TSchemaRow> Rows(std::string_view schema_section) const;

  // A run-time element (a title button, a preset colour): the display name
  // maps to `skin_section` of the skin and to `schema_section` for its keys.
  void AddElement(std::string_view display_name, std::string_view skin_section,
                  std::string_view schema_section);
  void RemoveElement(std::string_view display_name);

 private:
  TMemIniFile ini_;
};
