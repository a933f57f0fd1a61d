// The element shown in the property grid: its rows read from the skin's INI
// through the schema, and the rule that turns a committed cell into an INI
// change. The grid form only copies rows into cells and cells back here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_schema.h"
#include "format/mem_ini.h"

struct TGridRow {
  std::string Key;    // INI key (writes go here, never to the label)
  std::string Label;  // column 0
  std::string Value;  // column 1: the INI value, or "BitMap" on bitmap rows
  int Type = vtNumber;
  bool ReadOnly = false;
  bool EditButton = false;
};

// Where an edit is written: captured when editing a row begins, so a commit
// that arrives after the selection moved still reaches its own key.
struct TEditTarget {
  std::string Section;
  std::string Key;
  int Type = vtNumber;
  bool Valid() const { return !Section.empty() && !Key.empty(); }
};

extern const char* const kBitmapCellText;  // "BitMap"

class TElementEditor {
 public:
  // Loads the element of a tree node. A node without a schema entry (or
  // with no skin open) gives no rows.
  void Load(std::string_view display_name, const TEditorSchema& schema, const TMemIniFile* skin);
  void Clear();

  bool Empty() const { return rows_.empty(); }
  const std::string& DisplayName() const { return display_name_; }
  const std::string& SchemaSection() const { return schema_section_; }
  const std::string& SkinSection() const { return skin_section_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Grid row r (counted from 1 below the title row); null outside the rows.
  const TGridRow* Row(int grid_row) const;
  // The help key of a row: schema section "-" INI key.
  std::string HelpKey(int grid_row) const;
  TEditTarget Target(int grid_row) const;
  // True when the row holds a colour (the only rows a picked colour goes to).
  bool IsColourRow(int grid_row) const;
  // True when the element has margin rows (the margin preview applies).
  bool HasMargins() const;

 private:
  std::string display_name_, schema_section_, skin_section_;
  std::vector<TGridRow> rows_;
};

// Writes a committed value: nothing when the INI already holds exactly that
// value for the key (an absent key holds ""), otherwise the value, or a
// deleted key when the value is empty. True when the document changed.
bool CommitValue(const TEditTarget& target, std::string_view value, TMemIniFile& skin);
