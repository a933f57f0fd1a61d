#include "editor/element_editor.h"

const char* const kBitmapCellText = "BitMap";

void TElementEditor::Load(std::string_view display_name, const TEditorSchema& schema,
                          const TMemIniFile* skin) {
  Clear();
  display_name_ = std::string(display_name);
  if (!skin) return;
  skin_section_ = schema.SkinSection(display_name);
  schema_section_ = schema.SchemaSection(display_name);
  if (skin_section_.empty() || schema_section_.empty()) {
    skin_section_.clear();
    schema_section_.clear();
    return;
  }
  for (TSchemaRow& r : schema.Rows(schema_section_)) {
    TGridRow row;
    row.Type = r.Type;
    row.Value = IsBitmapType(r.Type) ? kBitmapCellText : skin->ReadString(skin_section_, r.Key, "");
    row.ReadOnly = IsBitmapType(r.Type);
    row.EditButton = IsBitmapType(r.Type) || r.Type == vtColour;
    row.Key = std::move(r.Key);
    row.Label = std::move(r.Label);
    rows_.push_back(std::move(row));
  }
}

void TElementEditor::Clear() {
  display_name_.clear();
  schema_section_.clear();
  skin_section_.clear();
  rows_.clear();
}

const TGridRow* TElementEditor::Row(int grid_row) const {
  if (grid_row < 1 || grid_row > RowCount()) return nullptr;
  return &rows_[static_cast<size_t>(grid_row - 1)];
}

std::string TElementEditor::HelpKey(int grid_row) const {
  const TGridRow* r = Row(grid_row);
  return r ? schema_section_ + "-" + r->Key : std::string();
}

TEditTarget TElementEditor::Target(int grid_row) const {
  const TGridRow* r = Row(grid_row);
  if (!r) return {};
  return {skin_section_, r->Key, r->Type};
}

bool TElementEditor::IsColourRow(int grid_row) const {
  const TGridRow* r = Row(grid_row);
  return r && r->Type == vtColour;
}

bool TElementEditor::HasMargins() const {
  for (const TGridRow& r : rows_)
    if (IsMarginType(r.Type)) return true;
  return false;
}

bool CommitValue(const TEditTarget& target, std::string_view value, TMemIniFile& skin) {
  if (!target.Valid() || IsBitmapType(target.Type)) return false;
  if (skin.ReadString(target.Section, target.Key, "") == value) return false;
  if (value.empty())
    skin.DeleteKey(target.Section, target.Key);
  else
    skin.WriteString(target.Section, target.Key, value);
  return true;
}
