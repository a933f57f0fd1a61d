// The element tree: the fixed element list and one child of "Title Button"
// per title-button section of the skin, decided without any window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_schema.h"
#include "format/mem_ini.h"

extern const char* const kTitleButtonNodeCaption;  // "Title Button"
// The schema section every title button uses for its keys.
extern const char* const kTitleButtonSchemaSection;  // "BUTTON"

struct TElementNode {
  std::string Caption;
  int Parent = -1;           // index of the parent node; -1 for a top-level node
  std::string TitleSection;  // the skin section of a title button; empty otherwise
};

// A skin section is a title button when its name, uppercased, starts with
// "BUTTON" and is none of "BUTTON" (the push-button element), "BUTTONS",
// "BUTTON.RADIO" and "BUTTON.CHECKBOX".
bool IsTitleButtonSection(std::string_view section);
// The caption a title button gets from its Action code: "Close Button",
// "Maximize Button", "Minimize Button", "System Button", "Help Button" for 0
// to 4, the section name followed by " Nothing" for -1, the section name for
// any other code.
std::string TitleButtonCaption(std::string_view section, int action);

// A caption for a new title button that no display name of the schema uses:
// the Action caption, else the section name, else the section name with a
// number, so no button ever takes over another element's entry.
std::string UniqueTitleButtonCaption(const TEditorSchema& schema, std::string_view section,
                                     int action);

// The nodes in tree order (every parent before its children). Registers each
// title button's caption in the schema (skin section and the "BUTTON" keys).
std::vector<TElementNode> BuildElementTree(const TMemIniFile& skin, TEditorSchema& schema);
