// Adding and deleting title buttons and preset-colour sections: the INI
// sections written or erased and the run-time schema entries that make them
// elements of the tree.
#pragma once

#include <string>
#include <string_view>

#include "editor/editor_schema.h"
#include "format/mem_ini.h"
#include "format/skin_file_list.h"

// The first of base + "0", base + "1" ... that the skin has no keys under
// (a section with a header and no keys is free).
std::string FreeSectionName(const TMemIniFile& skin, std::string_view base);

struct TAddedElement {
  std::string Section;  // the new section of the skin
  std::string Caption;  // its tree node's caption (the section name unless that is taken)
};

// A new title button "ButtonN": ButtonImage (empty), XCoord 1, YCoord 1,
// Align 0, Action -6 (no action), Visibility 0, in that order, with its
// schema entries (the "BUTTON" keys).
TAddedElement AddTitleButton(TMemIniFile& skin, TEditorSchema& schema);
// A new colour section "ColourN" with color = "255 255 255" and its schema
// entries (the "Colour" keys).
TAddedElement AddPresetColour(TMemIniFile& skin, TEditorSchema& schema);

// Deletes the title button shown under `caption`: its schema entries, its
// section and the member its ButtonImage names, unless another key of the
// skin still names that member. Returns the section erased (empty when the
// caption names no element).
std::string DeleteTitleButton(TMemIniFile& skin, TEditorSchema& schema, TSkinFileList& list,
                              std::string_view caption);
