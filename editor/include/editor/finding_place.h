// Where the editor shows the INI line a skin-checker finding is about: the
// element tree node whose skin section it is and the grid row of its key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_schema.h"

struct TFindingPlace {
  int Node = -1;    // index into the tree's captions; -1 when no element shows the section
  int GridRow = 0;  // the key's grid row, counted from 1; 0 selects the element only
  bool Found() const { return Node >= 0; }
  bool operator==(const TFindingPlace&) const = default;
};

// `captions` are the tree's node captions in tree order. A section several
// elements share (the frame pieces all live in one) goes to the element
// whose grid lists the key, else to the first of them; a key no grid lists,
// or no key, selects that element without a row. Sections and keys match
// without regard to letter case; an empty or unknown section finds nothing.
TFindingPlace LocateFinding(const std::vector<std::string>& captions, const TEditorSchema& schema,
                            std::string_view section, std::string_view key);
